#pragma once
// The media module's side of SoundOutput: the default device through AudioOutput.

#include "SoundOutput.h"

namespace platform::player {

std::unique_ptr<SoundOutput> OpenDeviceSound(int rate, int channels, PcmFifo& fifo, MediaClock& clock,
                                             SoundFormat& chosen, std::function<void()> onFailed);

}  // namespace platform::player
