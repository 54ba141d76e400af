#pragma once
// The FFmpeg calls whose spelling changed between the releases we build on (FFmpeg 5.1
// on Debian 12, 7.1 on Debian 13): the current one, and the older one behind a version
// check. Nothing else in the code asks for a library version.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
}

#include <cstddef>
#include <cstdint>

namespace platform::ffmpeg {

// How long the frame is shown, in its stream's time base; 0 when unknown.
inline std::int64_t FrameDuration(const AVFrame* f)
{
#if LIBAVUTIL_VERSION_INT >= AV_VERSION_INT(57, 30, 100)
    return f->duration;
#else
    return f->pkt_duration;
#endif
}

inline bool IsKeyFrame(const AVFrame* f)
{
#if LIBAVUTIL_VERSION_INT >= AV_VERSION_INT(58, 7, 100)
    return (f->flags & AV_FRAME_FLAG_KEY) != 0;
#else
    return f->key_frame != 0;
#endif
}

inline bool IsInterlaced(const AVFrame* f)
{
#if LIBAVUTIL_VERSION_INT >= AV_VERSION_INT(58, 7, 100)
    return (f->flags & AV_FRAME_FLAG_INTERLACED) != 0;
#else
    return f->interlaced_frame != 0;
#endif
}

inline void SetInterlaced(AVFrame* f, bool interlaced)
{
#if LIBAVUTIL_VERSION_INT >= AV_VERSION_INT(58, 7, 100)
    f->flags = interlaced ? f->flags | AV_FRAME_FLAG_INTERLACED : f->flags & ~AV_FRAME_FLAG_INTERLACED;
#else
    f->interlaced_frame = interlaced;
#endif
}

// The stream's side data of this type (the display matrix of a phone clip, say), or
// null. Newer demuxers keep it with the stream's parameters, older ones on the stream.
inline const std::uint8_t* StreamSideData(const AVStream* stream, AVPacketSideDataType type, std::size_t* size)
{
    *size = 0;
#if LIBAVCODEC_VERSION_INT >= AV_VERSION_INT(60, 29, 100)
    const AVCodecParameters* par = stream->codecpar;
    const AVPacketSideData* sd = av_packet_side_data_get(par->coded_side_data, par->nb_coded_side_data, type);
    if (!sd)
        return nullptr;
    *size = sd->size;
    return sd->data;
#else
    return av_stream_get_side_data(stream, type, size);
#endif
}

}  // namespace platform::ffmpeg
