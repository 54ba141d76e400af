#include "DeclaredExtent.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform::wmenc {
namespace {

constexpr std::int64_t kHundredHours = 100LL * 3600 * 1000;

std::uint64_t Le(const std::uint8_t* p, int n)
{
    std::uint64_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = v << 8 | p[i];
    return v;
}

std::uint64_t Be(const std::uint8_t* p, int n)
{
    std::uint64_t v = 0;
    for (int i = 0; i < n; ++i)
        v = v << 8 | p[i];
    return v;
}

// Exactly count bytes at offset, or false.
bool ReadExactly(const ReadAt& read, std::int64_t offset, std::uint8_t* into, std::int64_t count)
{
    return offset >= 0 && read(offset, into, count) == count;
}

constexpr std::array<std::uint8_t, 16> kAsfHeader = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                                     0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr std::array<std::uint8_t, 16> kAsfFileProperties = {0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF, 0x11,
                                                             0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};

DeclaredExtent Asf(const ReadAt& read, std::int64_t fileSize)
{
    std::uint8_t head[30];
    if (!ReadExactly(read, 0, head, sizeof head))
        return {};
    // The header objects, in the header; a header of megabytes is pictures and tags.
    const std::uint64_t headerSize = Le(head + 16, 8);
    if (headerSize < 30 || headerSize > 16u << 20)
        return {};
    const auto end = std::int64_t(std::min<std::uint64_t>(headerSize, std::uint64_t(std::max<std::int64_t>(fileSize, 0))));
    std::int64_t at = 30;
    for (int objects = 0; at + 24 <= end && objects < 1000; ++objects) {
        std::uint8_t object[104];
        if (!ReadExactly(read, at, object, 24))
            return {};
        const std::uint64_t size = Le(object + 16, 8);
        if (size < 24 || size > std::uint64_t(end - at))
            return {};
        if (std::equal(kAsfFileProperties.begin(), kAsfFileProperties.end(), object) && size >= 104) {
            if (!ReadExactly(read, at, object, 104))
                return {};
            // A broadcast file's sizes and durations are not filled in.
            if (Le(object + 88, 4) & 1)
                return {};
            DeclaredExtent extent;
            const std::uint64_t bytes = Le(object + 40, 8);
            if (bytes >= headerSize && bytes < (1ULL << 50))
                extent.bytes = std::int64_t(bytes);
            const std::uint64_t play = Le(object + 64, 8) / 10000, preroll = Le(object + 80, 8);
            if (play > preroll && play - preroll < std::uint64_t(kHundredHours))
                extent.milliseconds = std::int64_t(play - preroll);
            return extent;
        }
        at += std::int64_t(size);
    }
    return {};
}

DeclaredExtent Avi(const std::uint8_t* head)
{
    const std::uint64_t size = Le(head + 4, 4);
    return size >= 4 ? DeclaredExtent{std::int64_t(size) + 8, 0} : DeclaredExtent{};
}

// An EBML number of 1 to 8 bytes at offset; for a size, without its length marker. A
// size of all ones is unknown, returned as -1.
bool Vint(const ReadAt& read, std::int64_t& offset, bool isSize, std::int64_t& value)
{
    std::uint8_t bytes[8];
    if (!ReadExactly(read, offset, bytes, 1) || bytes[0] == 0)
        return false;
    int length = 1;
    while (!(bytes[0] & (0x80 >> (length - 1))))
        ++length;
    if (length > 1 && !ReadExactly(read, offset + 1, bytes + 1, length - 1))
        return false;
    std::uint64_t v = isSize ? bytes[0] & (0xFF >> length) : bytes[0];
    bool allOnes = v == std::uint64_t(0xFF >> length);
    for (int i = 1; i < length; ++i) {
        v = v << 8 | bytes[i];
        allOnes = allOnes && bytes[i] == 0xFF;
    }
    offset += length;
    value = isSize && allOnes ? -1 : std::int64_t(v);
    return value < (1LL << 56);
}

DeclaredExtent Matroska(const ReadAt& read)
{
    std::int64_t at = 0, id = 0, size = 0;
    // The EBML header, then the segment, whose size covers the rest of the file.
    if (!Vint(read, at, false, id) || id != 0x1A45DFA3 || !Vint(read, at, true, size) || size < 0)
        return {};
    at += size;
    if (!Vint(read, at, false, id) || id != 0x18538067 || !Vint(read, at, true, size) || size < 0)
        return {};
    return {at + size, 0};
}

bool IsBoxType(const std::uint8_t* type)
{
    return std::all_of(type, type + 4, [](std::uint8_t c) { return c >= 0x20 && c < 0x7F; });
}

// Where the top-level boxes say the file ends: the end of the last one whose header is
// there, which lies past the end of a file cut short.
DeclaredExtent IsoMedia(const ReadAt& read, std::int64_t fileSize)
{
    std::int64_t at = 0;
    for (int boxes = 0; at < fileSize && boxes < 100000; ++boxes) {
        std::uint8_t box[16];
        if (!ReadExactly(read, at, box, 8) || !IsBoxType(box + 4))
            return {};
        std::uint64_t size = Be(box, 4);
        if (size == 0)
            return {};  // runs to the end of the file, whatever it is
        if (size == 1) {
            if (!ReadExactly(read, at + 8, box + 8, 8))
                return {};
            size = Be(box + 8, 8);
            if (size < 16)
                return {};
        } else if (size < 8) {
            return {};
        }
        if (size > (1ULL << 50))
            return {};
        at += std::int64_t(size);
    }
    return {at, 0};
}

}  // namespace

DeclaredExtent ReadDeclaredExtent(const ReadAt& read, std::int64_t fileSize)
{
    std::uint8_t head[12];
    if (fileSize < 12 || !ReadExactly(read, 0, head, sizeof head))
        return {};
    if (std::equal(kAsfHeader.begin(), kAsfHeader.begin() + 12, head))
        return Asf(read, fileSize);
    if (std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "AVI ", 4) == 0)
        return Avi(head);
    if (Be(head, 4) == 0x1A45DFA3)
        return Matroska(read);
    static const char* const kFirstBoxes[] = {"ftyp", "moov", "mdat", "free", "skip", "wide", "pnot"};
    for (const char* type : kFirstBoxes)
        if (std::memcmp(head + 4, type, 4) == 0)
            return IsoMedia(read, fileSize);
    return {};
}

DeclaredExtent ReadDeclaredExtent(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return {};
    struct stat st {};
    DeclaredExtent extent;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        extent = ReadDeclaredExtent(
            [fd](std::int64_t offset, std::uint8_t* into, std::int64_t count) -> std::int64_t {
                std::int64_t done = 0;
                while (done < count) {
                    const ssize_t n = ::pread(fd, into + done, std::size_t(count - done), off_t(offset + done));
                    if (n <= 0)
                        break;
                    done += n;
                }
                return done;
            },
            st.st_size);
    ::close(fd);
    return extent;
}

}  // namespace platform::wmenc
