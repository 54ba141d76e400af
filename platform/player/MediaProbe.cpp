#include "MediaProbe.h"

#include "platform/AvPointers.h"
#include "platform/source/MediaSource.h"

#include <chrono>

namespace platform::player {
namespace {

// A damaged file may hide its first picture deep inside; the probe gives up after this.
constexpr auto kBudget = std::chrono::seconds(2);
constexpr int kMaxPackets = 2000;

}  // namespace

bool ProbeDecodableVideo(const std::string& path)
{
    MediaSource source;
    MediaSource::Options options;
    options.deadline = std::chrono::duration_cast<std::chrono::milliseconds>(kBudget);
    if (source.Open(path, options) != OpenStatus::Opened)
        return false;
    std::string error;
    const CodecContextPtr decoder = OpenDecoder(source.Video(), 1, error);
    PacketPtr packet(av_packet_alloc());
    FramePtr frame(av_frame_alloc());
    if (!decoder || !packet || !frame)
        return false;
    source.DiscardUnchosen();
    AVFormatContext* format = source.Format();
    const int index = source.VideoIndex();
    bool ended = false;
    for (int n = 0; n < kMaxPackets && !ended && !source.DeadlinePassed(); ++n) {
        const int rc = av_read_frame(format, packet.get());
        if (rc < 0) {
            ended = true;
            avcodec_send_packet(decoder.get(), nullptr);  // what the decoder still holds
        } else if (packet->stream_index != index) {
            av_packet_unref(packet.get());
            continue;
        } else {
            // A packet the decoder refuses is skipped, as the engine skips it.
            avcodec_send_packet(decoder.get(), packet.get());
            av_packet_unref(packet.get());
        }
        if (avcodec_receive_frame(decoder.get(), frame.get()) == 0)
            return true;
    }
    return false;
}

}  // namespace platform::player
