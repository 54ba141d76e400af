#include "Engine.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

#include "platform/AvPointers.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace platform::wmenc {
namespace {


std::string AvError(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

using platform::FramePtr;
using platform::PacketPtr;
using platform::kMicroseconds;

struct Item {
    enum Kind { Video, Audio, End } kind = End;
    FramePtr frame;
};

// A queue that blocks the producer when full and the consumer when empty. Abort wakes
// both for good, so a failing stage never leaves another one waiting.
class BoundedQueue {
public:
    explicit BoundedQueue(std::size_t capacity) : m_capacity(capacity) {}

    bool Push(Item item)
    {
        std::unique_lock lock(m_mutex);
        m_notFull.wait(lock, [&] { return m_aborted || m_items.size() < m_capacity; });
        if (m_aborted)
            return false;
        m_items.push_back(std::move(item));
        m_notEmpty.notify_one();
        return true;
    }

    bool Pop(Item& item)
    {
        std::unique_lock lock(m_mutex);
        m_notEmpty.wait(lock, [&] { return m_aborted || !m_items.empty(); });
        if (m_aborted)
            return false;
        item = std::move(m_items.front());
        m_items.pop_front();
        m_notFull.notify_one();
        return true;
    }

    void Abort()
    {
        std::lock_guard lock(m_mutex);
        m_aborted = true;
        m_items.clear();
        m_notFull.notify_all();
        m_notEmpty.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_notFull, m_notEmpty;
    std::deque<Item> m_items;
    std::size_t m_capacity;
    bool m_aborted = false;
};

// Every stage passes it between frames; while paused they all hold there.
class PauseGate {
public:
    void Set(bool paused)
    {
        std::lock_guard lock(m_mutex);
        m_paused = paused;
        m_changed.notify_all();
    }
    void Wait()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return !m_paused; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_paused = false;
};

struct Input {
    AVFormatContext* format = nullptr;
    int videoIndex = -1;
    int audioIndex = -1;
    std::int64_t nextTime = 0;  // AV_TIME_BASE units, for reading two files side by side
    bool eof = false;
    ~Input() { avformat_close_input(&format); }
};

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev
        && sa.st_ino == sb.st_ino;
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string BaseName(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
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

struct Fit {
    int width, height, padX, padY;
};

// The picture scaled into the frame with its display aspect kept, centred, sizes even.
Fit FitInto(int srcW, int srcH, AVRational sar, int frameW, int frameH)
{
    const double aspect = double(srcW) * (sar.num > 0 && sar.den > 0 ? av_q2d(sar) : 1.0) / double(srcH);
    int w = frameW, h = frameH;
    if (aspect >= double(frameW) / frameH)
        h = std::clamp(int(std::lround(frameW / aspect / 2.0)) * 2, 2, frameH);
    else
        w = std::clamp(int(std::lround(frameH * aspect / 2.0)) * 2, 2, frameW);
    return {w, h, ((frameW - w) / 2) & ~1, ((frameH - h) / 2) & ~1};
}

}  // namespace

struct Engine::Impl {
    EngineSettings settings;
    std::shared_ptr<RunStats> stats;

    std::vector<std::unique_ptr<Input>> inputs;
    Input* videoInput = nullptr;
    Input* audioInput = nullptr;
    AVCodecContext* videoDecoder = nullptr;
    AVCodecContext* audioDecoder = nullptr;
    std::int64_t startTime = 0;  // AV_TIME_BASE units; the output starts here

    AVRational frameRate{0, 1};
    int cropL = 0, cropT = 0, cropR = 0, cropB = 0;

    AVFilterGraph* videoGraph = nullptr;
    AVFilterContext* videoSrc = nullptr;
    AVFilterContext* videoSink = nullptr;
    int graphW = 0, graphH = 0, graphFormat = -1;
    std::int64_t lastFedVideoPts = AV_NOPTS_VALUE;
    std::int64_t videoEnd = AV_NOPTS_VALUE;  // source time base: where the pictures fed so far end
    std::int64_t audioEnd = AV_NOPTS_VALUE;

    AVFilterGraph* audioGraph = nullptr;
    AVFilterContext* audioSrc = nullptr;
    AVFilterContext* audioSink = nullptr;
    int graphRate = 0, graphSampleFormat = -1;
    AVChannelLayout graphLayout{};

    AVCodecContext* videoEncoder = nullptr;
    AVCodecContext* audioEncoder = nullptr;
    AVFormatContext* output = nullptr;
    AVStream* videoStream = nullptr;
    AVStream* audioStream = nullptr;
    std::string tempPath;
    bool outputDone = false;  // renamed into place

    BoundedQueue decoded{24};
    BoundedQueue filtered{24};
    PauseGate gate;
    std::thread demuxThread, filterThread, muxThread;
    bool started = false;
    std::atomic<bool> stopRequested{false};
    std::atomic<int> state{WMENC_ENCODER_STOPPED};
    std::mutex stopMutex;
    std::condition_variable stopSignal;

    // Output accounting for the limits.
    std::int64_t headerBytes = 0;
    std::int64_t payloadBytes = 0;
    std::int64_t packetCount = 0;
    std::int64_t writtenMs = 0;
    std::int64_t audioFedEnd = AV_NOPTS_VALUE;  // audio encoder time base: end of the sound given to it
    bool sizeLimitHit = false;
    std::int64_t decodedVideoFrames = 0;
    struct Timeline {
        std::int64_t shift = 0;                // added to the source's timestamps
        std::int64_t next = AV_NOPTS_VALUE;    // where the stream should go on
    } timeline[2];                             // video, sound (decode thread only)
    std::int64_t lastVideoPts = AV_NOPTS_VALUE;  // encoder time base (mux thread only)
    bool videoChainBuilt = false;              // the first chain of the run starts at 0

    mutable std::mutex errorMutex;
    HRESULT error = S_OK;
    std::string errorText;

    ~Impl()
    {
        avcodec_free_context(&videoDecoder);
        avcodec_free_context(&audioDecoder);
        avcodec_free_context(&videoEncoder);
        avcodec_free_context(&audioEncoder);
        avfilter_graph_free(&videoGraph);
        avfilter_graph_free(&audioGraph);
        av_channel_layout_uninit(&graphLayout);
        if (output) {
            avio_closep(&output->pb);
            avformat_free_context(output);
        }
        if (!outputDone && !tempPath.empty())
            ::unlink(tempPath.c_str());
    }

    void Fail(HRESULT code, std::string text)
    {
        {
            std::lock_guard lock(errorMutex);
            if (error == S_OK) {
                error = code;
                errorText = std::move(text);
            }
        }
        stopRequested = true;
        decoded.Abort();
        filtered.Abort();
        stopSignal.notify_all();
    }

    bool Failed() const
    {
        std::lock_guard lock(errorMutex);
        return FAILED(error);
    }

    // ---- preparing ----

    HRESULT OpenInput(const std::string& path, Input*& out, std::string& text)
    {
        for (auto& in : inputs)
            if (SameFile(in->format->url, path)) {
                out = in.get();
                return S_OK;
            }
        auto in = std::make_unique<Input>();
        int rc = avformat_open_input(&in->format, path.c_str(), nullptr, nullptr);
        if (rc < 0) {
            text = "The source file \"" + path + "\" cannot be opened: " + AvError(rc) + ".";
            return NS_E_SOURCE_UNREADABLE;
        }
        rc = avformat_find_stream_info(in->format, nullptr);
        if (rc < 0) {
            text = "The source file \"" + path + "\" cannot be read: " + AvError(rc) + ".";
            return NS_E_SOURCE_UNREADABLE;
        }
        out = in.get();
        inputs.push_back(std::move(in));
        return S_OK;
    }

    static HRESULT OpenDecoder(AVStream* stream, AVCodecContext*& ctx, const std::string& what, std::string& text)
    {
        const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
        if (!codec) {
            text = "The " + what + " of the source is in a format that cannot be decoded ("
                + avcodec_get_name(stream->codecpar->codec_id) + ").";
            return NS_E_SOURCE_UNREADABLE;
        }
        ctx = avcodec_alloc_context3(codec);
        if (!ctx)
            return E_OUTOFMEMORY;
        avcodec_parameters_to_context(ctx, stream->codecpar);
        ctx->pkt_timebase = stream->time_base;
        ctx->thread_count = 2;
        const int rc = avcodec_open2(ctx, codec, nullptr);
        if (rc < 0) {
            text = "The " + what + " of the source cannot be decoded: " + AvError(rc) + ".";
            return NS_E_SOURCE_UNREADABLE;
        }
        return S_OK;
    }

    HRESULT PrepareSource(std::string& text)
    {
        if (settings.videoSource.empty()) {
            text = "No source file is set.";
            return NS_E_NOT_CONFIGURED;
        }
        HRESULT hr = OpenInput(settings.videoSource, videoInput, text);
        if (FAILED(hr))
            return hr;
        AVFormatContext* fmt = videoInput->format;
        for (unsigned i = 0; i < fmt->nb_streams; ++i)
            if (fmt->streams[i]->disposition & AV_DISPOSITION_ATTACHED_PIC)
                fmt->streams[i]->discard = AVDISCARD_ALL;
        int index = -1;
        for (unsigned i = 0; i < fmt->nb_streams; ++i) {
            const AVStream* s = fmt->streams[i];
            if (s->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && !(s->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
                index = av_find_best_stream(fmt, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
                if (index < 0 || (fmt->streams[index]->disposition & AV_DISPOSITION_ATTACHED_PIC))
                    index = int(i);
                break;
            }
        }
        if (index < 0) {
            text = "The source file \"" + settings.videoSource + "\" holds no video.";
            return NS_E_NO_VIDEO_STREAM;
        }
        videoInput->videoIndex = index;
        AVStream* vs = fmt->streams[index];
        if (vs->codecpar->width <= 0 || vs->codecpar->height <= 0) {
            text = "The picture size of the source cannot be read.";
            return NS_E_SOURCE_UNREADABLE;
        }
        hr = OpenDecoder(vs, videoDecoder, "video", text);
        if (FAILED(hr))
            return hr;

        if (settings.profile.audio && !settings.audioSource.empty()) {
            hr = OpenInput(settings.audioSource, audioInput, text);
            if (FAILED(hr))
                return hr;
            const int a = av_find_best_stream(audioInput->format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
            if (a >= 0) {
                audioInput->audioIndex = a;
                hr = OpenDecoder(audioInput->format->streams[a], audioDecoder, "sound", text);
                if (FAILED(hr))
                    return hr;
            } else {
                audioInput = nullptr;  // no sound: a file with video only
            }
        }
        for (auto& in : inputs)
            for (unsigned i = 0; i < in->format->nb_streams; ++i)
                if (int(i) != in->videoIndex && int(i) != in->audioIndex)
                    in->format->streams[i]->discard = AVDISCARD_ALL;

        // The output starts where the earliest stream we take starts.
        startTime = AV_NOPTS_VALUE;
        const auto consider = [&](Input* in, int idx) {
            if (!in || idx < 0)
                return;
            const AVStream* s = in->format->streams[idx];
            if (s->start_time != AV_NOPTS_VALUE) {
                const std::int64_t t = av_rescale_q(s->start_time, s->time_base, kMicroseconds);
                startTime = startTime == AV_NOPTS_VALUE ? t : std::min(startTime, t);
            }
        };
        consider(videoInput, videoInput->videoIndex);
        consider(audioInput, audioInput ? audioInput->audioIndex : -1);
        if (startTime == AV_NOPTS_VALUE)
            startTime = 0;

        // Crop: only positive margins; what is left must be a real picture.
        cropL = std::max(0, settings.cropLeft);
        cropT = std::max(0, settings.cropTop);
        cropR = std::max(0, settings.cropRight);
        cropB = std::max(0, settings.cropBottom);
        const std::int64_t leftW = std::int64_t(vs->codecpar->width) - cropL - cropR;
        const std::int64_t leftH = std::int64_t(vs->codecpar->height) - cropT - cropB;
        if (leftW < 16 || leftH < 16) {
            text = "The cropping margins leave " + std::to_string(std::max<std::int64_t>(leftW, 0)) + " x "
                + std::to_string(std::max<std::int64_t>(leftH, 0)) + " pixels of the " + std::to_string(vs->codecpar->width)
                + " x " + std::to_string(vs->codecpar->height) + " picture; at least 16 x 16 must remain.";
            return NS_E_CROP_TOO_LARGE;
        }

        // The profile's frame rate, never above the source's.
        const VideoProfile& vp = settings.profile.video;
        frameRate = av_make_q(vp.frameRateNum, vp.frameRateDen);
        AVRational source = vs->avg_frame_rate;
        if (source.num <= 0 || source.den <= 0 || av_q2d(source) > 240)
            source = vs->r_frame_rate;
        if (source.num > 0 && source.den > 0 && av_q2d(source) <= 240 && av_cmp_q(source, frameRate) < 0)
            frameRate = source;
        av_reduce(&frameRate.num, &frameRate.den, frameRate.num, frameRate.den, 65535);
        return S_OK;
    }

    HRESULT PrepareOutput(std::string& text)
    {
        const std::string& path = settings.output;
        if (path.empty()) {
            text = "No output file is set.";
            return NS_E_NOT_CONFIGURED;
        }
        for (const std::string& source : {settings.videoSource, settings.audioSource})
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
        // The run writes beside the output and renames at the end, so an existing file
        // stays whole until a complete new one replaces it.
        std::random_device rd;
        int fd = -1;
        for (int attempt = 0; attempt < 32 && fd < 0; ++attempt) {
            char suffix[32];
            std::snprintf(suffix, sizeof suffix, ".%06u.part", unsigned(rd() % 1000000u));
            tempPath = folder + "/." + BaseName(path) + suffix;
            fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0 && errno != EEXIST)
                break;
        }
        if (fd < 0) {
            text = "The output folder \"" + folder + "\" cannot be written: " + std::strerror(errno) + ".";
            tempPath.clear();
            return NS_E_OUTPUT_UNWRITABLE;
        }
        ::close(fd);
        return S_OK;
    }

    HRESULT PrepareEncoders(std::string& text)
    {
        const Profile& p = settings.profile;
        const VideoProfile& vp = p.video;
        const AVCodec* vcodec = avcodec_find_encoder(VideoCodecId(vp.codec));
        if (!vcodec || vp.width < 16 || vp.height < 16 || vp.width % 2 || vp.height % 2 || vp.bitrate <= 0) {
            text = "The profile \"" + p.name + "\" asks for video that cannot be made (" + vp.codec + " "
                + std::to_string(vp.width) + " x " + std::to_string(vp.height) + ").";
            return NS_E_INVALID_PROFILE;
        }
        int rc = avformat_alloc_output_context2(&output, nullptr, "asf", tempPath.c_str());
        if (rc < 0 || !output) {
            text = "The output cannot be set up: " + AvError(rc) + ".";
            return E_FAIL;
        }
        const bool globalHeader = output->oformat->flags & AVFMT_GLOBALHEADER;

        videoEncoder = avcodec_alloc_context3(vcodec);
        videoEncoder->width = vp.width;
        videoEncoder->height = vp.height;
        videoEncoder->pix_fmt = AV_PIX_FMT_YUV420P;
        videoEncoder->sample_aspect_ratio = av_make_q(1, 1);
        videoEncoder->time_base = av_inv_q(frameRate);
        videoEncoder->framerate = frameRate;
        videoEncoder->bit_rate = vp.bitrate;
        // The profile's rate on average, with peaks held by its buffer window.
        videoEncoder->rc_max_rate = std::int64_t(vp.bitrate) * 3 / 2;
        videoEncoder->rc_buffer_size = int(std::min<std::int64_t>(INT32_MAX, std::int64_t(vp.bitrate) * std::max(vp.bufferWindowMs, 1000) / 1000));
        videoEncoder->gop_size = std::max(1, int(std::floor(av_q2d(frameRate) * std::max(vp.keyFrameSpacingMs, 1) / 1000.0)));
        videoEncoder->max_b_frames = 0;
        if (globalHeader)
            videoEncoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        rc = avcodec_open2(videoEncoder, vcodec, nullptr);
        if (rc < 0) {
            text = "The profile's video settings cannot be encoded: " + AvError(rc) + ".";
            return NS_E_INVALID_PROFILE;
        }
        videoStream = avformat_new_stream(output, nullptr);
        avcodec_parameters_from_context(videoStream->codecpar, videoEncoder);
        videoStream->time_base = videoEncoder->time_base;

        if (audioInput && p.audio) {
            const AudioProfile& ap = *p.audio;
            const AVCodec* acodec = avcodec_find_encoder(AudioCodecId(ap.codec));
            if (!acodec || ap.sampleRate <= 0 || (ap.channels != 1 && ap.channels != 2) || ap.bitrate <= 0) {
                text = "The profile \"" + p.name + "\" asks for sound that cannot be made (" + ap.codec + ").";
                return NS_E_INVALID_PROFILE;
            }
            audioEncoder = avcodec_alloc_context3(acodec);
            audioEncoder->sample_rate = ap.sampleRate;
            av_channel_layout_default(&audioEncoder->ch_layout, ap.channels);
            audioEncoder->sample_fmt = AV_SAMPLE_FMT_FLTP;
            audioEncoder->bit_rate = ap.bitrate;
            audioEncoder->time_base = av_make_q(1, ap.sampleRate);
            if (globalHeader)
                audioEncoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
            rc = avcodec_open2(audioEncoder, acodec, nullptr);
            if (rc < 0) {
                text = "The profile's sound settings cannot be encoded: " + AvError(rc) + ".";
                return NS_E_INVALID_PROFILE;
            }
            audioStream = avformat_new_stream(output, nullptr);
            avcodec_parameters_from_context(audioStream->codecpar, audioEncoder);
            audioStream->time_base = audioEncoder->time_base;
        }
        rc = avio_open(&output->pb, tempPath.c_str(), AVIO_FLAG_WRITE);
        if (rc < 0) {
            text = "The output file cannot be written: " + AvError(rc) + ".";
            return NS_E_OUTPUT_UNWRITABLE;
        }
        return S_OK;
    }

    // ---- filters ----

    bool BuildVideoGraph(int width, int height, int format, AVRational sar, std::string& text, bool atStart)
    {
        avfilter_graph_free(&videoGraph);
        videoGraph = avfilter_graph_alloc();
        videoGraph->nb_threads = 1;
        const AVStream* vs = videoInput->format->streams[videoInput->videoIndex];
        if (sar.num <= 0 || sar.den <= 0)
            sar = av_make_q(1, 1);
        char args[512];
        std::snprintf(args, sizeof args, "video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d", width,
                      height, format, vs->time_base.num, vs->time_base.den, sar.num, sar.den);
        int rc = avfilter_graph_create_filter(&videoSrc, avfilter_get_by_name("buffer"), "in", args, nullptr, videoGraph);
        if (rc >= 0)
            rc = avfilter_graph_create_filter(&videoSink, avfilter_get_by_name("buffersink"), "out", nullptr, nullptr,
                                              videoGraph);
        if (rc < 0) {
            text = "The picture chain cannot be built: " + AvError(rc) + ".";
            return false;
        }
        int l = cropL, t = cropT, r = cropR, b = cropB;
        if (width - l - r < 16 || height - t - b < 16)
            l = t = r = b = 0;  // the picture changed size mid-stream: keep it whole
        const int cw = width - l - r, ch = height - t - b;
        const VideoProfile& vp = settings.profile.video;
        const Fit fit = FitInto(cw, ch, sar, vp.width, vp.height);
        char chain[1024];
        std::snprintf(chain, sizeof chain,
                      "yadif=mode=send_frame:deint=interlaced,fps=fps=%d/%d%s,crop=%d:%d:%d:%d:exact=1,"
                      "scale=%d:%d:flags=bicubic,pad=%d:%d:%d:%d:black,setsar=1,format=yuv420p",
                      frameRate.num, frameRate.den, atStart ? ":start_time=0" : "", cw, ch, l, t, fit.width, fit.height, vp.width, vp.height, fit.padX,
                      fit.padY);
        rc = LinkChain(videoGraph, videoSrc, videoSink, chain);
        if (rc < 0) {
            text = "The picture chain cannot be built: " + AvError(rc) + ".";
            return false;
        }
        graphW = width;
        graphH = height;
        graphFormat = format;
        return true;
    }

    static int LinkChain(AVFilterGraph* graph, AVFilterContext* src, AVFilterContext* sink, const char* chain)
    {
        AVFilterInOut* outputs = avfilter_inout_alloc();
        AVFilterInOut* inputs = avfilter_inout_alloc();
        outputs->name = av_strdup("in");
        outputs->filter_ctx = src;
        inputs->name = av_strdup("out");
        inputs->filter_ctx = sink;
        int rc = avfilter_graph_parse_ptr(graph, chain, &inputs, &outputs, nullptr);
        avfilter_inout_free(&inputs);
        avfilter_inout_free(&outputs);
        if (rc >= 0)
            rc = avfilter_graph_config(graph, nullptr);
        return rc;
    }

    bool BuildAudioGraph(const AVFrame* frame, std::string& text)
    {
        avfilter_graph_free(&audioGraph);
        audioGraph = avfilter_graph_alloc();
        audioGraph->nb_threads = 1;
        const AVStream* as = audioInput->format->streams[audioInput->audioIndex];
        AVChannelLayout layout{};
        if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || frame->ch_layout.nb_channels <= 0)
            av_channel_layout_default(&layout, std::max(1, frame->ch_layout.nb_channels));
        else
            av_channel_layout_copy(&layout, &frame->ch_layout);
        char layoutName[128] = {};
        av_channel_layout_describe(&layout, layoutName, sizeof layoutName);
        char args[512];
        std::snprintf(args, sizeof args, "time_base=%d/%d:sample_rate=%d:sample_fmt=%s:channel_layout=%s",
                      as->time_base.num, as->time_base.den, frame->sample_rate,
                      av_get_sample_fmt_name(AVSampleFormat(frame->format)), layoutName);
        int rc = avfilter_graph_create_filter(&audioSrc, avfilter_get_by_name("abuffer"), "in", args, nullptr, audioGraph);
        if (rc >= 0)
            rc = avfilter_graph_create_filter(&audioSink, avfilter_get_by_name("abuffersink"), "out", nullptr, nullptr,
                                              audioGraph);
        if (rc < 0) {
            av_channel_layout_uninit(&layout);
            text = "The sound chain cannot be built: " + AvError(rc) + ".";
            return false;
        }
        char outLayout[64] = {};
        av_channel_layout_describe(&audioEncoder->ch_layout, outLayout, sizeof outLayout);
        char chain[512];
        std::snprintf(chain, sizeof chain, "aresample=%d,aformat=sample_fmts=fltp:sample_rates=%d:channel_layouts=%s",
                      audioEncoder->sample_rate, audioEncoder->sample_rate, outLayout);
        rc = LinkChain(audioGraph, audioSrc, audioSink, chain);
        if (rc >= 0 && audioEncoder->frame_size > 0)
            av_buffersink_set_frame_size(audioSink, unsigned(audioEncoder->frame_size));
        graphRate = frame->sample_rate;
        graphSampleFormat = frame->format;
        av_channel_layout_uninit(&graphLayout);
        av_channel_layout_copy(&graphLayout, &frame->ch_layout);  // as the decoder gives it, to spot changes
        av_channel_layout_uninit(&layout);
        if (rc < 0) {
            text = "The sound chain cannot be built: " + AvError(rc) + ".";
            return false;
        }
        return true;
    }

    // Pulls what the graph has ready into the next queue, stamped in the encoder's time base.
    bool Drain(AVFilterContext* sink, Item::Kind kind)
    {
        const AVRational from = av_buffersink_get_time_base(sink);
        const AVRational to = kind == Item::Video ? videoEncoder->time_base : audioEncoder->time_base;
        for (;;) {
            FramePtr out(av_frame_alloc());
            const int rc = av_buffersink_get_frame(sink, out.get());
            if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF)
                return true;
            if (rc < 0) {
                Fail(NS_E_ENCODE_FAILED, "Filtering failed: " + AvError(rc) + ".");
                return false;
            }
            if (out->pts != AV_NOPTS_VALUE)
                out->pts = av_rescale_q(out->pts, from, to);
            if (!filtered.Push({kind, std::move(out)}))
                return false;
        }
    }

    // Tells a chain its input has ended at endPts (the end of its last frame, so the
    // frame-rate step keeps that frame too) and passes on what it still holds.
    bool EndChain(AVFilterContext* src, AVFilterContext* sink, Item::Kind kind, std::int64_t endPts)
    {
        const int rc = endPts != AV_NOPTS_VALUE ? av_buffersrc_close(src, endPts, AV_BUFFERSRC_FLAG_PUSH)
                                                : av_buffersrc_add_frame(src, nullptr);
        if (rc < 0) {
            Fail(NS_E_ENCODE_FAILED, "Filtering failed at the end: " + AvError(rc) + ".");
            return false;
        }
        return Drain(sink, kind);
    }

    bool FilterVideo(FramePtr frame)
    {
        if (!videoGraph || frame->width != graphW || frame->height != graphH || frame->format != graphFormat) {
            if (videoGraph && !EndChain(videoSrc, videoSink, Item::Video, videoEnd))
                return false;  // the picture changed: the old chain is finished first
            AVRational sar = frame->sample_aspect_ratio;
            if (sar.num <= 0)
                sar = videoInput->format->streams[videoInput->videoIndex]->sample_aspect_ratio;
            std::string text;
            if (!BuildVideoGraph(frame->width, frame->height, frame->format, sar, text, !videoChainBuilt)) {
                Fail(NS_E_ENCODE_FAILED, text);
                return false;
            }
            videoChainBuilt = true;
        }
        if (frame->pts != AV_NOPTS_VALUE) {
            const AVStream* vs = videoInput->format->streams[videoInput->videoIndex];
            std::int64_t step = videoEnd != AV_NOPTS_VALUE && frame->pts > lastFedVideoPts ? frame->pts - lastFedVideoPts : 0;
            const AVRational rate = vs->avg_frame_rate.num > 0 ? vs->avg_frame_rate : vs->r_frame_rate;
            if (step <= 0 && rate.num > 0 && rate.den > 0)
                step = std::max<std::int64_t>(1, av_rescale_q(1, av_inv_q(rate), vs->time_base));
            lastFedVideoPts = frame->pts;
            videoEnd = std::max(videoEnd == AV_NOPTS_VALUE ? 0 : videoEnd, frame->pts + step);
        }
        const int rc = av_buffersrc_add_frame(videoSrc, frame.get());
        if (rc < 0) {
            Fail(NS_E_ENCODE_FAILED, "Filtering the picture failed: " + AvError(rc) + ".");
            return false;
        }
        return Drain(videoSink, Item::Video);
    }

    bool FilterAudio(FramePtr frame)
    {
        if (!audioGraph || frame->sample_rate != graphRate || frame->format != graphSampleFormat
            || av_channel_layout_compare(&frame->ch_layout, &graphLayout) != 0) {
            // The sound changed format: start a new chain. The old one's last part-frame
            // is dropped, since the encoder takes only whole frames before its last.
            std::string text;
            if (!BuildAudioGraph(frame.get(), text)) {
                Fail(NS_E_ENCODE_FAILED, text);
                return false;
            }
        }
        if (frame->pts != AV_NOPTS_VALUE && frame->sample_rate > 0) {
            const AVStream* as = audioInput->format->streams[audioInput->audioIndex];
            const std::int64_t length = av_rescale_q(frame->nb_samples, av_make_q(1, frame->sample_rate), as->time_base);
            audioEnd = std::max(audioEnd == AV_NOPTS_VALUE ? 0 : audioEnd, frame->pts + length);
        }
        const int rc = av_buffersrc_add_frame(audioSrc, frame.get());
        if (rc < 0) {
            Fail(NS_E_ENCODE_FAILED, "Filtering the sound failed: " + AvError(rc) + ".");
            return false;
        }
        return Drain(audioSink, Item::Audio);
    }

    // ---- the three stages ----

    // Timestamps that jump back (joined recordings, restarted clocks) are moved on so
    // that the stream's time keeps running; small stumbles are left to the mux stage.
    std::int64_t Continuous(Item::Kind kind, const AVStream* stream, const AVFrame* frame, std::int64_t pts)
    {
        Timeline& t = timeline[kind == Item::Video ? 0 : 1];
        pts += t.shift;
        std::int64_t length = 0;
        if (kind == Item::Video) {
            const AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
            length = rate.num > 0 && rate.den > 0 ? av_rescale_q(1, av_inv_q(rate), stream->time_base) : 1;
        } else if (frame->sample_rate > 0) {
            length = av_rescale_q(frame->nb_samples, av_make_q(1, frame->sample_rate), stream->time_base);
        }
        const std::int64_t tolerance = std::max<std::int64_t>(2 * length, av_rescale_q(200, av_make_q(1, 1000), stream->time_base));
        if (t.next != AV_NOPTS_VALUE && pts < t.next - tolerance) {
            t.shift += t.next - pts;
            pts = t.next;
        }
        t.next = std::max(t.next == AV_NOPTS_VALUE ? pts : t.next, pts + std::max<std::int64_t>(length, 1));
        return pts;
    }

    bool Decode(AVCodecContext* decoder, const AVPacket* packet, Item::Kind kind, const AVStream* stream)
    {
        if (avcodec_send_packet(decoder, packet) < 0 && packet)
            return true;  // a damaged packet: skip it, as a player would
        const std::int64_t offset = av_rescale_q(startTime, kMicroseconds, stream->time_base);
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
                ++decodedVideoFrames;
            if (!decoded.Push({kind, std::move(frame)}))
                return false;
        }
    }

    void DemuxLoop()
    {
        PacketPtr packet(av_packet_alloc());
        bool ok = true;
        while (ok && !stopRequested) {
            gate.Wait();
            if (stopRequested)
                break;
            Input* in = nullptr;
            for (auto& candidate : inputs)
                if (!candidate->eof && (!in || candidate->nextTime < in->nextTime))
                    in = candidate.get();
            if (!in)
                break;
            if (av_read_frame(in->format, packet.get()) < 0) {
                in->eof = true;  // the end, or a read error: what was read is kept
                continue;
            }
            const AVStream* s = in->format->streams[packet->stream_index];
            if (packet->dts != AV_NOPTS_VALUE)
                in->nextTime = av_rescale_q(packet->dts, s->time_base, kMicroseconds);
            if (in == videoInput && packet->stream_index == in->videoIndex)
                ok = Decode(videoDecoder, packet.get(), Item::Video, s);
            else if (in == audioInput && audioDecoder && packet->stream_index == in->audioIndex)
                ok = Decode(audioDecoder, packet.get(), Item::Audio, s);
            av_packet_unref(packet.get());
        }
        if (ok && !stopRequested) {
            ok = Decode(videoDecoder, nullptr, Item::Video, videoInput->format->streams[videoInput->videoIndex]);
            if (ok && audioDecoder)
                ok = Decode(audioDecoder, nullptr, Item::Audio, audioInput->format->streams[audioInput->audioIndex]);
        }
        if (ok)
            decoded.Push({Item::End, nullptr});
    }

    void FilterLoop()
    {
        Item item;
        while (decoded.Pop(item)) {
            gate.Wait();
            if (item.kind == Item::End) {
                if (videoGraph && !EndChain(videoSrc, videoSink, Item::Video, videoEnd))
                    return;
                if (audioGraph && !EndChain(audioSrc, audioSink, Item::Audio, audioEnd))
                    return;
                filtered.Push({Item::End, nullptr});
                return;
            }
            const bool ok = item.kind == Item::Video ? FilterVideo(std::move(item.frame)) : FilterAudio(std::move(item.frame));
            if (!ok)
                return;
        }
    }

    std::int64_t ProjectedFileSize(std::int64_t extraPayload) const
    {
        // ASF data packets carry a few bytes of framing per payload and are padded to a
        // fixed size; the index at the end holds one small entry per second.
        const std::int64_t packetSize = 3200;
        const std::int64_t payload = payloadBytes + extraPayload + (packetCount + 1) * 24;
        const std::int64_t dataPackets = payload / (packetSize - 32) + 2;
        const std::int64_t indexBytes = 128 + 6 * (writtenMs / 1000 + 4);
        return headerBytes + 50 + dataPackets * packetSize + indexBytes;
    }

    bool WritePacket(AVPacket* packet, AVCodecContext* encoder, AVStream* stream)
    {
        if (sizeLimitHit)
            return true;
        if (settings.maxBytes > 0 && ProjectedFileSize(packet->size) > settings.maxBytes) {
            sizeLimitHit = true;  // end here: the file with its trailer stays within the limit
            stopRequested = true;
            return true;
        }
        if (packet->duration <= 0 && encoder == videoEncoder)
            packet->duration = 1;  // one frame: the file's length counts the last picture whole
        if (encoder == audioEncoder && audioFedEnd != AV_NOPTS_VALUE && packet->pts != AV_NOPTS_VALUE) {
            // The encoder pads its last frame; the file ends where the sound does.
            if (packet->pts >= audioFedEnd)
                return true;
            packet->duration = std::min<std::int64_t>(packet->duration, audioFedEnd - packet->pts);
        }
        av_packet_rescale_ts(packet, encoder->time_base, stream->time_base);
        packet->stream_index = stream->index;
        const std::int64_t endMs =
            av_rescale_q(packet->pts + packet->duration, stream->time_base, av_make_q(1, 1000));
        payloadBytes += packet->size;
        ++packetCount;
        const int rc = av_interleaved_write_frame(output, packet);
        if (rc < 0) {
            Fail(NS_E_ENCODE_FAILED, "Writing the output failed: " + AvError(rc) + ".");
            return false;
        }
        writtenMs = std::max(writtenMs, endMs);
        stats->milliseconds = writtenMs;
        stats->bytes = std::max<std::int64_t>(0, avio_tell(output->pb));
        return true;
    }

    bool Encode(AVCodecContext* encoder, AVStream* stream, AVFrame* frame)
    {
        int rc = avcodec_send_frame(encoder, frame);
        if (rc < 0 && rc != AVERROR_EOF) {
            Fail(NS_E_ENCODE_FAILED, "Encoding failed: " + AvError(rc) + ".");
            return false;
        }
        PacketPtr packet(av_packet_alloc());
        for (;;) {
            rc = avcodec_receive_packet(encoder, packet.get());
            if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF)
                return true;
            if (rc < 0) {
                Fail(NS_E_ENCODE_FAILED, "Encoding failed: " + AvError(rc) + ".");
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
    bool WithinTimeLimit(const AVFrame* frame, AVRational timeBase, std::int64_t duration)
    {
        if (settings.maxMilliseconds <= 0 || frame->pts == AV_NOPTS_VALUE)
            return true;
        std::int64_t primingMs = 0;
        if (audioEncoder) {
            const int padding = audioEncoder->initial_padding > 0 ? audioEncoder->initial_padding : audioEncoder->frame_size;
            primingMs = (std::int64_t(padding) * 1000 + audioEncoder->sample_rate - 1) / audioEncoder->sample_rate;
        }
        const std::int64_t endMs = av_rescale_q(frame->pts + duration, timeBase, av_make_q(1, 1000));
        if (endMs + primingMs <= settings.maxMilliseconds)
            return true;
        stopRequested = true;
        return false;
    }

    void MuxLoop()
    {
        int rc = avformat_write_header(output, nullptr);
        if (rc < 0) {
            Fail(NS_E_ENCODE_FAILED, "Writing the output failed: " + AvError(rc) + ".");
            return;
        }
        headerBytes = avio_tell(output->pb);
        stats->bytes = headerBytes;
        Item item;
        bool ended = false;
        while (filtered.Pop(item)) {
            gate.Wait();
            if (item.kind == Item::End) {
                ended = true;
                break;
            }
            AVFrame* frame = item.frame.get();
            if (item.kind == Item::Video) {
                if (frame->pts != AV_NOPTS_VALUE && frame->pts < 0)
                    continue;
                if (frame->pts != AV_NOPTS_VALUE && lastVideoPts != AV_NOPTS_VALUE && frame->pts <= lastVideoPts)
                    continue;  // a picture for a time already shown
                if (!WithinTimeLimit(frame, videoEncoder->time_base, 1))
                    continue;
                if (frame->pts != AV_NOPTS_VALUE)
                    lastVideoPts = frame->pts;
                frame->pict_type = AV_PICTURE_TYPE_NONE;
                if (!Encode(videoEncoder, videoStream, frame))
                    return;
            } else if (audioEncoder) {
                if (frame->pts != AV_NOPTS_VALUE && frame->pts < 0)
                    continue;
                if (frame->pts != AV_NOPTS_VALUE && audioFedEnd != AV_NOPTS_VALUE && frame->pts < audioFedEnd)
                    frame->pts = audioFedEnd;  // sound runs on: an overlap is played after, not over
                if (!WithinTimeLimit(frame, audioEncoder->time_base, frame->nb_samples))
                    continue;
                if (frame->pts != AV_NOPTS_VALUE)
                    audioFedEnd = std::max(audioFedEnd == AV_NOPTS_VALUE ? 0 : audioFedEnd, frame->pts + frame->nb_samples);
                if (!Encode(audioEncoder, audioStream, frame))
                    return;
            }
        }
        if (!ended)
            return;  // aborted by a failure
        if (!settings.autoStop) {
            std::unique_lock lock(stopMutex);
            stopSignal.wait(lock, [&] { return stopRequested.load(); });
        }
        if (decodedVideoFrames == 0) {
            Fail(NS_E_SOURCE_UNREADABLE, "No picture of the source could be decoded.");
            return;
        }
        if (!Encode(videoEncoder, videoStream, nullptr))
            return;
        if (audioEncoder && !Encode(audioEncoder, audioStream, nullptr))
            return;
        rc = av_write_trailer(output);
        if (rc >= 0)
            rc = avio_closep(&output->pb);
        if (rc < 0) {
            Fail(NS_E_ENCODE_FAILED, "Finishing the output failed: " + AvError(rc) + ".");
            return;
        }
        if (::rename(tempPath.c_str(), settings.output.c_str()) != 0) {
            Fail(NS_E_OUTPUT_UNWRITABLE, "The output file \"" + settings.output + "\" cannot be replaced: "
                                             + std::strerror(errno) + ".");
            return;
        }
        outputDone = true;
        struct stat st {};
        if (::stat(settings.output.c_str(), &st) == 0)
            stats->bytes = st.st_size;
    }

    void Finish()
    {
        // Whatever way the run ended, the other stages must not wait for this one.
        decoded.Abort();
        filtered.Abort();
        if (!outputDone && output && output->pb)
            avio_closep(&output->pb);
        if (!outputDone && !tempPath.empty()) {
            ::unlink(tempPath.c_str());
            tempPath.clear();
        }
        state = WMENC_ENCODER_STOPPED;
    }

    void Join()
    {
        for (std::thread* t : {&demuxThread, &filterThread, &muxThread})
            if (t->joinable())
                t->join();
    }
};

Engine::Engine(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

Engine::~Engine()
{
    Stop();
}

std::unique_ptr<Engine> Engine::Prepare(const EngineSettings& settings, std::shared_ptr<RunStats> stats, HRESULT& hr,
                                        std::string& error)
{
    auto impl = std::make_unique<Impl>();
    impl->settings = settings;
    impl->stats = stats ? std::move(stats) : std::make_shared<RunStats>();
    impl->stats->bytes = 0;
    impl->stats->milliseconds = 0;
    hr = impl->PrepareSource(error);
    if (SUCCEEDED(hr))
        hr = impl->PrepareOutput(error);
    if (SUCCEEDED(hr))
        hr = impl->PrepareEncoders(error);
    if (SUCCEEDED(hr)) {
        // Build the picture chain once now, so that a chain that cannot work is refused here.
        const AVCodecParameters* par = impl->videoInput->format->streams[impl->videoInput->videoIndex]->codecpar;
        const int format = par->format >= 0 ? par->format : AV_PIX_FMT_YUV420P;
        if (!impl->BuildVideoGraph(par->width, par->height, format, par->sample_aspect_ratio, error, true))
            hr = NS_E_SOURCE_UNREADABLE;
        avfilter_graph_free(&impl->videoGraph);
        impl->videoSrc = impl->videoSink = nullptr;
    }
    if (FAILED(hr))
        return nullptr;  // the Impl removes the temporary file it made
    error.clear();
    return std::unique_ptr<Engine>(new Engine(std::move(impl)));
}

HRESULT Engine::Start()
{
    Impl& d = *m_impl;
    int state = WMENC_ENCODER_PAUSED;
    // Compare-and-set, since the run may end by itself on its own thread at any moment.
    if (d.state.compare_exchange_strong(state, WMENC_ENCODER_RUNNING)) {
        d.gate.Set(false);
        return S_OK;
    }
    if (d.started)
        return state == WMENC_ENCODER_RUNNING ? S_FALSE : NS_E_WRONG_STATE;
    if (state != WMENC_ENCODER_STOPPED)
        return NS_E_WRONG_STATE;
    d.started = true;
    d.state = WMENC_ENCODER_RUNNING;
    d.demuxThread = std::thread([&d] { d.DemuxLoop(); });
    d.filterThread = std::thread([&d] { d.FilterLoop(); });
    d.muxThread = std::thread([&d] {
        d.MuxLoop();
        d.Finish();
    });
    return S_OK;
}

HRESULT Engine::Pause()
{
    Impl& d = *m_impl;
    int state = WMENC_ENCODER_RUNNING;
    d.gate.Set(true);
    if (d.state.compare_exchange_strong(state, WMENC_ENCODER_PAUSED))
        return S_OK;
    d.gate.Set(state == WMENC_ENCODER_PAUSED);  // not running: leave the gate as it was
    return state == WMENC_ENCODER_PAUSED ? S_FALSE : NS_E_WRONG_STATE;
}

HRESULT Engine::Stop()
{
    Impl& d = *m_impl;
    {
        std::lock_guard lock(d.stopMutex);
        d.stopRequested = true;
    }
    d.stopSignal.notify_all();
    d.gate.Set(false);
    d.Join();
    if (!d.started)
        d.Finish();  // prepared, never run: no output at all
    d.state = WMENC_ENCODER_STOPPED;
    return S_OK;
}

WMENC_ENCODER_STATE Engine::State() const
{
    return WMENC_ENCODER_STATE(m_impl->state.load());
}

HRESULT Engine::Error() const
{
    std::lock_guard lock(m_impl->errorMutex);
    return m_impl->error;
}

std::string Engine::ErrorText() const
{
    std::lock_guard lock(m_impl->errorMutex);
    return m_impl->errorText;
}

}  // namespace platform::wmenc
