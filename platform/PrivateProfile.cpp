#include "PrivateProfile.h"

#include "IniDocument.h"
#include "Strings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

enum class ReadResult { Ok, Missing, Failed };

ReadResult ReadWholeFile(const std::string& path, std::string& out)
{
    out.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return ReadResult::Failed;
    }
    char buf[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return ReadResult::Failed;
        }
        if (n == 0)
            break;
        out.append(buf, std::size_t(n));
    }
    ::close(fd);
    return ReadResult::Ok;
}

std::optional<std::string> LookUp(const char* section, const char* key, const char* file)
{
    if (!section || !key || !file || !*file)
        return std::nullopt;
    std::string text;
    if (ReadWholeFile(file, text) != ReadResult::Ok)
        return std::nullopt;
    return ini::Document(text).Get(section, key);
}

bool WriteAll(int fd, const std::string& data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}

// Writes data beside path under a fresh name and renames it over path, so that readers
// see either the old file or the new one, whole.
bool ReplaceFile(const std::string& path, const std::string& data, const struct stat* existing)
{
    const auto slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);

    std::random_device rd;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 64 && fd < 0; ++attempt) {
        temp = dir + (slash == std::string::npos ? "/." : ".") + base + "." + std::to_string(rd() % 1000000u) + ".tmp";
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, data);
    if (ok && existing)
        ok = ::fchmod(fd, existing->st_mode & 07777) == 0;
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

}  // namespace

UINT GetPrivateProfileIntA(const char* lpAppName, const char* lpKeyName, INT nDefault, const char* lpFileName)
{
    const auto value = LookUp(lpAppName, lpKeyName, lpFileName);
    if (!value || value->empty())
        return UINT(nDefault);
    return ini::ParseProfileInt(*value);
}

DWORD GetPrivateProfileStringA(const char* lpAppName, const char* lpKeyName, const char* lpDefault,
                               char* lpReturnedString, DWORD nSize, const char* lpFileName)
{
    if (!lpReturnedString || nSize == 0)
        return 0;
    const auto value = LookUp(lpAppName, lpKeyName, lpFileName);
    const std::string_view text = value ? std::string_view(*value) : std::string_view(lpDefault ? lpDefault : "");
    return DWORD(CopyUtf8(text, lpReturnedString, nSize));
}

BOOL WritePrivateProfileStringA(const char* lpAppName, const char* lpKeyName, const char* lpString,
                                const char* lpFileName)
{
    if (!lpAppName || !lpFileName || !*lpFileName)
        return 0;

    // Write through a link to the file it names, so the link stays a link.
    std::string path = lpFileName;
    if (char* real = ::realpath(lpFileName, nullptr)) {
        path = real;
        std::free(real);
    }

    std::string text;
    struct stat st {};
    const ReadResult read = ReadWholeFile(path, text);
    if (read == ReadResult::Failed)
        return 0;  // an unreadable file would be lost by rewriting it
    const bool exists = read == ReadResult::Ok;
    if (exists && (::stat(path.c_str(), &st) != 0 || ::access(path.c_str(), W_OK) != 0))
        return 0;

    ini::Document doc(text);
    const std::string_view key = lpKeyName ? std::string_view(lpKeyName) : std::string_view{};
    const std::string_view value = lpString ? std::string_view(lpString) : std::string_view{};
    if (!doc.Set(lpAppName, lpKeyName ? &key : nullptr, lpString ? &value : nullptr))
        return 0;
    const std::string updated = doc.Text();
    if (exists && updated == text)
        return 1;
    if (!exists && updated.empty())
        return 1;  // deleting from a file that is not there
    return ReplaceFile(path, updated, exists ? &st : nullptr) ? 1 : 0;
}

}  // namespace platform
