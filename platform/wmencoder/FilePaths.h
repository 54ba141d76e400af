#pragma once
// Small questions about file names the engine asks.

#include <string>
#include <sys/stat.h>

namespace platform::wmenc {

// The same file, whatever the spelling or the links on the way (device and inode).
inline bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

inline std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

inline std::string BaseName(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace platform::wmenc
