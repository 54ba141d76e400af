#include "MediaSource.h"

namespace platform {
namespace {

bool CoverPicture(const AVStream* s)
{
    return (s->disposition & AV_DISPOSITION_ATTACHED_PIC) != 0;
}

bool UsableVideo(const AVStream* s)
{
    return s->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && !CoverPicture(s) && s->codecpar->width > 0 &&
           s->codecpar->height > 0 && avcodec_find_decoder(s->codecpar->codec_id);
}

bool UsableAudio(const AVStream* s)
{
    return s->codecpar->codec_type == AVMEDIA_TYPE_AUDIO && s->codecpar->sample_rate > 0 &&
           s->codecpar->ch_layout.nb_channels > 0 && avcodec_find_decoder(s->codecpar->codec_id);
}

}  // namespace

int ChooseVideoStream(AVFormatContext* format)
{
    const AVCodec* decoder = nullptr;
    const int best = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    if (best >= 0 && UsableVideo(format->streams[best]))
        return best;
    // FFmpeg's best was a cover picture or has no size: the default-marked, then the largest.
    int chosen = -1;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream* s = format->streams[i];
        if (!UsableVideo(s))
            continue;
        if (chosen < 0) {
            chosen = int(i);
            continue;
        }
        const AVStream* c = format->streams[chosen];
        const bool sDefault = s->disposition & AV_DISPOSITION_DEFAULT;
        const bool cDefault = c->disposition & AV_DISPOSITION_DEFAULT;
        const std::int64_t sPixels = std::int64_t(s->codecpar->width) * s->codecpar->height;
        const std::int64_t cPixels = std::int64_t(c->codecpar->width) * c->codecpar->height;
        if ((sDefault && !cDefault) || (sDefault == cDefault && sPixels > cPixels))
            chosen = int(i);
    }
    return chosen;
}

int ChooseAudioStream(AVFormatContext* format, int video)
{
    const AVCodec* decoder = nullptr;
    int best = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, video, &decoder, 0);
    if ((best < 0 || !UsableAudio(format->streams[best])) && video >= 0)
        best = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);  // none in its program
    return best >= 0 && UsableAudio(format->streams[best]) ? best : -1;
}

int MediaSource::Interrupt(void* opaque)
{
    const auto* self = static_cast<const MediaSource*>(opaque);
    return (self->m_abort && self->m_abort()) || std::chrono::steady_clock::now() > self->m_until ? 1 : 0;
}

AVStream* MediaSource::Video() const
{
    return m_video >= 0 ? Format()->streams[m_video] : nullptr;
}

AVStream* MediaSource::Audio() const
{
    return m_audio >= 0 ? Format()->streams[m_audio] : nullptr;
}

void MediaSource::Close()
{
    m_file.Close();
    m_video = m_audio = -1;
}

OpenStatus MediaSource::Open(const std::string& path, const Options& options)
{
    Close();
    m_error.clear();
    m_abort = options.abort;
    m_until = std::chrono::steady_clock::now() + options.deadline;
    const auto fail = [&](OpenStatus status, std::string text) {
        // A read cut short by the caller or the clock says so, whatever FFmpeg made of it.
        if (m_abort && m_abort()) {
            status = OpenStatus::Aborted;
            text = "Opening was cancelled.";
        } else if ((status == OpenStatus::Unreadable || status == OpenStatus::NoStreams) && DeadlinePassed()) {
            // What was not read in time may hold the streams.
            status = OpenStatus::TimedOut;
            text = "It took too long to read.";
        }
        Close();
        m_error = std::move(text);
        return status;
    };

    const int rc = m_file.Open(path, {&MediaSource::Interrupt, this});
    if (rc == FileSource::kNotAFile)
        return fail(OpenStatus::NotAFile, "It is not a file that can be read.");
    if (rc < 0)
        return fail(OpenStatus::Unreadable, "It cannot be opened: " + AvErrorText(rc) + ".");
    const int info = avformat_find_stream_info(Format(), nullptr);
    if (info < 0)
        return fail(OpenStatus::Unreadable, "It cannot be read: " + AvErrorText(info) + ".");
    if (m_abort && m_abort())
        return fail(OpenStatus::Aborted, {});

    if (!options.soundOnly)
        m_video = ChooseVideoStream(Format());
    if (options.soundOnly || m_video >= 0 || options.soundWithoutVideo)
        m_audio = ChooseAudioStream(Format(), m_video);
    if (options.soundOnly ? m_audio < 0 : m_video < 0 && !(options.soundWithoutVideo && m_audio >= 0))
        return fail(OpenStatus::NoStreams, options.soundOnly ? "It holds no sound." : "It holds no video.");
    return OpenStatus::Opened;
}

void MediaSource::DiscardUnchosen()
{
    for (unsigned i = 0; i < Format()->nb_streams; ++i)
        if (int(i) != m_video && int(i) != m_audio)
            Format()->streams[i]->discard = AVDISCARD_ALL;
}

CodecContextPtr OpenDecoder(const AVStream* stream, int threads, std::string& error)
{
    const char* kind = stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO ? "sound" : "video";
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) {
        error = std::string("The ") + kind + " is in a format that cannot be decoded (" +
                avcodec_get_name(stream->codecpar->codec_id) + ").";
        return nullptr;
    }
    CodecContextPtr ctx(avcodec_alloc_context3(codec));
    if (!ctx) {
        error = "Out of memory.";
        return nullptr;
    }
    int rc = avcodec_parameters_to_context(ctx.get(), stream->codecpar);
    if (rc >= 0) {
        ctx->pkt_timebase = stream->time_base;
        ctx->thread_count = threads;
        rc = avcodec_open2(ctx.get(), codec, nullptr);
    }
    if (rc < 0) {
        error = std::string("The ") + kind + " cannot be decoded: " + AvErrorText(rc) + ".";
        return nullptr;
    }
    return ctx;
}

std::string AvErrorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    if (av_strerror(code, text, sizeof text) < 0)
        return "error " + std::to_string(code);
    return text;
}

}  // namespace platform
