// One file's playback: a reading thread and a decoding thread for each kind of stream.
// The three threads stay together here because they share one position (the serial),
// the decoders and the end state; everything that works on its own — the source, the
// packet lanes, the picture converter, the sound stream — lives in its own unit.
#include "FilePlayback.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "PacketLanes.h"
#include "PictureConverter.h"
#include "SoundStream.h"
#include "platform/AvPointers.h"
#include "platform/FFmpegCompat.h"
#include "platform/VideoRotation.h"
#include "platform/source/MediaSource.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace platform::player {
namespace {

constexpr std::int64_t kSecond = 1000000;

using platform::FramePtr;
using platform::PacketPtr;
using platform::kMicroseconds;

}  // namespace

class FilePlayback final : public Playback {
public:
    FilePlayback(std::string path, Notify notify);
    ~FilePlayback() override;

    MediaInfo Info() const override;
    void SetSoundOutput(int rate, int channels, SampleFormat format) override;
    void DropSound() override;
    void SetSystemClock(bool on) override;
    void SetPlaying(bool playing) override;
    void SetFrameArea(int width, int height) override;
    int Seek(std::int64_t targetUs) override;
    int Serial() const override;
    bool PosterShown() const override;
    bool TakeFrame(VideoFrame& out) override;
    bool Finished(std::int64_t& endUs) const override;
    bool ShowedPicture() const override;
    MediaClock& Clock() override;
    PcmFifo& Sound() override;

    struct Impl;

private:
    std::unique_ptr<Impl> m_impl;
};

struct FilePlayback::Impl {
    std::string path;
    Notify notify;

    // Set up by the demux thread before Opened, read-only afterwards.
    MediaSource source;
    AVFormatContext* format = nullptr;  // the source's
    AVCodecContext* videoDecoder = nullptr;
    AVCodecContext* audioDecoder = nullptr;
    int videoIndex = -1, audioIndex = -1;
    std::int64_t startUs = 0;
    std::int64_t frameUs = 40000;  // one picture's length when the stream does not say
    int rotation = 0;              // clockwise degrees that set the picture upright
    mutable std::mutex infoMutex;
    MediaInfo info;

    PacketLanes lanes;
    PcmFifo fifo;
    MediaClock clock;
    std::atomic<bool> aborted{false};
    std::atomic<int> latestSerial{0};
    std::atomic<int> posterSerial{-1};
    std::atomic<bool> systemClock{true};
    std::atomic<bool> playing{true};
    std::atomic<int> areaW{0}, areaH{0};

    // The sound output, decided by the player after Opened.
    std::mutex soundMutex;
    std::condition_variable soundDecided;
    bool soundKnown = false;
    int soundRate = 0, soundChannels = 0;
    SampleFormat soundFormat = SampleFormat::Int16;

    // Where each stage stands for the current serial.
    mutable std::mutex endMutex;
    int demuxEndSerial = -1, videoEndSerial = -1, audioEndSerial = -1;
    std::int64_t videoEndUs = 0, audioEndUs = 0;
    bool soundActive = false;

    std::mutex frameMutex;
    VideoFrame frame;
    std::atomic<bool> framePosted{false};
    std::atomic<bool> showedPicture{false};

    std::thread demuxThread, videoThread, audioThread;

    ~Impl()
    {
        avcodec_free_context(&videoDecoder);
        avcodec_free_context(&audioDecoder);
    }

    static int Interrupt(void* opaque) { return static_cast<Impl*>(opaque)->aborted.load() ? 1 : 0; }

    bool Current(int serial) const { return !aborted && serial == latestSerial.load(); }

    // ---- opening ----

    bool Open()
    {
        MediaSource::Options options;
        options.abort = [this] { return aborted.load(); };
        options.soundWithoutVideo = true;  // a sound file plays with a black panel
        if (source.Open(path, options) != OpenStatus::Opened)
            return false;
        source.LiftDeadline();  // playing reads on for as long as the user listens
        format = source.Format();
        std::string error;
        if (source.Video()) {
            // A preview picture decodes well within its time on one thread; large ones get more.
            const AVCodecParameters* p = source.Video()->codecpar;
            videoDecoder = OpenDecoder(source.Video(), std::int64_t(p->width) * p->height > 1280 * 720 ? 0 : 1, error)
                               .release();
            if (videoDecoder)
                videoIndex = source.VideoIndex();
        }
        if (source.Audio() && (audioDecoder = OpenDecoder(source.Audio(), 1, error).release()))
            audioIndex = source.AudioIndex();
        if (videoIndex < 0 && audioIndex < 0)
            return false;
        for (unsigned i = 0; i < format->nb_streams; ++i)
            if (int(i) != videoIndex && int(i) != audioIndex)
                format->streams[i]->discard = AVDISCARD_ALL;

        startUs = format->start_time != AV_NOPTS_VALUE ? format->start_time : 0;
        MediaInfo in;
        in.hasVideo = videoIndex >= 0;
        in.hasAudio = audioIndex >= 0;
        if (format->duration != AV_NOPTS_VALUE && format->duration > 0)
            in.durationUs = format->duration;
        in.randomAccess = source.RandomAccess();
        in.seekable = in.durationUs > 0 && in.randomAccess;
        if (in.hasVideo) {
            const AVStream* s = format->streams[videoIndex];
            AVRational sar = av_guess_sample_aspect_ratio(format, const_cast<AVStream*>(s), nullptr);
            DisplaySize(s->codecpar->width, s->codecpar->height, sar, in.width, in.height);
            rotation = ClockwiseRotation(s);
            if (SwapsSides(rotation))
                std::swap(in.width, in.height);
            AVRational rate = s->avg_frame_rate.num > 0 ? s->avg_frame_rate : s->r_frame_rate;
            if (rate.num > 0 && rate.den > 0 && av_q2d(rate) >= 1 && av_q2d(rate) <= 240)
                frameUs = av_rescale_q(1, av_inv_q(rate), kMicroseconds);
        }
        if (in.hasAudio) {
            in.audioRate = audioDecoder->sample_rate;
            in.audioChannels = audioDecoder->ch_layout.nb_channels;
        }
        std::lock_guard lock(infoMutex);
        info = in;
        return true;
    }

    // ---- demux ----

    void Seek(const SeekRequest& r)
    {
        const std::int64_t ts = startUs + std::max<std::int64_t>(0, r.targetUs - r.backoffUs);
        int rc = avformat_seek_file(format, -1, INT64_MIN, ts, ts, 0);
        if (rc < 0)
            rc = av_seek_frame(format, -1, ts, AVSEEK_FLAG_BACKWARD);
        if (rc < 0 && !(format->iformat->flags & AVFMT_NO_BYTE_SEEK)) {
            // No time index: a guess by bytes; the decoders discard what comes before the target.
            std::int64_t size = avio_size(format->pb);
            std::int64_t pos = 0;
            if (size > 0 && info.durationUs > 0)
                pos = std::int64_t(double(size) * double(ts - startUs) / double(info.durationUs));
            av_seek_frame(format, -1, std::clamp<std::int64_t>(pos, 0, std::max<std::int64_t>(size, 0)),
                          AVSEEK_FLAG_BYTE | AVSEEK_FLAG_BACKWARD);
        }
    }

    void DemuxLoop()
    {
        if (!Open()) {
            // Nothing stays open for a file that will not play.
            source.Close();
            format = nullptr;
            if (!aborted)
                notify(Event::Failed);
            return;
        }
        lanes.SetActive(PacketLanes::kVideo, videoIndex >= 0);
        lanes.SetActive(PacketLanes::kAudio, audioIndex >= 0);
        if (videoIndex >= 0)
            videoThread = std::thread([this] {
                // The preview's pictures yield to a conversion running beside them: a late
                // picture is dropped, a slower conversion is not. Sound keeps its priority.
                ::setpriority(PRIO_PROCESS, ::gettid(), 10);
                VideoLoop();
            });
        if (audioIndex >= 0)
            audioThread = std::thread([this] { AudioLoop(); });
        notify(Event::Opened);

        PacketPtr packet(av_packet_alloc());
        int serial = 0;
        bool eof = false;
        while (!aborted) {
            SeekRequest request;
            if (lanes.TakeSeek(request)) {
                Seek(request);
                serial = request.serial;
                lanes.Flush(serial, request.targetUs);
                eof = false;
                continue;
            }
            if (eof) {
                lanes.WaitForSeek();
                continue;
            }
            const int rc = av_read_frame(format, packet.get());
            if (rc == AVERROR(EAGAIN)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            if (rc < 0) {  // the end, or damage that ends it: what was read plays
                eof = true;
                {
                    std::lock_guard lock(endMutex);
                    demuxEndSerial = serial;
                }
                lanes.End(serial);
                continue;
            }
            const int lane = packet->stream_index == videoIndex   ? PacketLanes::kVideo
                             : packet->stream_index == audioIndex ? PacketLanes::kAudio
                                                                  : -1;
            if (lane < 0) {
                av_packet_unref(packet.get());
                continue;
            }
            PacketPtr item(av_packet_alloc());
            av_packet_move_ref(item.get(), packet.get());
            lanes.Push(lane, {PacketItem::Packet, std::move(item), serial, 0});
        }
    }

    // ---- pictures ----

    struct VideoState {
        int serial = 0;
        std::int64_t targetUs = 0;
        std::int64_t backoffUs = 0;
        bool needKey = false;
        bool poster = true;  // the first picture of a position is shown at once
        bool awaitingFlush = false;  // asked to read again: what comes before that is stale
        int keyWait = 0;
        FramePtr lastSkipped;  // before the target; shown if nothing comes after it
        std::int64_t lastSkippedUs = 0, lastSkippedDur = 0;
        std::int64_t lastPts = AV_NOPTS_VALUE;
        std::chrono::steady_clock::time_point lastShown{};
        PictureConverter pictures;
    };

    void Deliver(VideoFrame f)
    {
        {
            std::lock_guard lock(frameMutex);
            frame = std::move(f);
        }
        showedPicture = true;
        if (!framePosted.exchange(true))
            notify(Event::Frame);
    }

    // Until the clock reaches the picture's time; false when the position has changed.
    bool WaitForTime(std::int64_t ptsUs, int serial)
    {
        using namespace std::chrono;
        while (Current(serial)) {
            if (clock.Now() >= ptsUs - 2000)
                return true;
            // Every change of the clock wakes this; the limit is only a safety net.
            clock.WaitUntil(ptsUs, steady_clock::now() + milliseconds(clock.Running() ? 50 : 250));
        }
        return false;
    }

    void Show(FramePtr f, std::int64_t us, std::int64_t dur, VideoState& vs)
    {
        VideoFrame out;
        out.image = vs.pictures.Convert(f.get(), format->streams[videoIndex]->sample_aspect_ratio, areaW, areaH,
                                        out.displayWidth, out.displayHeight, rotation);
        if (out.image.isNull())
            return;
        f.reset();
        if (!vs.poster && !WaitForTime(us, vs.serial))
            return;
        if (!Current(vs.serial))
            return;
        out.ptsUs = us;
        out.durationUs = dur;
        out.serial = vs.serial;
        Deliver(std::move(out));
        vs.lastShown = std::chrono::steady_clock::now();
        {
            std::lock_guard lock(endMutex);
            videoEndUs = std::max(videoEndUs, us + dur);
        }
        if (vs.poster) {
            vs.poster = false;
            // Paired with the player's Play: whichever comes second starts the clock.
            posterSerial = vs.serial;
            if (systemClock && playing)
                clock.Run();
        }
    }

    void HandleVideo(FramePtr f, VideoState& vs)
    {
        if (!Current(vs.serial) || vs.awaitingFlush)
            return;
        const AVStream* s = format->streams[videoIndex];
        std::int64_t us;
        if (f->best_effort_timestamp != AV_NOPTS_VALUE)
            us = av_rescale_q(f->best_effort_timestamp, s->time_base, kMicroseconds) - startUs;
        else
            us = vs.lastPts != AV_NOPTS_VALUE ? vs.lastPts + frameUs : vs.targetUs;
        const std::int64_t shown = ffmpeg::FrameDuration(f.get());
        std::int64_t dur = shown > 0 ? av_rescale_q(shown, s->time_base, kMicroseconds) : frameUs;
        if (dur <= 0 || dur > kSecond)
            dur = frameUs;
        vs.lastPts = us;

        if (vs.needKey) {
            // After a jump the first pictures may lack their references: wait for a whole one.
            if (!ffmpeg::IsKeyFrame(f.get()) && ++vs.keyWait < 300)
                return;
            vs.needKey = false;
            // Landed well past the target (no exact index): read again from further back.
            if (us > vs.targetUs + 2 * dur && vs.targetUs > 0 && vs.backoffUs < 8 * kSecond
                && vs.backoffUs < vs.targetUs) {
                const std::int64_t backoff = vs.backoffUs == 0 ? kSecond : vs.backoffUs * 3;
                vs.awaitingFlush = true;
                lanes.RequestSeek({vs.serial, vs.targetUs, backoff});
                vs.backoffUs = backoff;
                return;
            }
        }
        if (us + dur <= vs.targetUs) {
            vs.lastSkipped = std::move(f);
            vs.lastSkippedUs = us;
            vs.lastSkippedDur = dur;
            return;
        }
        vs.lastSkipped.reset();
        if (!vs.poster && clock.Running()) {
            // Late: the next picture is already due. Drop, but keep showing a few a second.
            const auto now = std::chrono::steady_clock::now();
            if (clock.Now() > us + dur && now - vs.lastShown < std::chrono::milliseconds(200))
                return;
        }
        Show(std::move(f), us, dur, vs);
    }

    void DecodeVideo(const AVPacket* packet, VideoState& vs)
    {
        if (avcodec_send_packet(videoDecoder, packet) < 0 && packet)
            return;  // a damaged packet: skip it
        for (;;) {
            FramePtr f(av_frame_alloc());
            if (!f || avcodec_receive_frame(videoDecoder, f.get()) < 0)
                return;
            HandleVideo(std::move(f), vs);
        }
    }

    void VideoLoop()
    {
        VideoState vs;
        PacketItem item;
        while (lanes.Pop(PacketLanes::kVideo, item)) {
            if (item.kind == PacketItem::Flush) {
                avcodec_flush_buffers(videoDecoder);
                const bool again = item.serial == vs.serial;  // read again from further back
                vs.serial = item.serial;
                vs.targetUs = item.targetUs;
                if (!again)
                    vs.backoffUs = 0;
                vs.needKey = true;
                vs.awaitingFlush = false;
                vs.keyWait = 0;
                vs.poster = true;
                vs.lastSkipped.reset();
                vs.lastPts = AV_NOPTS_VALUE;
                std::lock_guard lock(endMutex);
                videoEndUs = item.targetUs;
                continue;
            }
            if (!Current(item.serial) || item.serial != vs.serial || vs.awaitingFlush)
                continue;  // from before a seek
            if (item.kind == PacketItem::Packet) {
                DecodeVideo(item.packet.get(), vs);
                continue;
            }
            DecodeVideo(nullptr, vs);
            if (vs.poster && vs.lastSkipped && Current(vs.serial)) {
                // Sought past the last picture: show the last one there is.
                vs.needKey = false;
                Show(std::move(vs.lastSkipped), vs.lastSkippedUs, vs.lastSkippedDur, vs);
            }
            avcodec_flush_buffers(videoDecoder);
            std::lock_guard lock(endMutex);
            videoEndSerial = item.serial;
        }
    }

    // ---- sound ----

    // The sound of the current position into the FIFO; false when the FIFO was aborted.
    bool HandleAudio(const AVFrame* f, SoundStream& sound)
    {
        if (!Current(sound.Serial()))
            return true;
        const AVStream* s = format->streams[audioIndex];
        const std::int64_t us = f->best_effort_timestamp != AV_NOPTS_VALUE
            ? av_rescale_q(f->best_effort_timestamp, s->time_base, kMicroseconds) - startUs
            : AV_NOPTS_VALUE;
        if (!sound.Put(f, us))
            return false;
        std::lock_guard lock(endMutex);
        audioEndUs = std::max(audioEndUs, sound.EndUs());
        return true;
    }

    bool DecodeAudio(const AVPacket* packet, SoundStream& sound)
    {
        if (avcodec_send_packet(audioDecoder, packet) < 0 && packet)
            return true;
        for (;;) {
            FramePtr f(av_frame_alloc());
            if (!f || avcodec_receive_frame(audioDecoder, f.get()) < 0)
                return true;
            if (!HandleAudio(f.get(), sound))
                return false;
        }
    }

    void AudioLoop()
    {
        {
            std::unique_lock lock(soundMutex);
            soundDecided.wait(lock, [&] { return aborted || soundKnown; });
            if (aborted || soundChannels <= 0 || soundRate <= 0) {
                lock.unlock();
                lanes.SetActive(PacketLanes::kAudio, false);  // no sound output: read past the sound
                return;
            }
        }
        SoundStream sound(fifo, soundRate, soundChannels, soundFormat);
        fifo.SetCapacity(std::size_t(soundRate) * sound.BytesPerFrame() / 2);  // half a second
        PacketItem item;
        while (lanes.Pop(PacketLanes::kAudio, item)) {
            if (item.kind == PacketItem::Flush) {
                avcodec_flush_buffers(audioDecoder);
                if (item.serial == sound.Serial())
                    fifo.Reset(item.serial);  // read again for the same seek: start the sound over
                sound.Restart(item.serial, item.targetUs);
                std::lock_guard lock(endMutex);
                audioEndUs = item.targetUs;
                continue;
            }
            if (!Current(item.serial) || item.serial != sound.Serial())
                continue;
            if (item.kind == PacketItem::Packet) {
                if (!DecodeAudio(item.packet.get(), sound))
                    return;
                continue;
            }
            if (!DecodeAudio(nullptr, sound))
                return;
            avcodec_flush_buffers(audioDecoder);
            fifo.End(item.serial);
            std::lock_guard lock(endMutex);
            audioEndSerial = item.serial;
        }
    }
};

FilePlayback::FilePlayback(std::string path, Notify notify) : m_impl(std::make_unique<Impl>())
{
    // Errors show as a black panel; FFmpeg's own log stays quiet unless asked for.
    static std::once_flag quiet;
    std::call_once(quiet, [] {
        if (!std::getenv("QX_FFMPEG_LOG"))
            av_log_set_level(AV_LOG_QUIET);
    });
    Impl& d = *m_impl;
    d.path = std::move(path);
    d.notify = std::move(notify);
    d.fifo.Reset(0);
    d.clock.Set(0, false);
    d.demuxThread = std::thread([&d] { d.DemuxLoop(); });
}

FilePlayback::~FilePlayback()
{
    Impl& d = *m_impl;
    d.aborted = true;
    d.lanes.Abort();
    d.fifo.Abort();
    d.clock.Wake();
    {
        std::lock_guard lock(d.soundMutex);
        d.soundDecided.notify_all();
    }
    // The demux thread starts the decoders, so it ends first.
    if (d.demuxThread.joinable())
        d.demuxThread.join();
    for (std::thread* t : {&d.videoThread, &d.audioThread})
        if (t->joinable())
            t->join();
}

MediaInfo FilePlayback::Info() const
{
    std::lock_guard lock(m_impl->infoMutex);
    return m_impl->info;
}

void FilePlayback::SetSoundOutput(int rate, int channels, SampleFormat format)
{
    Impl& d = *m_impl;
    std::lock_guard lock(d.soundMutex);
    if (d.soundKnown)
        return;
    d.soundKnown = true;
    d.soundRate = rate;
    d.soundChannels = channels;
    d.soundFormat = format;
    d.soundDecided.notify_all();
    std::lock_guard endLock(d.endMutex);
    d.soundActive = channels > 0 && rate > 0 && d.audioIndex >= 0;
}

void FilePlayback::DropSound()
{
    Impl& d = *m_impl;
    {
        std::lock_guard lock(d.endMutex);
        d.soundActive = false;
    }
    d.lanes.SetActive(PacketLanes::kAudio, false);
    d.fifo.Abort();  // the audio thread ends at its next chunk
}

bool FilePlayback::ShowedPicture() const
{
    return m_impl->showedPicture;
}

void FilePlayback::SetSystemClock(bool on)
{
    m_impl->systemClock = on;
}

void FilePlayback::SetPlaying(bool playing)
{
    m_impl->playing = playing;
}

void FilePlayback::SetFrameArea(int width, int height)
{
    m_impl->areaW = width;
    m_impl->areaH = height;
}

int FilePlayback::Seek(std::int64_t targetUs)
{
    Impl& d = *m_impl;
    const int serial = d.latestSerial + 1;
    d.latestSerial = serial;
    d.fifo.Reset(serial);
    d.clock.Set(targetUs, false);
    d.lanes.RequestSeek({serial, targetUs, 0});
    return serial;
}

int FilePlayback::Serial() const
{
    return m_impl->latestSerial;
}

bool FilePlayback::PosterShown() const
{
    return m_impl->posterSerial == m_impl->latestSerial;
}

bool FilePlayback::TakeFrame(VideoFrame& out)
{
    Impl& d = *m_impl;
    d.framePosted = false;
    std::lock_guard lock(d.frameMutex);
    if (d.frame.image.isNull())
        return false;
    out = std::move(d.frame);
    d.frame = {};
    return out.serial == d.latestSerial;
}

bool FilePlayback::Finished(std::int64_t& endUs) const
{
    const Impl& d = *m_impl;
    const int serial = d.latestSerial;
    std::lock_guard lock(d.endMutex);
    if (d.demuxEndSerial != serial)
        return false;
    if (d.videoIndex >= 0 && d.videoEndSerial != serial)
        return false;
    if (d.soundActive && d.audioEndSerial != serial)
        return false;
    endUs = 0;
    if (d.videoIndex >= 0)
        endUs = d.videoEndUs;
    if (d.soundActive)
        endUs = std::max(endUs, d.audioEndUs);
    if (d.videoIndex < 0 && !d.soundActive) {
        std::lock_guard infoLock(d.infoMutex);
        endUs = d.info.durationUs;  // sound nobody hears: its length from the file
    }
    return true;
}

MediaClock& FilePlayback::Clock()
{
    return m_impl->clock;
}

PcmFifo& FilePlayback::Sound()
{
    return m_impl->fifo;
}

std::unique_ptr<Playback> OpenFilePlayback(std::string path, Playback::Notify notify)
{
    return std::make_unique<FilePlayback>(std::move(path), std::move(notify));
}

}  // namespace platform::player
