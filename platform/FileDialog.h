#pragma once
// The open and save file dialogs with the platform's record, flags and error codes,
// shown with QFileDialog.

#include "WinTypes.h"

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

inline constexpr DWORD CDERR_INITIALIZATION = 0x0002;
inline constexpr DWORD FNERR_INVALIDFILENAME = 0x3002;
inline constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;

struct OPENFILENAMEA {
    HWND hwndOwner = nullptr;
    HINSTANCE hInstance = nullptr;
    const char* lpstrFilter = nullptr;  // shown text and pattern pairs, ending with an empty text
    DWORD nFilterIndex = 0;             // 1-based; 0 or out of range picks the first; set on return
    char* lpstrFile = nullptr;          // in: the name to start from; out: the chosen path
    DWORD nMaxFile = 0;                 // capacity of lpstrFile, terminator included
    const char* lpstrInitialDir = nullptr;
    const char* lpstrTitle = nullptr;
    DWORD Flags = 0;
    const char* lpstrDefExt = nullptr;
};

struct FileFilter {
    std::string shown;
    std::string pattern;  // "*.wmv;*.avi"
};

struct FileDialogRequest {
    bool save = false;
    HWND owner = nullptr;
    std::string title;
    std::vector<FileFilter> filters;
    int filter = 0;  // 0-based, the one selected at start
    std::string initialFile;
    std::string initialDir;
    DWORD flags = 0;
};

struct FileDialogAnswer {
    std::string path;
    int filter = 0;  // 0-based, the one selected at the end
};

// Who shows the dialog: QFileDialog by default; tests answer it themselves. Returns the
// choice, or nullopt when the user cancelled. Setting an empty handler restores the
// default; the previous one is returned.
using FileDialogHandler = std::function<std::optional<FileDialogAnswer>(const FileDialogRequest&)>;
FileDialogHandler SetFileDialogHandler(FileDialogHandler handler);

// Both return nonzero with the chosen path in lpstrFile; zero on cancel or refusal, with
// the reason in CommDlgExtendedError (0 for a cancel). A choice longer than the buffer
// is refused (FNERR_BUFFERTOOSMALL), never cut.
BOOL GetOpenFileNameA(OPENFILENAMEA* ofn);
BOOL GetSaveFileNameA(OPENFILENAMEA* ofn);
DWORD CommDlgExtendedError();

std::vector<FileFilter> ParseFilterList(const char* list);
// The Qt name filter for one entry: its text as shown, and patterns that match without
// regard to case as the platform's do ("*.*" matching every name).
QString QtNameFilter(const FileFilter& filter);

}  // namespace platform
