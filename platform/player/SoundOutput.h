#pragma once
// The sound of one playback on the default device, as the player sees it. The device
// side (Qt Multimedia, and the sound server libraries it pulls in) lives in the media
// module with decoding, loaded when first needed.

#include "MediaClock.h"
#include "PcmFifo.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace platform::player {

struct SoundFormat {
    int rate = 0;
    int channels = 0;
    SampleFormat format = SampleFormat::Int16;
};

class SoundOutput {
public:
    // The default device, for sound of about this rate and channel count, fed from fifo
    // and driving clock: the form the device takes goes into chosen. Null without a
    // device, a form it takes, or the media module. onFailed is called on the GUI thread
    // when the device refuses or breaks later.
    static std::unique_ptr<SoundOutput> Open(int rate, int channels, PcmFifo& fifo, MediaClock& clock,
                                             SoundFormat& chosen, std::function<void()> onFailed);

    virtual ~SoundOutput() = default;
    virtual void Start(std::int64_t mediaUs) = 0;  // plays from this media time on, afresh
    virtual void Suspend() = 0;
    virtual void Resume() = 0;
    virtual void Stop() = 0;
    virtual bool Started() const = 0;
    virtual bool Suspended() const = 0;
    // The volume slider's 0..100 in steps of loudness; muted is silent.
    virtual void SetLoudness(int percent, bool muted) = 0;

protected:
    SoundOutput() = default;
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;
};

}  // namespace platform::player
