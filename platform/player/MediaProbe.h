#pragma once
// A quick look into a file before it is handed to the encoder: does it hold a video
// stream whose pictures can be decoded? Reads at most a few seconds of the file. Part of
// the media module; the program asks through platform::media::HasDecodableVideo.

#include <string>

namespace platform::player {

// True when the file opens as a source (platform/source/MediaSource) and its chosen video
// stream decodes at least one picture.
bool ProbeDecodableVideo(const std::string& path);

}  // namespace platform::player
