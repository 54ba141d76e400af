#include "Module.h"

#include <cstring>
#include <limits.h>
#include <unistd.h>

namespace platform {

DWORD GetModuleFileNameA(HMODULE, char* lpFilename, DWORD nSize)
{
    if (!lpFilename || nSize == 0)
        return 0;
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path);
    if (n <= 0 || std::size_t(n) >= sizeof path) {
        lpFilename[0] = '\0';
        return 0;
    }
    if (DWORD(n) >= nSize) {
        std::memcpy(lpFilename, path, nSize - 1);
        lpFilename[nSize - 1] = '\0';
        return nSize;
    }
    std::memcpy(lpFilename, path, std::size_t(n));
    lpFilename[n] = '\0';
    return DWORD(n);
}

PathParts SplitPath(std::string_view path)
{
    PathParts parts;
    if (path.size() >= 2 && path[1] == ':'
        && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
        parts.drive = path.substr(0, 2);
        path.remove_prefix(2);
    }
    const auto slash = path.find_last_of("/\\");
    if (slash != std::string_view::npos) {
        parts.dir = path.substr(0, slash + 1);
        path.remove_prefix(slash + 1);
    }
    const auto dot = path.find_last_of('.');
    if (dot != std::string_view::npos) {
        parts.ext = path.substr(dot);
        path = path.substr(0, dot);
    }
    parts.fname = path;
    return parts;
}

}  // namespace platform
