#include "SourceReader.h"

#include "DeclaredExtent.h"
#include "FilePaths.h"
#include "platform/VideoRotation.h"
#include "platform/source/MediaSource.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <algorithm>
#include <chrono>
#include <thread>

namespace platform::wmenc {
namespace {

HRESULT OpenDecoder(const AVStream* stream, AVCodecContext*& ctx, std::string& text)
{
    // Two threads: the decoder keeps up with the encoder beside it on a small machine.
    ctx = platform::OpenDecoder(stream, 2, text).release();
    if (!ctx) {
        text = "The source " + text.substr(text.rfind("The ", 0) == 0 ? 4 : 0);
        return NS_E_SOURCE_UNREADABLE;
    }
    return S_OK;
}

}  // namespace

SourceReader::SourceReader(const EngineSettings& settings, RunStats& stats, RunControl& run)
    : m_settings(settings), m_stats(stats), m_run(run)
{
}

SourceReader::~SourceReader()
{
    avcodec_free_context(&m_videoDecoder);
    avcodec_free_context(&m_audioDecoder);
}

const AVStream* SourceReader::VideoStream() const
{
    return m_videoInput ? m_videoInput->format->streams[m_videoInput->videoIndex] : nullptr;
}

const AVStream* SourceReader::AudioStream() const
{
    return m_audioInput && m_audioDecoder ? m_audioInput->format->streams[m_audioInput->audioIndex] : nullptr;
}

HRESULT SourceReader::OpenInput(const std::string& path, bool soundOnly, Input*& out, std::string& text)
{
    for (auto& in : m_inputs)
        if (SameFile(in->path, path)) {
            out = in.get();
            return S_OK;
        }
    auto in = std::make_unique<Input>();
    in->path = path;
    MediaSource::Options options;
    options.abort = [this] { return m_run.StopRequested(); };
    options.soundOnly = soundOnly;
    const OpenStatus status = in->source.Open(path, options);
    if (status == OpenStatus::NoStreams && soundOnly) {
        out = nullptr;  // a sound file without sound: the output has none
        return S_OK;
    }
    if (status != OpenStatus::Opened) {
        text = "The source file \"" + path + "\" " +
               (status == OpenStatus::NoStreams ? std::string("holds no video.")
                                                : "cannot be used. " + in->source.Error());
        return status == OpenStatus::NoStreams ? NS_E_NO_VIDEO_STREAM : NS_E_SOURCE_UNREADABLE;
    }
    in->source.LiftDeadline();  // the run reads for as long as it takes; Stop still cuts it
    in->format = in->source.Format();
    out = in.get();
    m_inputs.push_back(std::move(in));
    return S_OK;
}

HRESULT SourceReader::Prepare(std::string& text)
{
    if (m_settings.videoSource.empty()) {
        text = "No source file is set.";
        return NS_E_NOT_CONFIGURED;
    }
    HRESULT hr = OpenInput(m_settings.videoSource, false, m_videoInput, text);
    if (FAILED(hr))
        return hr;
    AVFormatContext* fmt = m_videoInput->format;
    m_videoInput->videoIndex = m_videoInput->source.VideoIndex();
    AVStream* vs = m_videoInput->source.Video();
    hr = OpenDecoder(vs, m_videoDecoder, text);
    if (FAILED(hr))
        return hr;

    if (m_settings.profile.audio && !m_settings.audioSource.empty()) {
        Input* sound = nullptr;
        hr = OpenInput(m_settings.audioSource, !SameFile(m_settings.audioSource, m_settings.videoSource), sound, text);
        if (FAILED(hr))
            return hr;
        if (sound && sound->source.AudioIndex() >= 0) {
            m_audioInput = sound;
            m_audioInput->audioIndex = sound->source.AudioIndex();
            hr = OpenDecoder(sound->source.Audio(), m_audioDecoder, text);
            if (FAILED(hr))
                return hr;
        }  // else no sound: a file with video only
    }
    for (auto& in : m_inputs)
        for (unsigned i = 0; i < in->format->nb_streams; ++i)
            if (int(i) != in->videoIndex && int(i) != in->audioIndex)
                in->format->streams[i]->discard = AVDISCARD_ALL;

    // The output starts where the earliest stream we take starts.
    m_startTime = AV_NOPTS_VALUE;
    const auto consider = [&](Input* in, int idx) {
        if (!in || idx < 0)
            return;
        const AVStream* s = in->format->streams[idx];
        if (s->start_time != AV_NOPTS_VALUE) {
            const std::int64_t t = av_rescale_q(s->start_time, s->time_base, kMicroseconds);
            m_startTime = m_startTime == AV_NOPTS_VALUE ? t : std::min(m_startTime, t);
        }
    };
    consider(m_videoInput, m_videoInput->videoIndex);
    consider(m_audioInput, m_audioInput ? m_audioInput->audioIndex : -1);
    if (m_startTime == AV_NOPTS_VALUE)
        m_startTime = 0;

    // The length the progress is measured against: the source's, up to the time limit.
    // A length guessed from the bit rate is only good for progress counted in bytes.
    std::int64_t declared = fmt->duration != AV_NOPTS_VALUE && fmt->duration > 0 ? fmt->duration / 1000 : 0;
    m_lengthTrusted = declared > 0 && fmt->duration_estimation_method != AVFMT_DURATION_FROM_BITRATE;
    // A header that counts the pictures (AVI, MP4) still says how long the file should be
    // when the demuxer had to measure what is there.
    if (vs->nb_frames > 0 && vs->avg_frame_rate.num > 0 && vs->avg_frame_rate.den > 0) {
        const std::int64_t counted = av_rescale_q(vs->nb_frames, av_inv_q(vs->avg_frame_rate), av_make_q(1, 1000));
        if (counted > declared + 1000 && counted < 100LL * 3600 * 1000) {
            declared = counted;
            m_lengthTrusted = true;
        }
    }
    // A file cut short (a download that stopped) is shorter than its own header says, and
    // the header may say how long it should be where the demuxer measured what is there.
    const std::int64_t size = fmt->pb ? avio_size(fmt->pb) : -1;
    const DeclaredExtent extent = ReadDeclaredExtent(m_settings.videoSource);
    m_cutShort = extent.bytes > 0 && size > 0 && extent.bytes > size;
    if (extent.milliseconds > declared + 1000) {
        declared = extent.milliseconds;
        m_lengthTrusted = true;
    }
    std::int64_t expected = declared;
    if (m_settings.maxMilliseconds > 0 && (expected == 0 || m_settings.maxMilliseconds < expected))
        expected = declared > 0 ? m_settings.maxMilliseconds : 0;
    m_stats.sourceMs = declared;
    m_stats.expectedMs = expected;
    m_stats.lengthByBytes = declared > 0 && !m_lengthTrusted && size > 0 && expected == declared;
    m_stats.sourceBytes = std::max<std::int64_t>(size, 0);
    m_stats.readBytes = 0;

    // Crop: only positive margins, on the picture as it is shown (turned upright); what
    // is left must be a real picture.
    m_rotation = ClockwiseRotation(vs);
    const int shownW = SwapsSides(m_rotation) ? vs->codecpar->height : vs->codecpar->width;
    const int shownH = SwapsSides(m_rotation) ? vs->codecpar->width : vs->codecpar->height;
    m_crop = {std::max(0, m_settings.cropLeft), std::max(0, m_settings.cropTop), std::max(0, m_settings.cropRight),
              std::max(0, m_settings.cropBottom)};
    const std::int64_t leftW = std::int64_t(shownW) - m_crop.left - m_crop.right;
    const std::int64_t leftH = std::int64_t(shownH) - m_crop.top - m_crop.bottom;
    if (leftW < 16 || leftH < 16) {
        text = "The cropping margins leave " + std::to_string(std::max<std::int64_t>(leftW, 0)) + " x " +
               std::to_string(std::max<std::int64_t>(leftH, 0)) + " pixels of the " + std::to_string(shownW) + " x " +
               std::to_string(shownH) + " picture; at least 16 x 16 must remain.";
        return NS_E_CROP_TOO_LARGE;
    }

    // The profile's frame rate, never above the source's.
    const VideoProfile& vp = m_settings.profile.video;
    m_frameRate = av_make_q(vp.frameRateNum, vp.frameRateDen);
    AVRational source = vs->avg_frame_rate;
    if (source.num <= 0 || source.den <= 0 || av_q2d(source) > 240)
        source = vs->r_frame_rate;
    if (source.num > 0 && source.den > 0 && av_q2d(source) <= 240 && av_cmp_q(source, m_frameRate) < 0)
        m_frameRate = source;
    av_reduce(&m_frameRate.num, &m_frameRate.den, m_frameRate.num, m_frameRate.den, 65535);
    return S_OK;
}

// Timestamps that jump back (joined recordings, restarted clocks) are moved on so that
// the stream's time keeps running; small stumbles are left to the mux stage.
std::int64_t SourceReader::Continuous(Item::Kind kind, const AVStream* stream, const AVFrame* frame, std::int64_t pts)
{
    Timeline& t = m_timeline[kind == Item::Video ? 0 : 1];
    pts += t.shift;
    std::int64_t length = 0;
    if (kind == Item::Video) {
        const AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
        length = rate.num > 0 && rate.den > 0 ? av_rescale_q(1, av_inv_q(rate), stream->time_base) : 1;
    } else if (frame->sample_rate > 0) {
        length = av_rescale_q(frame->nb_samples, av_make_q(1, frame->sample_rate), stream->time_base);
    }
    const std::int64_t tolerance =
        std::max<std::int64_t>(2 * length, av_rescale_q(200, av_make_q(1, 1000), stream->time_base));
    if (t.next != AV_NOPTS_VALUE && pts < t.next - tolerance) {
        t.shift += t.next - pts;
        pts = t.next;
    }
    t.next = std::max(t.next == AV_NOPTS_VALUE ? pts : t.next, pts + std::max<std::int64_t>(length, 1));
    return pts;
}

bool SourceReader::Decode(AVCodecContext* decoder, const AVPacket* packet, Item::Kind kind, const AVStream* stream)
{
    if (avcodec_send_packet(decoder, packet) < 0 && packet)
        return true;  // a damaged packet: skip it, as a player would
    const std::int64_t offset = av_rescale_q(m_startTime, kMicroseconds, stream->time_base);
    for (;;) {
        FramePtr frame(av_frame_alloc());
        const int rc = avcodec_receive_frame(decoder, frame.get());
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF)
            return true;
        if (rc < 0)
            return true;  // skip what cannot be decoded
        frame->pts = frame->best_effort_timestamp;
        if (frame->pts != AV_NOPTS_VALUE)
            frame->pts = Continuous(kind, stream, frame.get(), frame->pts - offset);
        if (kind == Item::Video)
            ++m_decodedPictures;
        if (!m_run.decoded.Push({kind, std::move(frame)}))
            return false;
    }
}

void SourceReader::Run()
{
    PacketPtr packet(av_packet_alloc());
    bool ok = true;
    while (ok && !m_run.StopRequested()) {
        m_run.gate.Wait();
        if (m_run.StopRequested())
            break;
        Input* in = nullptr;
        for (auto& candidate : m_inputs)
            if (!candidate->eof && (!in || candidate->nextTime < in->nextTime))
                in = candidate.get();
        if (!in) {
            m_reachedEnd = true;
            break;
        }
        const int rc = av_read_frame(in->format, packet.get());
        if (rc == AVERROR(EAGAIN)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            continue;
        }
        if (rc < 0 && m_run.StopRequested())
            break;  // a read cut short by Stop
        if (rc < 0) {
            // The end, or damage the demuxer could not read past: what was read is kept,
            // and the run reports the damage.
            in->eof = true;
            if (rc != AVERROR_EOF || (in->format->pb && in->format->pb->error < 0 && in->format->pb->error != AVERROR_EOF))
                m_readError = true;
            continue;
        }
        if (in == m_videoInput && m_stats.lengthByBytes && in->format->pb)
            m_stats.readBytes = std::max<std::int64_t>(0, avio_tell(in->format->pb));
        const AVStream* s = in->format->streams[packet->stream_index];
        if (packet->dts != AV_NOPTS_VALUE)
            in->nextTime = av_rescale_q(packet->dts, s->time_base, kMicroseconds);
        if (in == m_videoInput && packet->stream_index == in->videoIndex)
            ok = Decode(m_videoDecoder, packet.get(), Item::Video, s);
        else if (in == m_audioInput && m_audioDecoder && packet->stream_index == in->audioIndex)
            ok = Decode(m_audioDecoder, packet.get(), Item::Audio, s);
        av_packet_unref(packet.get());
    }
    if (ok && !m_run.StopRequested()) {
        ok = Decode(m_videoDecoder, nullptr, Item::Video, VideoStream());
        if (ok && m_audioDecoder)
            ok = Decode(m_audioDecoder, nullptr, Item::Audio, AudioStream());
    }
    if (ok)
        m_run.decoded.Push({Item::End, nullptr});
}

}  // namespace platform::wmenc
