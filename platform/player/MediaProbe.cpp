#include "MediaProbe.h"

#include "FileSource.h"
#include "platform/AvPointers.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <chrono>

namespace platform::player {
namespace {

// A damaged file may hide its first picture deep inside; the probe gives up after this.
constexpr auto kBudget = std::chrono::seconds(2);
constexpr int kMaxPackets = 2000;

struct Deadline {
    std::chrono::steady_clock::time_point end = std::chrono::steady_clock::now() + kBudget;
    static int Passed(void* opaque)
    {
        return std::chrono::steady_clock::now() > static_cast<Deadline*>(opaque)->end ? 1 : 0;
    }
};

struct CodecFree {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};

}  // namespace

bool ProbeDecodableVideo(const std::string& path)
{
    Deadline deadline;
    FileSource source;
    if (!source.Open(path, {&Deadline::Passed, &deadline}))
        return false;
    AVFormatContext* format = source.Format();
    int index = -1;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream* s = format->streams[i];
        if (s->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && !(s->disposition & AV_DISPOSITION_ATTACHED_PIC) &&
            s->codecpar->width > 0 && s->codecpar->height > 0) {
            index = int(i);
            break;
        }
    }
    if (index < 0)
        return false;
    const AVStream* stream = format->streams[index];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        return false;
    std::unique_ptr<AVCodecContext, CodecFree> decoder(avcodec_alloc_context3(codec));
    if (!decoder || avcodec_parameters_to_context(decoder.get(), stream->codecpar) < 0 ||
        avcodec_open2(decoder.get(), codec, nullptr) < 0)
        return false;
    PacketPtr packet(av_packet_alloc());
    FramePtr frame(av_frame_alloc());
    if (!packet || !frame)
        return false;
    bool ended = false;
    for (int n = 0; n < kMaxPackets && !ended && !Deadline::Passed(&deadline); ++n) {
        const int rc = av_read_frame(format, packet.get());
        if (rc < 0) {
            ended = true;
            avcodec_send_packet(decoder.get(), nullptr);  // what the decoder still holds
        } else if (packet->stream_index != index) {
            av_packet_unref(packet.get());
            continue;
        } else {
            avcodec_send_packet(decoder.get(), packet.get());
            av_packet_unref(packet.get());
        }
        if (avcodec_receive_frame(decoder.get(), frame.get()) == 0)
            return true;
    }
    return false;
}

}  // namespace platform::player
