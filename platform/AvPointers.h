#pragma once
// Owning pointers for FFmpeg's frames and packets, shared by the engine and the player.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
}

#include <memory>

namespace platform {

struct AvFrameFree {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
using FramePtr = std::unique_ptr<AVFrame, AvFrameFree>;

struct AvPacketFree {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
using PacketPtr = std::unique_ptr<AVPacket, AvPacketFree>;

// FFmpeg's microsecond time base, as a constant (its own macro is a compound literal).
inline constexpr AVRational kMicroseconds{1, 1000000};

}  // namespace platform
