#include "Playback.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include "FileSource.h"
#include "platform/AvPointers.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <thread>

namespace platform::player {
namespace {

constexpr std::int64_t kSecond = 1000000;

using platform::FramePtr;
using platform::PacketPtr;
using platform::kMicroseconds;

struct PacketItem {
    enum Kind { Packet, Flush, End } kind = End;
    PacketPtr packet;
    int serial = 0;
    std::int64_t targetUs = 0;  // Flush: where the new position starts
};

struct SeekRequest {
    int serial = 0;
    std::int64_t targetUs = 0;
    std::int64_t backoffUs = 0;  // read from this much before the target
};

// The packet queues between the demux thread and the two decoders. A full queue holds
// the demux back only while the other decoder still has work; otherwise a badly
// interleaved file would stall both. A hard limit on bytes keeps memory bounded.
class PacketLanes {
public:
    static constexpr int kVideo = 0, kAudio = 1;

    void SetActive(int lane, bool active)
    {
        std::lock_guard lock(m_mutex);
        Lane& l = m_lanes[lane];
        l.active = active;
        if (!active)
            Clear(l);
        m_changed.notify_all();
    }

    // False when aborted or when a seek waits; the packet is dropped then.
    bool Push(int lane, PacketItem item)
    {
        std::unique_lock lock(m_mutex);
        Lane& l = m_lanes[lane];
        const Lane& other = m_lanes[1 - lane];
        m_changed.wait(lock, [&] {
            if (m_aborted || m_seek || !l.active)
                return true;
            if (m_bytes >= kHardLimitBytes)
                return false;
            return l.packets < kPackets[lane] || (other.active && other.packets == 0);
        });
        if (m_aborted || m_seek)
            return false;
        if (!l.active)
            return true;
        if (item.packet) {
            m_bytes += std::size_t(item.packet->size);
            ++l.packets;
        }
        l.items.push_back(std::move(item));
        m_changed.notify_all();
        return true;
    }

    bool Pop(int lane, PacketItem& out)
    {
        std::unique_lock lock(m_mutex);
        Lane& l = m_lanes[lane];
        m_changed.wait(lock, [&] { return m_aborted || !l.items.empty(); });
        if (m_aborted)
            return false;
        out = std::move(l.items.front());
        l.items.pop_front();
        if (out.packet) {
            m_bytes -= std::size_t(out.packet->size);
            --l.packets;
        }
        m_changed.notify_all();
        return true;
    }

    // A newer request replaces a waiting one; an older one (a decoder asking to read
    // again from further back for a seek that has since been overtaken) is ignored.
    void RequestSeek(SeekRequest request)
    {
        std::lock_guard lock(m_mutex);
        if (request.serial < m_latestRequested)
            return;
        m_latestRequested = request.serial;
        m_seek = true;
        m_request = request;
        m_changed.notify_all();
    }

    bool TakeSeek(SeekRequest& out)
    {
        std::lock_guard lock(m_mutex);
        if (!m_seek)
            return false;
        m_seek = false;
        out = m_request;
        return true;
    }

    // At the end of the file the demux waits here for a seek or the end of playback.
    void WaitForSeek()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_aborted || m_seek; });
    }

    // After the demux has moved: what was queued belongs to the old position.
    void Flush(int serial, std::int64_t targetUs)
    {
        std::lock_guard lock(m_mutex);
        for (Lane& l : m_lanes) {
            Clear(l);
            if (l.active)
                l.items.push_back({PacketItem::Flush, nullptr, serial, targetUs});
        }
        m_changed.notify_all();
    }

    void End(int serial)
    {
        std::lock_guard lock(m_mutex);
        for (Lane& l : m_lanes)
            if (l.active)
                l.items.push_back({PacketItem::End, nullptr, serial, 0});
        m_changed.notify_all();
    }

    void Abort()
    {
        std::lock_guard lock(m_mutex);
        m_aborted = true;
        for (Lane& l : m_lanes)
            Clear(l);
        m_changed.notify_all();
    }

private:
    struct Lane {
        std::deque<PacketItem> items;
        std::size_t packets = 0;
        bool active = false;
    };
    static constexpr std::size_t kPackets[2] = {64, 96};
    static constexpr std::size_t kHardLimitBytes = 48u << 20;

    void Clear(Lane& l)
    {
        for (const PacketItem& item : l.items)
            if (item.packet)
                m_bytes -= std::size_t(item.packet->size);
        l.items.clear();
        l.packets = 0;
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    Lane m_lanes[2];
    std::size_t m_bytes = 0;
    bool m_aborted = false;
    bool m_seek = false;
    SeekRequest m_request;
    int m_latestRequested = 0;
};

AVSampleFormat AvSampleFormat(SampleFormat f)
{
    return f == SampleFormat::Float ? AV_SAMPLE_FMT_FLT : AV_SAMPLE_FMT_S16;
}

}  // namespace

struct Playback::Impl {
    std::string path;
    Notify notify;

    // Set up by the demux thread before Opened, read-only afterwards.
    FileSource source;
    AVFormatContext* format = nullptr;  // the source's
    AVCodecContext* videoDecoder = nullptr;
    AVCodecContext* audioDecoder = nullptr;
    int videoIndex = -1, audioIndex = -1;
    std::int64_t startUs = 0;
    std::int64_t frameUs = 40000;  // one picture's length when the stream does not say
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

    static AVCodecContext* OpenDecoder(const AVStream* stream, bool video)
    {
        const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
        if (!codec)
            return nullptr;
        AVCodecContext* ctx = avcodec_alloc_context3(codec);
        if (!ctx)
            return nullptr;
        avcodec_parameters_to_context(ctx, stream->codecpar);
        ctx->pkt_timebase = stream->time_base;
        // A preview picture decodes well within its time on one thread; large ones get more.
        ctx->thread_count = video && std::int64_t(ctx->width) * ctx->height > 1280 * 720 ? 0 : 1;
        if (avcodec_open2(ctx, codec, nullptr) < 0)
            avcodec_free_context(&ctx);
        return ctx;
    }

    bool Open()
    {
        if (!source.Open(path, {&Interrupt, this}) || aborted)
            return false;
        format = source.Format();

        for (unsigned i = 0; i < format->nb_streams; ++i)
            if (format->streams[i]->disposition & AV_DISPOSITION_ATTACHED_PIC)
                format->streams[i]->discard = AVDISCARD_ALL;  // cover art is not video
        int v = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        if (v >= 0 && (format->streams[v]->disposition & AV_DISPOSITION_ATTACHED_PIC))
            v = -1;
        if (v >= 0 && format->streams[v]->codecpar->width > 0 && format->streams[v]->codecpar->height > 0
            && (videoDecoder = OpenDecoder(format->streams[v], true)))
            videoIndex = v;
        const int a = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, videoIndex, nullptr, 0);
        if (a >= 0 && format->streams[a]->codecpar->sample_rate > 0
            && (audioDecoder = OpenDecoder(format->streams[a], false)))
            audioIndex = a;
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

    static void DisplaySize(int w, int h, AVRational sar, int& outW, int& outH)
    {
        outW = w;
        outH = h;
        if (sar.num > 0 && sar.den > 0 && av_cmp_q(sar, av_make_q(1, 1)) != 0) {
            const double width = double(w) * sar.num / sar.den;
            if (width >= 1 && width <= 16384)
                outW = int(std::lround(width));
        }
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
            videoThread = std::thread([this] { VideoLoop(); });
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
        // Scaling the planes first and converting to RGB at the final size is several
        // times cheaper than one scaling conversion at widths the scaler has no fast path for.
        SwsContext* scale = nullptr;
        SwsContext* convert = nullptr;
        int colorspace = -1, range = -1;
        std::uint8_t* planes[4] = {};
        int planeStrides[4] = {};
        int planesW = 0, planesH = 0, planesFormat = -1;
        // Pictures are drawn into buffers the GUI has let go of: a fresh buffer for
        // every picture costs more in page faults than the conversion itself.
        QImage buffers[3];
        ~VideoState()
        {
            sws_freeContext(scale);
            sws_freeContext(convert);
            av_freep(&planes[0]);
        }

        bool Planes(int w, int h, AVPixelFormat format)
        {
            if (planes[0] && w == planesW && h == planesH && format == planesFormat)
                return true;
            av_freep(&planes[0]);
            if (av_image_alloc(planes, planeStrides, w, h, format, 64) < 0)
                return false;
            planesW = w;
            planesH = h;
            planesFormat = format;
            return true;
        }

        QImage& Buffer(int w, int h)
        {
            for (QImage& b : buffers)
                if (b.width() == w && b.height() == h && b.isDetached())
                    return b;
            for (QImage& b : buffers)
                if (b.isNull() || b.isDetached() || b.width() != w || b.height() != h)
                    return b = Allocate(w, h);
            return buffers[0] = Allocate(w, h);
        }

        // Rows start on 64-byte boundaries: the scaler's fast paths need aligned rows,
        // and a picture fitted to the panel has any width.
        static QImage Allocate(int w, int h)
        {
            const qsizetype stride = (qsizetype(w) * 4 + 63) & ~qsizetype(63);
            auto* data = static_cast<uchar*>(av_malloc(std::size_t(stride) * std::size_t(h)));
            if (!data)
                return {};
            return QImage(data, w, h, stride, QImage::Format_RGB32, [](void* p) { av_free(p); }, data);
        }
    };

    QImage Convert(const AVFrame* f, VideoState& vs, int& dw, int& dh)
    {
        AVRational sar = f->sample_aspect_ratio;
        if (sar.num <= 0 || sar.den <= 0)
            sar = format->streams[videoIndex]->sample_aspect_ratio;
        DisplaySize(f->width, f->height, sar, dw, dh);
        // Down to the panel, never up.
        const int aw = areaW, ah = areaH;
        double scale = 1.0;
        if (aw > 0 && ah > 0)
            scale = std::min({1.0, double(aw) / dw, double(ah) / dh});
        const int tw = std::max(1, int(std::lround(dw * scale)));
        const int th = std::max(1, int(std::lround(dh * scale)));
        const AVPixelFormat source = AVPixelFormat(f->format);
        const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(source);
        const bool twoSteps = (tw != f->width || th != f->height) && desc && (desc->flags & AV_PIX_FMT_FLAG_PLANAR)
            && !(desc->flags & AV_PIX_FMT_FLAG_RGB) && desc->nb_components >= 3;
        const std::uint8_t* const* data = f->data;
        const int* strides = f->linesize;
        int w = f->width, h = f->height;
        if (twoSteps) {
            vs.scale = sws_getCachedContext(vs.scale, f->width, f->height, source, tw, th, source, SWS_BILINEAR,
                                            nullptr, nullptr, nullptr);
            if (!vs.scale || !vs.Planes(tw, th, source)
                || sws_scale(vs.scale, f->data, f->linesize, 0, f->height, vs.planes, vs.planeStrides) <= 0)
                return {};
            data = vs.planes;
            strides = vs.planeStrides;
            w = tw;
            h = th;
        }
        SwsContext* before = vs.convert;
        vs.convert = sws_getCachedContext(vs.convert, w, h, source, tw, th, AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr,
                                          nullptr, nullptr);
        if (!vs.convert)
            return {};
        const int colorspace = f->colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_DEFAULT;
        const int range = f->color_range == AVCOL_RANGE_JPEG ? 1 : 0;
        if (vs.convert != before || colorspace != vs.colorspace || range != vs.range) {
            int* invTable = nullptr;
            int* table = nullptr;
            int srcRange = 0, dstRange = 0, brightness = 0, contrast = 0, saturation = 0;
            if (sws_getColorspaceDetails(vs.convert, &invTable, &srcRange, &table, &dstRange, &brightness, &contrast,
                                         &saturation)
                >= 0)
                sws_setColorspaceDetails(vs.convert, sws_getCoefficients(colorspace), range || srcRange, table, 1,
                                         brightness, contrast, saturation);
            vs.colorspace = colorspace;
            vs.range = range;
        }
        QImage& image = vs.Buffer(tw, th);
        if (image.isNull())
            return {};
        // Held by the ring alone, so bits() writes in place rather than copying.
        std::uint8_t* dst[4] = {image.bits(), nullptr, nullptr, nullptr};
        int dstStride[4] = {int(image.bytesPerLine()), 0, 0, 0};
        if (sws_scale(vs.convert, data, strides, 0, h, dst, dstStride) <= 0)
            return {};
        return image;  // a second reference: the buffer stays busy until the GUI drops it
    }

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
        out.image = Convert(f.get(), vs, out.displayWidth, out.displayHeight);
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
        std::int64_t dur = f->pkt_duration > 0 ? av_rescale_q(f->pkt_duration, s->time_base, kMicroseconds) : frameUs;
        if (dur <= 0 || dur > kSecond)
            dur = frameUs;
        vs.lastPts = us;

        if (vs.needKey) {
            // After a jump the first pictures may lack their references: wait for a whole one.
            if (!f->key_frame && ++vs.keyWait < 300)
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

    struct AudioState {
        int serial = 0;
        std::int64_t targetUs = 0;
        std::int64_t nextUs = 0;  // where the sound pushed so far ends
        SwrContext* swr = nullptr;
        int inRate = 0, inFormat = -1;
        AVChannelLayout inLayout{};
        ~AudioState()
        {
            swr_free(&swr);
            av_channel_layout_uninit(&inLayout);
        }
    };

    int BytesPerFrame() const
    {
        return soundChannels * (soundFormat == SampleFormat::Float ? 4 : 2);
    }

    bool PushSilence(std::int64_t fromUs, std::int64_t toUs, int serial)
    {
        const int bpf = BytesPerFrame();
        while (fromUs < toUs) {
            const std::int64_t step = std::min<std::int64_t>(toUs - fromUs, 100000);
            const std::int64_t frames = std::max<std::int64_t>(1, step * soundRate / kSecond);
            if (!fifo.Push(serial, fromUs, std::vector<std::uint8_t>(std::size_t(frames * bpf), 0)))
                return false;
            fromUs += frames * kSecond / soundRate;
        }
        return true;
    }

    bool HandleAudio(AVFrame* f, AudioState& as)
    {
        if (!Current(as.serial))
            return true;
        if (!as.swr || f->sample_rate != as.inRate || f->format != as.inFormat
            || av_channel_layout_compare(&f->ch_layout, &as.inLayout) != 0) {
            swr_free(&as.swr);
            AVChannelLayout in{}, out{};
            if (f->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || f->ch_layout.nb_channels <= 0)
                av_channel_layout_default(&in, std::max(1, f->ch_layout.nb_channels));
            else
                av_channel_layout_copy(&in, &f->ch_layout);
            av_channel_layout_default(&out, soundChannels);
            const int rc = swr_alloc_set_opts2(&as.swr, &out, AvSampleFormat(soundFormat), soundRate, &in,
                                               AVSampleFormat(f->format), f->sample_rate, 0, nullptr);
            av_channel_layout_uninit(&in);
            av_channel_layout_uninit(&out);
            if (rc < 0 || swr_init(as.swr) < 0) {
                swr_free(&as.swr);
                return true;  // this part of the sound cannot be converted: skip it
            }
            as.inRate = f->sample_rate;
            as.inFormat = f->format;
            av_channel_layout_uninit(&as.inLayout);
            av_channel_layout_copy(&as.inLayout, &f->ch_layout);
        }
        const AVStream* s = format->streams[audioIndex];
        std::int64_t us = f->best_effort_timestamp != AV_NOPTS_VALUE
            ? av_rescale_q(f->best_effort_timestamp, s->time_base, kMicroseconds) - startUs
            : as.nextUs;
        const int bpf = BytesPerFrame();
        const int capacity = swr_get_out_samples(as.swr, f->nb_samples);
        if (capacity <= 0)
            return true;
        std::vector<std::uint8_t> data(std::size_t(capacity) * bpf);
        std::uint8_t* out[1] = {data.data()};
        const int n = swr_convert(as.swr, out, capacity, const_cast<const std::uint8_t**>(f->extended_data),
                                  f->nb_samples);
        if (n <= 0)
            return true;
        data.resize(std::size_t(n) * bpf);

        // Keep one unbroken line of sound from the position on: fill gaps with silence,
        // cut what overlaps or lies before the target.
        constexpr std::int64_t kSlackUs = 30000;
        if (us > as.nextUs + kSlackUs && us - as.nextUs < 10 * kSecond) {
            if (!PushSilence(as.nextUs, us, as.serial))
                return false;
        } else if (us < as.nextUs - kSlackUs) {
            const std::int64_t cutFrames = (as.nextUs - us) * soundRate / kSecond;
            if (cutFrames >= n)
                return true;
            data.erase(data.begin(), data.begin() + std::ptrdiff_t(cutFrames * bpf));
            us = as.nextUs;
        }
        const std::int64_t endUs = us + std::int64_t(data.size() / std::size_t(bpf)) * kSecond / soundRate;
        if (!fifo.Push(as.serial, us, std::move(data)))
            return false;
        as.nextUs = endUs;
        std::lock_guard lock(endMutex);
        audioEndUs = std::max(audioEndUs, endUs);
        return true;
    }

    bool DecodeAudio(const AVPacket* packet, AudioState& as)
    {
        if (avcodec_send_packet(audioDecoder, packet) < 0 && packet)
            return true;
        for (;;) {
            FramePtr f(av_frame_alloc());
            if (!f || avcodec_receive_frame(audioDecoder, f.get()) < 0)
                return true;
            if (!HandleAudio(f.get(), as))
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
        fifo.SetCapacity(std::size_t(soundRate) * std::size_t(BytesPerFrame()) / 2);  // half a second
        AudioState as;
        PacketItem item;
        while (lanes.Pop(PacketLanes::kAudio, item)) {
            if (item.kind == PacketItem::Flush) {
                avcodec_flush_buffers(audioDecoder);
                swr_free(&as.swr);
                if (item.serial == as.serial)
                    fifo.Reset(item.serial);  // read again for the same seek: start the sound over
                as.serial = item.serial;
                as.targetUs = as.nextUs = item.targetUs;
                std::lock_guard lock(endMutex);
                audioEndUs = item.targetUs;
                continue;
            }
            if (!Current(item.serial) || item.serial != as.serial)
                continue;
            if (item.kind == PacketItem::Packet) {
                if (!DecodeAudio(item.packet.get(), as))
                    return;
                continue;
            }
            if (!DecodeAudio(nullptr, as))
                return;
            avcodec_flush_buffers(audioDecoder);
            fifo.End(item.serial);
            std::lock_guard lock(endMutex);
            audioEndSerial = item.serial;
        }
    }
};

Playback::Playback(std::string path, Notify notify) : m_impl(std::make_unique<Impl>())
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

Playback::~Playback()
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

MediaInfo Playback::Info() const
{
    std::lock_guard lock(m_impl->infoMutex);
    return m_impl->info;
}

void Playback::SetSoundOutput(int rate, int channels, SampleFormat format)
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

void Playback::DropSound()
{
    Impl& d = *m_impl;
    {
        std::lock_guard lock(d.endMutex);
        d.soundActive = false;
    }
    d.lanes.SetActive(PacketLanes::kAudio, false);
    d.fifo.Abort();  // the audio thread ends at its next chunk
}

bool Playback::ShowedPicture() const
{
    return m_impl->showedPicture;
}

void Playback::SetSystemClock(bool on)
{
    m_impl->systemClock = on;
}

void Playback::SetPlaying(bool playing)
{
    m_impl->playing = playing;
}

void Playback::SetFrameArea(int width, int height)
{
    m_impl->areaW = width;
    m_impl->areaH = height;
}

int Playback::Seek(std::int64_t targetUs)
{
    Impl& d = *m_impl;
    const int serial = d.latestSerial + 1;
    d.latestSerial = serial;
    d.fifo.Reset(serial);
    d.clock.Set(targetUs, false);
    d.lanes.RequestSeek({serial, targetUs, 0});
    return serial;
}

int Playback::Serial() const
{
    return m_impl->latestSerial;
}

bool Playback::PosterShown() const
{
    return m_impl->posterSerial == m_impl->latestSerial;
}

bool Playback::TakeFrame(VideoFrame& out)
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

bool Playback::Finished(std::int64_t& endUs) const
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

MediaClock& Playback::Clock()
{
    return m_impl->clock;
}

PcmFifo& Playback::Sound()
{
    return m_impl->fifo;
}

}  // namespace platform::player
