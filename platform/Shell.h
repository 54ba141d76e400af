#pragma once
// Opening a file, folder or web address with the desktop. The target goes to the
// desktop as one URL, never through a shell command line.

#include "WinTypes.h"

#include <QUrl>
#include <cstdint>
#include <functional>
#include <string_view>

namespace platform {

inline constexpr int SW_SHOW = 5;
inline constexpr int SE_ERR_FNF = 2;
inline constexpr int SE_ERR_NOASSOC = 31;

// Who opens the URL: the desktop by default; tests put a recorder in. Returns whether it
// was opened. Setting an empty handler restores the desktop; the previous one is returned.
using ShellOpenHandler = std::function<bool(const QUrl&)>;
ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler);

// "file://" followed by a plain path, a URL with a scheme, or a plain path (made absolute).
QUrl ShellTargetToUrl(std::string_view target);

// Only the verb "open" (or none) is known. Returns a value above 32 when the desktop took
// the target, else an error code as the platform's does.
std::intptr_t ShellExecuteA(HWND hwnd, const char* lpOperation, const char* lpFile, const char* lpParameters,
                            const char* lpDirectory, int nShowCmd);

}  // namespace platform
