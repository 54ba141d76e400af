#pragma once
// Where the running program lives, and path splitting that takes '/' and '\' alike.

#include "WinTypes.h"

#include <string>
#include <string_view>

namespace platform {

// The running executable's full path (any module handle names it). Copies at most
// nSize - 1 bytes and a terminator; returns the length copied, or nSize when the path
// was cut, or 0 on failure.
DWORD GetModuleFileNameA(HMODULE hModule, char* lpFilename, DWORD nSize);

struct PathParts {
    std::string drive;  // "C:" or empty
    std::string dir;    // up to and including the last '/' or '\', or empty
    std::string fname;  // file name without extension
    std::string ext;    // from the last '.' of the file name on, or empty
};
PathParts SplitPath(std::string_view path);

}  // namespace platform
