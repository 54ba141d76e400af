#pragma once
// Message boxes with the platform's flags and answers, shown with QMessageBox.

#include "WinTypes.h"

#include <functional>
#include <string>

namespace platform {

inline constexpr UINT MB_OK = 0x00;
inline constexpr UINT MB_OKCANCEL = 0x01;
inline constexpr UINT MB_YESNO = 0x04;
inline constexpr UINT MB_ICONERROR = 0x10;
inline constexpr UINT MB_ICONSTOP = MB_ICONERROR;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONWARNING = 0x30;
inline constexpr UINT MB_ICONINFORMATION = 0x40;
inline constexpr UINT MB_TYPEMASK = 0x0F;
inline constexpr UINT MB_ICONMASK = 0xF0;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Who shows the box: QMessageBox by default; tests record the call and answer it.
// Setting an empty handler restores the default; the previous one is returned.
using MessageBoxHandler =
    std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT type)>;
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// Shows text under caption (null gives "Error") with the buttons and icon of uType,
// modal to owner, and returns the button pressed: Escape answers IDNO to Yes/No and
// IDCANCEL to OK/Cancel.
int MessageBoxA(HWND hWnd, const char* lpText, const char* lpCaption, UINT uType);

}  // namespace platform
