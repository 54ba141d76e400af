#include "ExtentFuzz.h"

#include "FuzzCheck.h"
#include "platform/wmencoder/DeclaredExtent.h"

#include <algorithm>
#include <cstring>

using platform::wmenc::DeclaredExtent;
using qxfuzz::Require;

int QxFuzzExtent(const std::uint8_t* data, std::size_t size)
{
    const auto fileSize = std::int64_t(size);
    bool outside = false;
    const platform::wmenc::ReadAt read = [&](std::int64_t offset, std::uint8_t* into, std::int64_t count) {
        if (offset < 0 || count < 0 || !into) {
            outside = true;
            return std::int64_t(0);
        }
        if (offset >= fileSize)
            return std::int64_t(0);
        const std::int64_t n = std::min(count, fileSize - offset);
        std::memcpy(into, data + offset, std::size_t(n));
        return n;
    };
    const DeclaredExtent first = platform::wmenc::ReadDeclaredExtent(read, fileSize);
    Require(!outside);
    Require(first.bytes >= 0 && first.bytes < (1LL << 57));
    Require(first.milliseconds >= 0 && first.milliseconds < 100LL * 3600 * 1000);
    const DeclaredExtent again = platform::wmenc::ReadDeclaredExtent(read, fileSize);
    Require(again.bytes == first.bytes && again.milliseconds == first.milliseconds);
    return qxfuzz::Result();
}
