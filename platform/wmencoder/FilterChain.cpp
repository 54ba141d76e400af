#include "FilterChain.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

#include "platform/VideoRotation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace platform::wmenc {
namespace {

int LinkChain(AVFilterGraph* graph, AVFilterContext* src, AVFilterContext* sink, const char* chain)
{
    AVFilterInOut* outputs = avfilter_inout_alloc();
    AVFilterInOut* inputs = avfilter_inout_alloc();
    int rc = AVERROR(ENOMEM);
    if (outputs && inputs && (outputs->name = av_strdup("in")) && (inputs->name = av_strdup("out"))) {
        outputs->filter_ctx = src;
        inputs->filter_ctx = sink;
        rc = avfilter_graph_parse_ptr(graph, chain, &inputs, &outputs, nullptr);
    }
    avfilter_inout_free(&inputs);
    avfilter_inout_free(&outputs);
    if (rc >= 0)
        rc = avfilter_graph_config(graph, nullptr);
    return rc;
}

}  // namespace

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

FilterChain::FilterChain(const SourceReader& source, const AVCodecContext* videoEncoder,
                         const AVCodecContext* audioEncoder, RunControl& run)
    : m_source(source), m_videoEncoder(videoEncoder), m_audioEncoder(audioEncoder), m_run(run)
{
}

FilterChain::~FilterChain()
{
    avfilter_graph_free(&m_videoGraph);
    avfilter_graph_free(&m_audioGraph);
    av_channel_layout_uninit(&m_graphLayout);
}

bool FilterChain::CheckPicture(std::string& text)
{
    const AVCodecParameters* par = m_source.VideoStream()->codecpar;
    const int format = par->format >= 0 ? par->format : AV_PIX_FMT_YUV420P;
    const bool ok = BuildVideoGraph(par->width, par->height, format, par->sample_aspect_ratio, text, true);
    avfilter_graph_free(&m_videoGraph);
    m_videoSrc = m_videoSink = nullptr;
    return ok;
}

bool FilterChain::BuildVideoGraph(int width, int height, int format, AVRational sar, std::string& text, bool atStart)
{
    avfilter_graph_free(&m_videoGraph);
    m_videoGraph = avfilter_graph_alloc();
    if (!m_videoGraph) {
        text = "The picture chain cannot be built: " + AvError(AVERROR(ENOMEM)) + ".";
        return false;
    }
    m_videoGraph->nb_threads = 1;
    const AVStream* vs = m_source.VideoStream();
    if (sar.num <= 0 || sar.den <= 0)
        sar = av_make_q(1, 1);
    char args[512];
    std::snprintf(args, sizeof args, "video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d", width, height,
                  format, vs->time_base.num, vs->time_base.den, sar.num, sar.den);
    int rc = avfilter_graph_create_filter(&m_videoSrc, avfilter_get_by_name("buffer"), "in", args, nullptr, m_videoGraph);
    if (rc >= 0)
        rc = avfilter_graph_create_filter(&m_videoSink, avfilter_get_by_name("buffersink"), "out", nullptr, nullptr,
                                          m_videoGraph);
    if (rc < 0) {
        text = "The picture chain cannot be built: " + AvError(rc) + ".";
        return false;
    }
    // Turned upright first: the cropping margins are on the picture as it is shown.
    const int rotation = m_source.Rotation();
    const char* turn = rotation == 90 ? "transpose=clock," : rotation == 180 ? "hflip,vflip," :
                       rotation == 270 ? "transpose=cclock," : "";
    const int shownW = SwapsSides(rotation) ? height : width;
    const int shownH = SwapsSides(rotation) ? width : height;
    if (SwapsSides(rotation))
        sar = av_make_q(sar.den, sar.num);
    const CropMargins crop = m_source.Crop();
    int l = crop.left, t = crop.top, r = crop.right, b = crop.bottom;
    if (shownW - l - r < 16 || shownH - t - b < 16)
        l = t = r = b = 0;  // the picture changed size mid-stream: keep it whole
    const int cw = shownW - l - r, ch = shownH - t - b;
    const int frameW = m_videoEncoder->width, frameH = m_videoEncoder->height;
    const Fit fit = FitInto(cw, ch, sar, frameW, frameH);
    const AVRational rate = m_source.FrameRate();
    char chain[1024];
    std::snprintf(chain, sizeof chain,
                  "yadif=mode=send_frame:deint=interlaced,%sfps=fps=%d/%d%s,crop=%d:%d:%d:%d:exact=1,"
                  "scale=%d:%d:flags=bicubic,pad=%d:%d:%d:%d:black,setsar=1,format=yuv420p",
                  turn, rate.num, rate.den, atStart ? ":start_time=0" : "", cw, ch, l, t, fit.width, fit.height, frameW,
                  frameH, fit.padX, fit.padY);
    rc = LinkChain(m_videoGraph, m_videoSrc, m_videoSink, chain);
    if (rc < 0) {
        text = "The picture chain cannot be built: " + AvError(rc) + ".";
        return false;
    }
    m_graphW = width;
    m_graphH = height;
    m_graphFormat = format;
    return true;
}

bool FilterChain::BuildAudioGraph(const AVFrame* frame, std::string& text)
{
    avfilter_graph_free(&m_audioGraph);
    m_audioGraph = avfilter_graph_alloc();
    if (!m_audioGraph) {
        text = "The sound chain cannot be built: " + AvError(AVERROR(ENOMEM)) + ".";
        return false;
    }
    m_audioGraph->nb_threads = 1;
    const AVStream* as = m_source.AudioStream();
    AVChannelLayout layout{};
    if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || frame->ch_layout.nb_channels <= 0 ||
        av_channel_layout_copy(&layout, &frame->ch_layout) < 0)
        av_channel_layout_default(&layout, std::max(1, frame->ch_layout.nb_channels));
    char layoutName[128] = {};
    const char* sampleFormat = av_get_sample_fmt_name(AVSampleFormat(frame->format));
    if (av_channel_layout_describe(&layout, layoutName, sizeof layoutName) < 0 || !sampleFormat) {
        av_channel_layout_uninit(&layout);
        text = "The sound of the source is in a form that cannot be converted.";
        return false;
    }
    char args[512];
    std::snprintf(args, sizeof args, "time_base=%d/%d:sample_rate=%d:sample_fmt=%s:channel_layout=%s",
                  as->time_base.num, as->time_base.den, frame->sample_rate, sampleFormat, layoutName);
    int rc = avfilter_graph_create_filter(&m_audioSrc, avfilter_get_by_name("abuffer"), "in", args, nullptr, m_audioGraph);
    if (rc >= 0)
        rc = avfilter_graph_create_filter(&m_audioSink, avfilter_get_by_name("abuffersink"), "out", nullptr, nullptr,
                                          m_audioGraph);
    if (rc < 0) {
        av_channel_layout_uninit(&layout);
        text = "The sound chain cannot be built: " + AvError(rc) + ".";
        return false;
    }
    char outLayout[64] = {};
    if (av_channel_layout_describe(&m_audioEncoder->ch_layout, outLayout, sizeof outLayout) < 0) {
        av_channel_layout_uninit(&layout);
        text = "The sound chain cannot be built: the output's channel layout is unknown.";
        return false;
    }
    char chain[512];
    std::snprintf(chain, sizeof chain, "aresample=%d,aformat=sample_fmts=fltp:sample_rates=%d:channel_layouts=%s",
                  m_audioEncoder->sample_rate, m_audioEncoder->sample_rate, outLayout);
    rc = LinkChain(m_audioGraph, m_audioSrc, m_audioSink, chain);
    if (rc >= 0 && m_audioEncoder->frame_size > 0)
        av_buffersink_set_frame_size(m_audioSink, unsigned(m_audioEncoder->frame_size));
    m_graphRate = frame->sample_rate;
    m_graphSampleFormat = frame->format;
    av_channel_layout_uninit(&m_graphLayout);
    if (rc >= 0)  // as the decoder gives it, to spot changes
        rc = av_channel_layout_copy(&m_graphLayout, &frame->ch_layout);
    av_channel_layout_uninit(&layout);
    if (rc < 0) {
        text = "The sound chain cannot be built: " + AvError(rc) + ".";
        return false;
    }
    return true;
}

// Pulls what the graph has ready into the next queue, stamped in the encoder's time base.
bool FilterChain::Drain(AVFilterContext* sink, Item::Kind kind)
{
    const AVRational from = av_buffersink_get_time_base(sink);
    const AVRational to = kind == Item::Video ? m_videoEncoder->time_base : m_audioEncoder->time_base;
    for (;;) {
        FramePtr out(av_frame_alloc());
        const int rc = av_buffersink_get_frame(sink, out.get());
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF)
            return true;
        if (rc < 0) {
            m_run.Fail(NS_E_ENCODE_FAILED, "Filtering failed: " + AvError(rc) + ".");
            return false;
        }
        if (out->pts != AV_NOPTS_VALUE)
            out->pts = av_rescale_q(out->pts, from, to);
        if (!m_run.filtered.Push({kind, std::move(out)}))
            return false;
    }
}

// Tells a chain its input has ended at endPts (the end of its last frame, so the
// frame-rate step keeps that frame too) and passes on what it still holds.
bool FilterChain::EndChain(AVFilterContext* src, AVFilterContext* sink, Item::Kind kind, std::int64_t endPts)
{
    const int rc = endPts != AV_NOPTS_VALUE ? av_buffersrc_close(src, endPts, AV_BUFFERSRC_FLAG_PUSH)
                                            : av_buffersrc_add_frame(src, nullptr);
    if (rc < 0) {
        m_run.Fail(NS_E_ENCODE_FAILED, "Filtering failed at the end: " + AvError(rc) + ".");
        return false;
    }
    return Drain(sink, kind);
}

bool FilterChain::FilterVideo(FramePtr frame)
{
    const AVStream* vs = m_source.VideoStream();
    if (!m_videoGraph || frame->width != m_graphW || frame->height != m_graphH || frame->format != m_graphFormat) {
        if (m_videoGraph && !EndChain(m_videoSrc, m_videoSink, Item::Video, m_videoEnd))
            return false;  // the picture changed: the old chain is finished first
        AVRational sar = frame->sample_aspect_ratio;
        if (sar.num <= 0)
            sar = vs->sample_aspect_ratio;
        std::string text;
        if (!BuildVideoGraph(frame->width, frame->height, frame->format, sar, text, !m_videoChainBuilt)) {
            m_run.Fail(NS_E_ENCODE_FAILED, text);
            return false;
        }
        m_videoChainBuilt = true;
    }
    if (frame->pts != AV_NOPTS_VALUE) {
        std::int64_t step =
            m_videoEnd != AV_NOPTS_VALUE && frame->pts > m_lastFedVideoPts ? frame->pts - m_lastFedVideoPts : 0;
        const AVRational rate = vs->avg_frame_rate.num > 0 ? vs->avg_frame_rate : vs->r_frame_rate;
        if (step <= 0 && rate.num > 0 && rate.den > 0)
            step = std::max<std::int64_t>(1, av_rescale_q(1, av_inv_q(rate), vs->time_base));
        m_lastFedVideoPts = frame->pts;
        m_videoEnd = std::max(m_videoEnd == AV_NOPTS_VALUE ? 0 : m_videoEnd, frame->pts + step);
    }
    const int rc = av_buffersrc_add_frame(m_videoSrc, frame.get());
    if (rc < 0) {
        m_run.Fail(NS_E_ENCODE_FAILED, "Filtering the picture failed: " + AvError(rc) + ".");
        return false;
    }
    return Drain(m_videoSink, Item::Video);
}

bool FilterChain::FilterAudio(FramePtr frame)
{
    if (!m_audioGraph || frame->sample_rate != m_graphRate || frame->format != m_graphSampleFormat ||
        av_channel_layout_compare(&frame->ch_layout, &m_graphLayout) != 0) {
        // The sound changed format: start a new chain. The old one's last part-frame is
        // dropped, since the encoder takes only whole frames before its last.
        std::string text;
        if (!BuildAudioGraph(frame.get(), text)) {
            m_run.Fail(NS_E_ENCODE_FAILED, text);
            return false;
        }
    }
    if (frame->pts != AV_NOPTS_VALUE && frame->sample_rate > 0) {
        const AVStream* as = m_source.AudioStream();
        const std::int64_t length = av_rescale_q(frame->nb_samples, av_make_q(1, frame->sample_rate), as->time_base);
        m_audioEnd = std::max(m_audioEnd == AV_NOPTS_VALUE ? 0 : m_audioEnd, frame->pts + length);
    }
    const int rc = av_buffersrc_add_frame(m_audioSrc, frame.get());
    if (rc < 0) {
        m_run.Fail(NS_E_ENCODE_FAILED, "Filtering the sound failed: " + AvError(rc) + ".");
        return false;
    }
    return Drain(m_audioSink, Item::Audio);
}

void FilterChain::Run()
{
    Item item;
    while (m_run.decoded.Pop(item)) {
        m_run.gate.Wait();
        if (item.kind == Item::End) {
            if (m_videoGraph && !EndChain(m_videoSrc, m_videoSink, Item::Video, m_videoEnd))
                return;
            if (m_audioGraph && !EndChain(m_audioSrc, m_audioSink, Item::Audio, m_audioEnd))
                return;
            m_run.filtered.Push({Item::End, nullptr});
            return;
        }
        const bool ok =
            item.kind == Item::Video ? FilterVideo(std::move(item.frame)) : FilterAudio(std::move(item.frame));
        if (!ok)
            return;
    }
}

}  // namespace platform::wmenc
