// The media module's entry point: the encoder server, file playback and the source probe,
// all on FFmpeg. Nothing else of the module is visible to the program that loads it.
#include "MediaApi.h"

#include "platform/player/DeviceSound.h"
#include "platform/player/FilePlayback.h"
#include "platform/player/MediaProbe.h"
#include "platform/wmencoder/WMEncoder.h"

namespace {

platform::player::Playback* OpenPlayback(const std::string& path, platform::player::Playback::Notify notify)
{
    return platform::player::OpenFilePlayback(path, std::move(notify)).release();
}

platform::player::SoundOutput* OpenSound(int rate, int channels, platform::player::PcmFifo& fifo,
                                         platform::player::MediaClock& clock, platform::player::SoundFormat& chosen,
                                         std::function<void()> onFailed)
{
    return platform::player::OpenDeviceSound(rate, channels, fifo, clock, chosen, std::move(onFailed)).release();
}

const platform::media::Api kApi{
    platform::media::kApiVersion,
    &platform::wmenc::CreateEncoderObject,
    &OpenPlayback,
    &platform::player::ProbeDecodableVideo,
    &OpenSound,
};

}  // namespace

extern "C" __attribute__((visibility("default"))) const platform::media::Api* qx_media_api()
{
    return &kApi;
}
