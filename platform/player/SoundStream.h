#pragma once
// The sound of one position as the sound output wants it: resampled to the output's
// rate, channels and sample format, and kept one unbroken line from the position on
// (gaps filled with silence, overlaps and what lies before the position cut) into the
// FIFO. The player's audio thread alone uses it.

#include "PcmFifo.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
}

#include <cstddef>
#include <cstdint>

struct SwrContext;

namespace platform::player {

class SoundStream {
public:
    SoundStream(PcmFifo& fifo, int rate, int channels, SampleFormat format);
    ~SoundStream();
    SoundStream(const SoundStream&) = delete;
    SoundStream& operator=(const SoundStream&) = delete;

    // A new position: the sound of this serial starts at targetUs.
    void Restart(int serial, std::int64_t targetUs);
    // Converts and pushes the decoded frame, found at us (AV_NOPTS_VALUE: right after
    // what was pushed); false when the FIFO was aborted. A frame that cannot be
    // converted is skipped.
    bool Put(const AVFrame* frame, std::int64_t us);

    int Serial() const { return m_serial; }
    std::int64_t EndUs() const { return m_nextUs; }  // where the sound pushed so far ends
    std::size_t BytesPerFrame() const;

private:
    bool PushSilence(std::int64_t fromUs, std::int64_t toUs);
    bool Reconfigure(const AVFrame* frame);

    PcmFifo& m_fifo;
    int m_rate, m_channels;
    SampleFormat m_format;
    int m_serial = 0;
    std::int64_t m_nextUs = 0;
    SwrContext* m_swr = nullptr;
    int m_inRate = 0, m_inFormat = -1;
    AVChannelLayout m_inLayout{};
};

}  // namespace platform::player
