#include "OutputWriter.h"

#include "CoarsestPictures.h"
#include "FilePaths.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform::wmenc {
namespace {

// Whether name is one of the run's temporary names for the output called base:
// ".BASE.NNNNNN.part".
bool IsTemporaryName(const std::string& name, const std::string& base)
{
    const std::string head = "." + base + ".", tail = ".part";
    if (name.size() != head.size() + 6 + tail.size() || name.compare(0, head.size(), head) != 0 ||
        name.compare(name.size() - tail.size(), tail.size(), tail) != 0)
        return false;
    return std::all_of(name.begin() + std::ptrdiff_t(head.size()), name.end() - std::ptrdiff_t(tail.size()),
                       [](char c) { return c >= '0' && c <= '9'; });
}

// Whether the open file fd is still the one at path (device and inode).
bool StillAt(int fd, const std::string& path)
{
    struct stat open {}, named {};
    return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

// The temporary files of the output that no run holds locked: what runs that were killed
// left behind. One is removed only while locked here, so a run that has just made its
// file (and locks it a moment later) finds its file gone and makes another.
void RemoveAbandonedTemporaryFiles(const std::string& folder, const std::string& base)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryName(entry->d_name, base))
            continue;
        const std::string path = folder + "/" + entry->d_name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && StillAt(fd, path))
            ::unlink(path.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

AVCodecID VideoCodecId(const std::string& name)
{
    if (name == "WMV1")
        return AV_CODEC_ID_WMV1;
    if (name == "WMV2")
        return AV_CODEC_ID_WMV2;
    return AV_CODEC_ID_NONE;
}

AVCodecID AudioCodecId(const std::string& name)
{
    if (name == "WMA1")
        return AV_CODEC_ID_WMAV1;
    if (name == "WMA2")
        return AV_CODEC_ID_WMAV2;
    return AV_CODEC_ID_NONE;
}

// The ASF muxer's data packets: a fixed size, a packet header, a header for every payload
// (a frame, or each piece of a frame that runs on into the next packet), and padding: a
// packet closes when too little room is left for another payload, and sound is never
// split, so a sound frame that does not fit pads the packet out.
constexpr std::int64_t kPacketSize = 3200;
constexpr double kPacketUse = kPacketSize - 16 - 30;  // less the header and the closing slack
constexpr double kPayloadHeader = 18;
// The header before the data, for the fit (its real size is known once written).
constexpr std::int64_t kHeaderAllowance = 1500;
// What the fitted rate aims at: the rate control misses by a few per cent either way,
// and the stop at the size is only the guard.
constexpr double kFitShare = 0.93;

// Payloads packed into fresh data packets as the muxer packs them, at the most: a picture
// runs on into the next packet, a sound frame that does not fit closes the packet, and a
// packet with too little room left for another payload closes too.
struct DataPackets {
    std::int64_t count = 0;
    double room = 0;
    void Add(std::int64_t size, bool sound)
    {
        const double closing = kPayloadHeader + 30;
        if (sound) {
            if (room < double(size) + kPayloadHeader) {
                ++count;
                room = kPacketSize - 16;
            }
            room -= double(size) + kPayloadHeader;
            return;
        }
        for (double left = double(size); left > 0;) {
            if (room < closing) {
                ++count;
                room = kPacketSize - 16;
            }
            const double piece = std::min(left, room - kPayloadHeader);
            room -= piece + kPayloadHeader;
            left -= piece;
        }
    }
};

// The index at the end: one small entry per second.
std::int64_t IndexBytes(std::int64_t ms)
{
    return 128 + 6 * (ms / 1000 + 4);
}

// A packet of this size as it lands in the data packets, on average: a picture starts
// anywhere in a packet, so it runs into size / room more packets than the one it starts in.
double Framed(std::int64_t size, bool sound)
{
    if (sound)
        return double(size) + kPayloadHeader + double(size) * double(size) / (2.0 * kPacketUse);
    return double(size) + kPayloadHeader * (1.0 + double(size) / kPacketUse);
}

// Opens a set-up encoder and gives the output a stream carrying what it makes.
int OpenStream(AVFormatContext* output, AVCodecContext* encoder, const AVCodec* codec, AVStream*& stream)
{
    if (output->oformat->flags & AVFMT_GLOBALHEADER)
        encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    const int rc = avcodec_open2(encoder, codec, nullptr);
    if (rc < 0)
        return rc;
    stream = avformat_new_stream(output, nullptr);
    if (!stream)
        return AVERROR(ENOMEM);
    avcodec_parameters_from_context(stream->codecpar, encoder);
    stream->time_base = encoder->time_base;
    return 0;
}

// The bits a second the pictures may take when the whole run of expectedMs must fit
// maxBytes with the profile's sound, header, framing and index.
double PictureRoom(const Profile& profile, AVRational frameRate, std::int64_t maxBytes, std::int64_t expectedMs)
{
    const double seconds = double(expectedMs) / 1000.0;
    const double fps = frameRate.num > 0 && frameRate.den > 0 ? av_q2d(frameRate) : 30.0;
    double sound = 0;  // bytes a second, framed
    if (profile.audio && profile.audio->sampleRate > 0 && profile.audio->bitrate > 0) {
        // The sound encoder's frame: 512 samples up to 16 kHz, 1024 up to 22.05 kHz, else 2048.
        const int rate = profile.audio->sampleRate;
        const double frames = rate / (rate <= 16000 ? 512.0 : rate <= 22050 ? 1024.0 : 2048.0);
        sound = frames * Framed(std::int64_t(profile.audio->bitrate / 8.0 / frames), true);
    }
    const double room = double(maxBytes) * kFitShare - double(kHeaderAllowance + IndexBytes(expectedMs));
    // What the data packets may hold in a second, less the framed sound and a payload
    // header for every picture, is what the pictures may take with their split headers.
    const double perSecond = room / seconds * kPacketUse / double(kPacketSize);
    const double pictures = (perSecond - sound - fps * kPayloadHeader) / (1.0 + kPayloadHeader / kPacketUse);
    return pictures * 8.0;
}

}  // namespace

int FittedVideoBitrate(const Profile& profile, AVRational frameRate, std::int64_t maxBytes, std::int64_t expectedMs)
{
    const int full = profile.video.bitrate;
    if (maxBytes <= 0 || expectedMs <= 0 || full <= 0)
        return full;
    return int(std::clamp(PictureRoom(profile, frameRate, maxBytes, expectedMs), std::max(1.0, full / 3.0), double(full)));
}

FitPlan PlanFit(const Profile& profile, AVRational frameRate, bool withSound, std::int64_t maxBytes,
                std::int64_t expectedMs, double coarsestBytes)
{
    Profile fitting = profile;
    if (!withSound)
        fitting.audio.reset();
    FitPlan plan{frameRate, FittedVideoBitrate(fitting, frameRate, maxBytes, expectedMs), fitting.audio};
    if (maxBytes <= 0 || expectedMs <= 0 || coarsestBytes <= 0 || profile.video.bitrate <= 0)
        return plan;
    // The rate control lands a little above its coarsest pictures' size.
    const auto least = [&](AVRational rate) { return coarsestBytes * 8.0 * av_q2d(rate) * 1.2; };
    const auto holds = [&](const Profile& p, AVRational rate) {
        return PictureRoom(p, rate, maxBytes, expectedMs) >= least(rate);
    };
    if (holds(fitting, frameRate))
        return plan;
    Profile lowered = fitting;
    if (lowered.audio && (lowered.audio->channels > 1 || lowered.audio->bitrate > 32000)) {
        lowered.audio->channels = 1;
        lowered.audio->bitrate = std::min(lowered.audio->bitrate, 32000);
        lowered.audio->sampleRate = std::min(lowered.audio->sampleRate, 32000);
        plan.soundLowered = true;
    }
    std::vector<AVRational> rates{frameRate};
    for (const AVRational step : {AVRational{25, 1}, AVRational{20, 1}, AVRational{15, 1}, AVRational{25, 2},
                                  AVRational{10, 1}})
        if (av_cmp_q(step, frameRate) < 0)
            rates.push_back(step);
    for (const AVRational rate : rates) {
        plan.frameRate = rate;
        if (holds(lowered, rate))
            break;
    }
    plan.frameRateLowered = av_cmp_q(plan.frameRate, frameRate) != 0;
    plan.audio = lowered.audio;
    const double room = PictureRoom(lowered, plan.frameRate, maxBytes, expectedMs);
    plan.videoBitrate = int(std::clamp(room, std::max(1.0, least(plan.frameRate) / 1.2), double(profile.video.bitrate)));
    return plan;
}

OutputWriter::OutputWriter(const EngineSettings& settings, RunStats& stats, RunControl& run)
    : m_settings(settings), m_stats(stats), m_run(run)
{
}

OutputWriter::~OutputWriter()
{
    avcodec_free_context(&m_videoEncoder);
    avcodec_free_context(&m_audioEncoder);
    Discard();
    if (m_output)
        avformat_free_context(m_output);
}

HRESULT OutputWriter::PrepareFile(std::string& text)
{
    const std::string& path = m_settings.output;
    if (path.empty()) {
        text = "No output file is set.";
        return NS_E_NOT_CONFIGURED;
    }
    for (const std::string& source : {m_settings.videoSource, m_settings.audioSource})
        if (!source.empty() && SameFile(path, source)) {
            text = "The output file \"" + path + "\" is the source file itself; choose another name.";
            return NS_E_OUTPUT_IS_SOURCE;
        }
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        text = "The output \"" + path + "\" is not a file.";
        return NS_E_OUTPUT_UNWRITABLE;
    }
    const std::string folder = FolderOf(path);
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        text = "The output folder \"" + folder + "\" does not exist.";
        return NS_E_OUTPUT_UNWRITABLE;
    }
    RemoveAbandonedTemporaryFiles(folder, BaseName(path));
    // A name of its own beside the output, made anew, so that nothing else is overwritten,
    // and locked for as long as the run may write it.
    std::random_device rd;
    int fd = -1;
    for (int attempt = 0; attempt < 32 && fd < 0; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%06u.part", unsigned(rd() % 1000000u));
        m_tempPath = folder + "/." + BaseName(path) + suffix;
        fd = ::open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
        if (fd >= 0 && (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !StillAt(fd, m_tempPath))) {
            // Another run took it for a leftover in the moment before the lock.
            ::close(fd);
            fd = -1;
            errno = EEXIST;
        }
    }
    if (fd < 0) {
        text = "The output folder \"" + folder + "\" cannot be written: " + std::strerror(errno) + ".";
        m_tempPath.clear();
        return NS_E_OUTPUT_UNWRITABLE;
    }
    m_lockFd = fd;
    return S_OK;
}

HRESULT OutputWriter::PrepareEncoders(AVRational frameRate, bool withSound, std::int64_t expectedMs, std::string& text)
{
    const Profile& p = m_settings.profile;
    const VideoProfile& vp = p.video;
    const AVCodec* vcodec = avcodec_find_encoder(VideoCodecId(vp.codec));
    if (!vcodec || vp.width < 16 || vp.height < 16 || vp.width % 2 || vp.height % 2 || vp.bitrate <= 0) {
        text = "The profile \"" + p.name + "\" asks for video that cannot be made (" + vp.codec + " " +
               std::to_string(vp.width) + " x " + std::to_string(vp.height) + ").";
        return NS_E_INVALID_PROFILE;
    }
    int rc = avformat_alloc_output_context2(&m_output, nullptr, "asf", m_tempPath.c_str());
    if (rc < 0 || !m_output) {
        text = "The output cannot be set up: " + AvError(rc) + ".";
        return E_FAIL;
    }
    m_videoEncoder = avcodec_alloc_context3(vcodec);
    if (!m_videoEncoder) {
        text = "The output cannot be set up: " + AvError(AVERROR(ENOMEM)) + ".";
        return E_FAIL;
    }
    m_videoEncoder->width = vp.width;
    m_videoEncoder->height = vp.height;
    m_videoEncoder->pix_fmt = AV_PIX_FMT_YUV420P;
    m_videoEncoder->sample_aspect_ratio = av_make_q(1, 1);
    // The profile's rate on average, with peaks held by its buffer window; lower (and at
    // the last fewer pictures and mono sound) when the whole run must fit a size limit.
    // With a size limit, what the least pictures take decides what else must give.
    const auto keySpacing = [&vp](AVRational rate) {
        return std::max(1, int(std::floor(av_q2d(rate) * std::max(vp.keyFrameSpacingMs, 1) / 1000.0)));
    };
    double coarsestBytes = 0;
    if (m_settings.maxBytes > 0 && expectedMs > 0)
        coarsestBytes = CoarsestBytesPerPicture(
            {m_settings.videoSource, vcodec->name, vp.width, vp.height, keySpacing(frameRate)});
    m_plan = PlanFit(p, frameRate, withSound, m_settings.maxBytes, expectedMs, coarsestBytes);
    frameRate = m_plan.frameRate;
    m_videoEncoder->time_base = av_inv_q(frameRate);
    m_videoEncoder->framerate = frameRate;
    const int videoBitrate = m_plan.videoBitrate;
    m_videoEncoder->bit_rate = videoBitrate;
    // Held to the rate much more tightly when the file must fit: the encoder's own
    // tolerance is several megabits and lets small pictures overshoot by a third.
    if (m_settings.maxBytes > 0)
        m_videoEncoder->bit_rate_tolerance = std::max(1, videoBitrate / 4);
    m_videoEncoder->rc_max_rate = std::int64_t(videoBitrate) * 3 / 2;
    m_videoEncoder->rc_buffer_size = int(
        std::min<std::int64_t>(INT32_MAX, std::int64_t(videoBitrate) * std::max(vp.bufferWindowMs, 1000) / 1000));
    m_videoEncoder->gop_size = keySpacing(frameRate);
    m_videoEncoder->max_b_frames = 0;
    rc = OpenStream(m_output, m_videoEncoder, vcodec, m_videoStream);
    if (rc < 0) {
        text = "The profile's video settings cannot be encoded: " + AvError(rc) + ".";
        return NS_E_INVALID_PROFILE;
    }

    if (m_plan.audio) {
        const AudioProfile& ap = *m_plan.audio;
        const AVCodec* acodec = avcodec_find_encoder(AudioCodecId(ap.codec));
        if (!acodec || ap.sampleRate <= 0 || (ap.channels != 1 && ap.channels != 2) || ap.bitrate <= 0) {
            text = "The profile \"" + p.name + "\" asks for sound that cannot be made (" + ap.codec + ").";
            return NS_E_INVALID_PROFILE;
        }
        m_audioEncoder = avcodec_alloc_context3(acodec);
        if (!m_audioEncoder) {
            text = "The output cannot be set up: " + AvError(AVERROR(ENOMEM)) + ".";
            return E_FAIL;
        }
        m_audioEncoder->sample_rate = ap.sampleRate;
        av_channel_layout_default(&m_audioEncoder->ch_layout, ap.channels);
        m_audioEncoder->sample_fmt = AV_SAMPLE_FMT_FLTP;
        m_audioEncoder->bit_rate = ap.bitrate;
        m_audioEncoder->time_base = av_make_q(1, ap.sampleRate);
        rc = OpenStream(m_output, m_audioEncoder, acodec, m_audioStream);
        if (rc < 0) {
            text = "The profile's sound settings cannot be encoded: " + AvError(rc) + ".";
            return NS_E_INVALID_PROFILE;
        }
    }
    rc = avio_open(&m_output->pb, m_tempPath.c_str(), AVIO_FLAG_WRITE);
    if (rc < 0) {
        text = "The output file cannot be written: " + AvError(rc) + ".";
        return NS_E_OUTPUT_UNWRITABLE;
    }
    return S_OK;
}

std::int64_t OutputWriter::ProjectedFileSize(std::int64_t extraPayload, bool sound, std::int64_t endMs) const
{
    // Everything the muxer passed to the file so far is there to be counted; only the
    // data packet it has open and what the interleaving holds are not.
    DataPackets tail;
    for (const Held& held : m_held)
        tail.Add(held.size, held.sound);
    if (extraPayload > 0)
        tail.Add(extraPayload, sound);
    const std::int64_t written = m_output && m_output->pb ? avio_tell(m_output->pb) : 0;
    return written + (1 + tail.count) * kPacketSize + IndexBytes(std::max(m_writtenMs, endMs));
}

bool OutputWriter::WritePacket(AVPacket* packet, AVCodecContext* encoder, AVStream* stream)
{
    if (m_sizeLimitHit)
        return true;
    const bool sound = encoder == m_audioEncoder;
    const std::int64_t endMs =
        packet->pts == AV_NOPTS_VALUE
            ? m_writtenMs
            : av_rescale_q(packet->pts + std::max<std::int64_t>(packet->duration, 0), encoder->time_base, av_make_q(1, 1000));
    if (m_settings.maxBytes > 0 && ProjectedFileSize(packet->size, sound, endMs) > m_settings.maxBytes) {
        m_sizeLimitHit = true;  // end here: the file with its trailer stays within the limit
        m_run.RequestStop();
        return true;
    }
    if (packet->duration <= 0 && encoder == m_videoEncoder)
        packet->duration = 1;  // one frame: the file's length counts the last picture whole
    if (encoder == m_audioEncoder && m_audioFedEnd != AV_NOPTS_VALUE && packet->pts != AV_NOPTS_VALUE) {
        // The encoder pads its last frame; the file ends where the sound does.
        if (packet->pts >= m_audioFedEnd)
            return true;
        packet->duration = std::min<std::int64_t>(packet->duration, m_audioFedEnd - packet->pts);
    }
    av_packet_rescale_ts(packet, encoder->time_base, stream->time_base);
    packet->stream_index = stream->index;
    const std::int64_t writtenEndMs =
        av_rescale_q(packet->pts + packet->duration, stream->time_base, av_make_q(1, 1000));
    Hold(sound, packet->dts == AV_NOPTS_VALUE ? packet->pts : packet->dts, stream->time_base, packet->size);
    const int rc = av_interleaved_write_frame(m_output, packet);
    if (rc < 0) {
        m_run.Fail(NS_E_ENCODE_FAILED, "Writing the output failed: " + AvError(rc) + ".");
        return false;
    }
    m_writtenMs = std::max(m_writtenMs, writtenEndMs);
    m_stats.milliseconds = m_writtenMs;
    m_stats.bytes = std::max<std::int64_t>(0, avio_tell(m_output->pb));
    return true;
}

bool OutputWriter::Encode(AVCodecContext* encoder, AVStream* stream, AVFrame* frame)
{
    int rc = avcodec_send_frame(encoder, frame);
    if (rc < 0 && rc != AVERROR_EOF) {
        m_run.Fail(NS_E_ENCODE_FAILED, "Encoding failed: " + AvError(rc) + ".");
        return false;
    }
    PacketPtr packet(av_packet_alloc());
    for (;;) {
        rc = avcodec_receive_packet(encoder, packet.get());
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF)
            return true;
        if (rc < 0) {
            m_run.Fail(NS_E_ENCODE_FAILED, "Encoding failed: " + AvError(rc) + ".");
            return false;
        }
        const bool ok = WritePacket(packet.get(), encoder, stream);
        av_packet_unref(packet.get());
        if (!ok)
            return false;
    }
}

// Whether a frame ends within the time limit; the first that does not ends the run.
// The sound encoder's priming moves every stream later in the file by its length.
bool OutputWriter::WithinTimeLimit(const AVFrame* frame, AVRational timeBase, std::int64_t duration)
{
    if (m_settings.maxMilliseconds <= 0 || frame->pts == AV_NOPTS_VALUE)
        return true;
    std::int64_t primingMs = 0;
    if (m_audioEncoder) {
        const int padding =
            m_audioEncoder->initial_padding > 0 ? m_audioEncoder->initial_padding : m_audioEncoder->frame_size;
        primingMs = (std::int64_t(padding) * 1000 + m_audioEncoder->sample_rate - 1) / m_audioEncoder->sample_rate;
    }
    const std::int64_t endMs = av_rescale_q(frame->pts + duration, timeBase, av_make_q(1, 1000));
    if (endMs + primingMs <= m_settings.maxMilliseconds)
        return true;
    m_timeLimitHit = true;
    m_run.RequestStop();
    return false;
}

bool OutputWriter::Begin()
{
    const int rc = avformat_write_header(m_output, nullptr);
    if (rc < 0) {
        m_run.Fail(NS_E_ENCODE_FAILED, "Writing the output failed: " + AvError(rc) + ".");
        return false;
    }
    m_stats.bytes = avio_tell(m_output->pb);
    return true;
}

bool OutputWriter::PutVideo(AVFrame* frame)
{
    if (frame->pts != AV_NOPTS_VALUE && frame->pts < 0)
        return true;
    if (frame->pts != AV_NOPTS_VALUE && m_lastVideoPts != AV_NOPTS_VALUE && frame->pts <= m_lastVideoPts)
        return true;  // a picture for a time already shown
    if (!WithinTimeLimit(frame, m_videoEncoder->time_base, 1))
        return true;
    if (frame->pts != AV_NOPTS_VALUE)
        m_lastVideoPts = frame->pts;
    frame->pict_type = AV_PICTURE_TYPE_NONE;
    return Encode(m_videoEncoder, m_videoStream, frame);
}

bool OutputWriter::PutAudio(AVFrame* frame)
{
    if (!m_audioEncoder || (frame->pts != AV_NOPTS_VALUE && frame->pts < 0))
        return true;
    if (frame->pts != AV_NOPTS_VALUE && m_audioFedEnd != AV_NOPTS_VALUE && frame->pts < m_audioFedEnd)
        frame->pts = m_audioFedEnd;  // sound runs on: an overlap is played after, not over
    if (!WithinTimeLimit(frame, m_audioEncoder->time_base, frame->nb_samples))
        return true;
    if (frame->pts != AV_NOPTS_VALUE)
        m_audioFedEnd = std::max(m_audioFedEnd == AV_NOPTS_VALUE ? 0 : m_audioFedEnd, frame->pts + frame->nb_samples);
    return Encode(m_audioEncoder, m_audioStream, frame);
}

bool OutputWriter::Complete()
{
    if (!Encode(m_videoEncoder, m_videoStream, nullptr))
        return false;
    if (m_audioEncoder && !Encode(m_audioEncoder, m_audioStream, nullptr))
        return false;
    int rc = av_write_trailer(m_output);
    if (rc >= 0)
        rc = avio_closep(&m_output->pb);
    if (rc < 0) {
        m_run.Fail(NS_E_ENCODE_FAILED, "Finishing the output failed: " + AvError(rc) + ".");
        return false;
    }
    if (::rename(m_tempPath.c_str(), m_settings.output.c_str()) != 0) {
        m_run.Fail(NS_E_OUTPUT_UNWRITABLE,
                   "The output file \"" + m_settings.output + "\" cannot be replaced: " + std::strerror(errno) + ".");
        return false;
    }
    m_done = true;
    ReleaseLock();
    struct stat st {};
    if (::stat(m_settings.output.c_str(), &st) == 0)
        m_stats.bytes = st.st_size;
    return true;
}

void OutputWriter::Discard()
{
    if (m_done)
        return;
    if (m_output && m_output->pb)
        avio_closep(&m_output->pb);
    if (!m_tempPath.empty()) {
        ::unlink(m_tempPath.c_str());
        m_tempPath.clear();
    }
    ReleaseLock();
}

void OutputWriter::Hold(bool sound, std::int64_t dts, AVRational timeBase, std::int64_t size)
{
    const std::int64_t us = dts == AV_NOPTS_VALUE ? (m_held.empty() ? 0 : m_held.back().dtsUs)
                                                  : av_rescale_q(dts, timeBase, AV_TIME_BASE_Q);
    m_held.push_back({sound, us, size});
    // Passed on once every stream has a packet waiting: the earliest goes first.
    const auto waiting = [this](bool ofSound) {
        return std::any_of(m_held.begin(), m_held.end(), [ofSound](const Held& h) { return h.sound == ofSound; });
    };
    while (!m_held.empty() && waiting(false) && (!m_audioStream || waiting(true))) {
        const auto earliest = std::min_element(m_held.begin(), m_held.end(),
                                               [](const Held& a, const Held& b) { return a.dtsUs < b.dtsUs; });
        m_held.erase(earliest);
    }
    // A stream that has ended (sound shorter than the pictures) holds nothing back: the
    // muxer passes on what lies more than ten seconds behind the packet just given.
    constexpr std::int64_t kMaxInterleaveUs = 10'000'000;
    std::erase_if(m_held, [&](const Held& h) { return h.dtsUs < us - kMaxInterleaveUs; });
}

void OutputWriter::ReleaseLock()
{
    if (m_lockFd >= 0)
        ::close(m_lockFd);
    m_lockFd = -1;
}

void OutputWriter::Run(const std::function<bool()>& sourceGavePictures)
{
    if (!Begin())
        return;
    Item item;
    bool ended = false;
    while (m_run.filtered.Pop(item)) {
        m_run.gate.Wait();
        if (item.kind == Item::End) {
            ended = true;
            break;
        }
        const bool ok = item.kind == Item::Video ? PutVideo(item.frame.get()) : PutAudio(item.frame.get());
        if (!ok)
            return;
    }
    if (!ended)
        return;  // aborted by a failure
    if (!m_settings.autoStop)
        m_run.WaitForStop();
    if (!sourceGavePictures()) {
        m_run.Fail(NS_E_SOURCE_UNREADABLE, "No picture of the source could be decoded.");
        return;
    }
    Complete();
}

}  // namespace platform::wmenc
