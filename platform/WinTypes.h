#pragma once
// The handful of Windows scalar types and limits that the program's code is written in.

#include <cstdint>

class QWidget;

namespace platform {

using BOOL = int;
using INT = std::int32_t;
using UINT = std::uint32_t;
using DWORD = std::uint32_t;
using HRESULT_CODE = std::int32_t;

// A window handle is the widget itself; null means "no owner".
using HWND = QWidget*;
// Only the running program's own module exists; any handle (null included) names it.
using HMODULE = void*;
using HINSTANCE = void*;

// Path buffers hold 259 characters and a terminator.
inline constexpr std::size_t MAX_PATH = 260;

}  // namespace platform
