#pragma once
// What the media module (libqxmedia.so: everything that uses FFmpeg) offers the program
// that loads it. FFmpeg and the libraries it pulls in take longer to load than the whole
// window takes to show, so the program loads them when first needed, or in the
// background once its window is up.

#include "platform/com/Com.h"
#include "platform/player/Playback.h"
#include "platform/player/SoundOutput.h"

#include <memory>
#include <string>

namespace platform::media {

inline constexpr int kApiVersion = 1;

struct Api {
    int version;
    // The encoder server's objects (WMEncoder, WMEncProfile2).
    HRESULT (*createEncoderObject)(REFCLSID clsid, REFIID riid, void** ppv);
    // A playback of path; deleted through its virtual destructor.
    player::Playback* (*openPlayback)(const std::string& path, player::Playback::Notify notify);
    bool (*hasDecodableVideo)(const std::string& path);
    // The default sound device (see SoundOutput::Open); deleted through its virtual destructor.
    player::SoundOutput* (*openSound)(int rate, int channels, player::PcmFifo& fifo, player::MediaClock& clock,
                                      player::SoundFormat& chosen, std::function<void()> onFailed);
};

}  // namespace platform::media

// The module's one entry point.
extern "C" const platform::media::Api* qx_media_api();
