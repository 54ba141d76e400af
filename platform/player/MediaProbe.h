#pragma once
// A quick look into a file before it is handed to the encoder: does it hold a video
// stream whose pictures can be decoded? Reads at most a few seconds of the file.

#include <string>

namespace platform::player {

// True when the file is a regular file with a video stream (cover art does not count)
// of which at least one picture decodes.
bool HasDecodableVideo(const std::string& path);

}  // namespace platform::player
