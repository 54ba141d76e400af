#pragma once
// The program's side of the media module: loads media/libqxmedia.so from beside the program
// when first needed (or in the background after the window is up) and passes calls on.
// When the module cannot be loaded, the encoder classes are not there (as without an
// installed encoder), playback fails and no file counts as a video.

#include <string>

namespace platform::media {

// Registers the encoder server's classes in this program's registry; the module is
// loaded when the first object is made.
void RegisterEncoderServer();

// Starts loading the module on a thread of its own, so that it is ready when needed.
void Preload();

// Whether the module is (or can be) loaded; loads it if it was not.
bool Available();

// platform::player::ProbeDecodableVideo, through the module.
bool HasDecodableVideo(const std::string& path);

}  // namespace platform::media
