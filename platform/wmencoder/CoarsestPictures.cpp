#include "CoarsestPictures.h"

#include "platform/AvPointers.h"
#include "platform/source/MediaSource.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libswscale/swscale.h>
}

#include <chrono>
#include <vector>

namespace platform::wmenc {
namespace {

constexpr int kSamples = 6;
constexpr auto kBudget = std::chrono::milliseconds(800);

struct ScalerFree {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};

// The next decoded picture, or null at the end.
FramePtr NextPicture(AVFormatContext* format, AVCodecContext* decoder, int index)
{
    FramePtr frame(av_frame_alloc());
    PacketPtr packet(av_packet_alloc());
    if (!frame || !packet)
        return nullptr;
    for (int packets = 0; packets < 600; ++packets) {
        const int got = avcodec_receive_frame(decoder, frame.get());
        if (got == 0)
            return frame;
        if (got != AVERROR(EAGAIN))
            return nullptr;
        const int read = av_read_frame(format, packet.get());
        if (read < 0) {
            avcodec_send_packet(decoder, nullptr);
            continue;
        }
        if (packet->stream_index == index)
            avcodec_send_packet(decoder, packet.get());
        av_packet_unref(packet.get());
    }
    return nullptr;
}

}  // namespace

double CoarsestBytesPerPicture(const CoarsestSample& sample)
{
    const auto until = std::chrono::steady_clock::now() + kBudget;
    MediaSource source;
    MediaSource::Options options;
    options.deadline = std::chrono::duration_cast<std::chrono::milliseconds>(kBudget);
    if (source.Open(sample.source, options) != OpenStatus::Opened)
        return 0;
    source.LiftDeadline();  // the samples below keep to the budget themselves
    source.DiscardUnchosen();
    AVFormatContext* const format = source.Format();
    const int index = source.VideoIndex();
    std::string error;
    const CodecContextPtr decoder = OpenDecoder(source.Video(), 1, error);
    if (!decoder)
        return 0;

    const AVCodec* encoding = avcodec_find_encoder_by_name(sample.codec);
    if (!encoding || sample.width < 16 || sample.height < 16)
        return 0;
    const std::int64_t length = format->duration > 0 ? format->duration : 0;
    double keyBytes = 0, nextBytes = 0;
    int measured = 0;
    std::unique_ptr<SwsContext, ScalerFree> scaler;
    for (int i = 0; i < kSamples && std::chrono::steady_clock::now() < until; ++i) {
        // Spread over the source, the very start and end left out.
        if (length > 0) {
            const std::int64_t at = (format->start_time != AV_NOPTS_VALUE ? format->start_time : 0) +
                                    length * (i + 1) / (kSamples + 1);
            if (av_seek_frame(format, -1, at, AVSEEK_FLAG_BACKWARD) < 0)
                break;
            avcodec_flush_buffers(decoder.get());
        }
        // A fresh encoder for each pair: a key picture, then one that refers to it.
        CodecContextPtr encoder(avcodec_alloc_context3(encoding));
        if (!encoder)
            return 0;
        encoder->width = sample.width;
        encoder->height = sample.height;
        encoder->pix_fmt = AV_PIX_FMT_YUV420P;
        encoder->time_base = av_make_q(1, 25);
        encoder->gop_size = 1000;
        encoder->max_b_frames = 0;
        encoder->flags |= AV_CODEC_FLAG_QSCALE;
        encoder->global_quality = FF_QP2LAMBDA * 31;
        if (avcodec_open2(encoder.get(), encoding, nullptr) < 0)
            return 0;
        std::int64_t sizes[2] = {0, 0};
        bool whole = true;
        for (int k = 0; k < 2 && whole; ++k) {
            FramePtr picture = NextPicture(format, decoder.get(), index);
            if (!picture || picture->width <= 0 || picture->height <= 0) {
                whole = false;
                break;
            }
            scaler.reset(sws_getCachedContext(scaler.release(), picture->width, picture->height,
                                              AVPixelFormat(picture->format), sample.width, sample.height,
                                              AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr));
            FramePtr scaled(av_frame_alloc());
            if (!scaler || !scaled)
                return 0;
            scaled->format = AV_PIX_FMT_YUV420P;
            scaled->width = sample.width;
            scaled->height = sample.height;
            if (av_frame_get_buffer(scaled.get(), 0) < 0 ||
                sws_scale(scaler.get(), picture->data, picture->linesize, 0, picture->height, scaled->data,
                          scaled->linesize) <= 0)
                return 0;
            scaled->pts = k;
            scaled->quality = encoder->global_quality;
            if (avcodec_send_frame(encoder.get(), scaled.get()) < 0)
                return 0;
            PacketPtr packet(av_packet_alloc());
            while (packet && avcodec_receive_packet(encoder.get(), packet.get()) == 0) {
                sizes[k] += packet->size;
                av_packet_unref(packet.get());
            }
        }
        if (!whole || sizes[0] <= 0 || sizes[1] <= 0)
            continue;
        keyBytes += double(sizes[0]);
        nextBytes += double(sizes[1]);
        ++measured;
        if (length <= 0)
            break;  // a source that cannot seek gives its first pictures only
    }
    if (measured == 0)
        return 0;
    const double spacing = std::max(1, sample.keySpacing);
    return (keyBytes + nextBytes * (spacing - 1)) / spacing / measured;
}

}  // namespace platform::wmenc
