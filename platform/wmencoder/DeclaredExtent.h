#pragma once
// What a source's own header says of the whole file, read with a small bounds-checked
// reader: a download or a copy cut short is shorter than its header says, and FFmpeg
// does not always hand these numbers over (for a cut ASF file it reports what is
// there). ASF: the file properties (file size, play duration less the preroll); AVI:
// the first RIFF chunk's size; Matroska: the segment's size; MP4 and QuickTime: where
// the top-level boxes say the file ends.

#include <cstdint>
#include <functional>
#include <string>

namespace platform::wmenc {

struct DeclaredExtent {
    std::int64_t bytes = 0;         // the whole file's size; 0: the header does not say
    std::int64_t milliseconds = 0;  // the length; 0: not said (or not read here)
};

// Reads up to count bytes at offset into `into`; how many it read (0 at the end).
using ReadAt = std::function<std::int64_t(std::int64_t offset, std::uint8_t* into, std::int64_t count)>;

// From any bytes whatever: a header that is not one of the above, or does not hold
// together, says nothing.
DeclaredExtent ReadDeclaredExtent(const ReadAt& read, std::int64_t fileSize);

// The regular file at path; nothing for anything else.
DeclaredExtent ReadDeclaredExtent(const std::string& path);

}  // namespace platform::wmenc
