#pragma once
// Playback of a file on FFmpeg: the media module's side of Playback.

#include "Playback.h"

namespace platform::player {

std::unique_ptr<Playback> OpenFilePlayback(std::string path, Playback::Notify notify);

}  // namespace platform::player
