#pragma once
// The second stage of a run: the picture chain (deinterlace, the profile's frame rate,
// crop, scale keeping the display aspect, black bars, yuv420p) and the sound chain
// (resample to the profile's rate and channels, cut into the encoder's frame size),
// stamped in the encoders' time bases. A picture or sound that changes format in the
// middle of the source gets a new chain, without the clock starting again.
//
// Everything here belongs to the filter thread (Run), but CheckPicture, which runs on
// the caller's thread before the run.

#include "RunControl.h"
#include "SourceReader.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
}

#include <string>

namespace platform::wmenc {

// The picture scaled into the frame with its display aspect kept, centred, sizes even.
struct Fit {
    int width, height, padX, padY;
};
Fit FitInto(int srcW, int srcH, AVRational sar, int frameW, int frameH);

class FilterChain {
public:
    // audioEncoder is null for a run without sound.
    FilterChain(const SourceReader& source, const AVCodecContext* videoEncoder, const AVCodecContext* audioEncoder,
                RunControl& run);
    ~FilterChain();

    // Builds the picture chain for the source's first format once, so that a chain that
    // cannot work is refused before the run; false with a text.
    bool CheckPicture(std::string& text);

    // The filter thread: until the End item, a stop or a failure.
    void Run();

private:
    bool BuildVideoGraph(int width, int height, int format, AVRational sar, std::string& text, bool atStart);
    bool BuildAudioGraph(const AVFrame* frame, std::string& text);
    bool Drain(AVFilterContext* sink, Item::Kind kind);
    bool EndChain(AVFilterContext* src, AVFilterContext* sink, Item::Kind kind, std::int64_t endPts);
    bool FilterVideo(FramePtr frame);
    bool FilterAudio(FramePtr frame);

    const SourceReader& m_source;
    const AVCodecContext* m_videoEncoder;
    const AVCodecContext* m_audioEncoder;
    RunControl& m_run;

    AVFilterGraph* m_videoGraph = nullptr;
    AVFilterContext* m_videoSrc = nullptr;
    AVFilterContext* m_videoSink = nullptr;
    int m_graphW = 0, m_graphH = 0, m_graphFormat = -1;
    bool m_videoChainBuilt = false;  // the first chain of the run starts at time 0
    std::int64_t m_lastFedVideoPts = AV_NOPTS_VALUE;
    std::int64_t m_videoEnd = AV_NOPTS_VALUE;  // source time base: where the pictures fed so far end

    AVFilterGraph* m_audioGraph = nullptr;
    AVFilterContext* m_audioSrc = nullptr;
    AVFilterContext* m_audioSink = nullptr;
    int m_graphRate = 0, m_graphSampleFormat = -1;
    AVChannelLayout m_graphLayout{};
    std::int64_t m_audioEnd = AV_NOPTS_VALUE;
};

}  // namespace platform::wmenc
