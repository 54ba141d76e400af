#pragma once
// The last stage of a run and the output file: the WMV and WMA encoders, the ASF muxer,
// the output limits, and the file itself. The run writes a hidden temporary file beside
// the output and renames it over the output only once it is complete (trailer written,
// file closed): an existing output stays whole until then, and a run that does not
// finish leaves no file behind. While a run may write its temporary file it holds an
// advisory lock (flock) on it, so that a run killed on the way (whose lock the system
// drops) leaves a file the next run for the same output removes, and a running one's
// file is left alone.
//
// PrepareFile and PrepareEncoders run on the caller's thread before the run; everything
// after belongs to the mux thread (Run), but the RunStats it publishes.

#include "Engine.h"
#include "RunControl.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

namespace platform::wmenc {

// The video bit rate that fits a run of expectedMs, sound at its profile's rate, into
// maxBytes with header, framing and index: never above the profile's rate, never below a
// third of it (below that the stop at the size cuts the run). The profile's rate without
// a size limit or a known length.
int FittedVideoBitrate(const Profile& profile, AVRational frameRate, std::int64_t maxBytes, std::int64_t expectedMs);

// What a size limit makes of the profile. The video rate comes down first; where even
// the least the pictures can be made with (coarsestBytes a picture, measured; 0: not
// known) would not hold the whole run, the sound goes to 32 kbps mono and then the frame
// rate down in steps players handle well (25, 20, 15, 12.5, 10 a second), the first
// setting that holds it. Where none does, the lowest, and the stop at the size cuts.
struct FitPlan {
    AVRational frameRate{0, 1};
    int videoBitrate = 0;
    std::optional<AudioProfile> audio;  // the output's sound; none without
    bool soundLowered = false;
    bool frameRateLowered = false;
};
FitPlan PlanFit(const Profile& profile, AVRational frameRate, bool withSound, std::int64_t maxBytes,
                std::int64_t expectedMs, double coarsestBytes);

class OutputWriter {
public:
    OutputWriter(const EngineSettings& settings, RunStats& stats, RunControl& run);
    // Closes and removes the temporary file of a run that did not finish.
    ~OutputWriter();

    // Checks the output name, removes the temporary files of that output name that no run
    // holds any more, and makes and locks the hidden temporary file beside it.
    HRESULT PrepareFile(std::string& text);
    // Opens the encoders for the profile at frameRate (sound only withSound) and the
    // muxer on the temporary file; with a size limit, the settings are fitted to a run
    // of expectedMs (0: unknown) as PlanFit says, given what the source's pictures take
    // at the coarsest, measured here.
    HRESULT PrepareEncoders(AVRational frameRate, bool withSound, std::int64_t expectedMs, std::string& text);
    // The settings the encoders were opened with.
    const FitPlan& Plan() const { return m_plan; }
    const AVCodecContext* VideoEncoder() const { return m_videoEncoder; }
    const AVCodecContext* AudioEncoder() const { return m_audioEncoder; }  // null without sound

    // The mux thread: writes the filtered frames until the End item, then (once Stop
    // came, without AutoStop) completes the file; sourceGavePictures tells it whether
    // the source gave any picture at all.
    void Run(const std::function<bool()>& sourceGavePictures);

    // The steps of Run, each on the mux thread; false after a failure.
    bool Begin();                    // writes the header
    bool PutVideo(AVFrame* frame);  // in the video encoder's time base
    bool PutAudio(AVFrame* frame);  // in the sound encoder's time base
    // Flushes the encoders, writes the trailer and renames the file into place.
    bool Complete();
    // A run that did not finish: the temporary file goes.
    void Discard();

    bool Done() const { return m_done; }
    // Which limit ended the run, if one did (mux thread, or after it has ended).
    bool SizeLimitHit() const { return m_sizeLimitHit; }
    bool TimeLimitHit() const { return m_timeLimitHit; }
    const std::string& TemporaryPath() const { return m_tempPath; }
    // At most what the finished file would measure if one more packet of extraPayload
    // bytes (sound or picture) ending at endMs were the last one written: what the muxer
    // has put in the file, the data packet it has open, what its interleaving may still
    // hold packed into padded data packets, and the index.
    std::int64_t ProjectedFileSize(std::int64_t extraPayload, bool sound = false, std::int64_t endMs = 0) const;

private:
    bool WithinTimeLimit(const AVFrame* frame, AVRational timeBase, std::int64_t duration);
    bool Encode(AVCodecContext* encoder, AVStream* stream, AVFrame* frame);
    bool WritePacket(AVPacket* packet, AVCodecContext* encoder, AVStream* stream);
    void ReleaseLock();
    void Hold(bool sound, std::int64_t dts, AVRational timeBase, std::int64_t size);

    const EngineSettings& m_settings;
    RunStats& m_stats;  // written here, read by polls on any thread
    RunControl& m_run;

    // Set up before the run; the mux thread's afterwards.
    AVCodecContext* m_videoEncoder = nullptr;
    AVCodecContext* m_audioEncoder = nullptr;
    AVFormatContext* m_output = nullptr;
    AVStream* m_videoStream = nullptr;
    AVStream* m_audioStream = nullptr;
    FitPlan m_plan;
    std::string m_tempPath;
    int m_lockFd = -1;    // the temporary file, locked while the run may write it
    bool m_done = false;  // renamed into place

    // Mux thread only: what was written, for the limits.
    struct Held {
        bool sound;
        std::int64_t dtsUs;
        std::int64_t size;
    };
    // The packets the muxer's interleaving may still hold: it passes a packet on only once
    // every stream has one waiting, the earliest first.
    std::deque<Held> m_held;
    std::int64_t m_writtenMs = 0;
    std::int64_t m_audioFedEnd = AV_NOPTS_VALUE;   // sound encoder time base: end of the sound given to it
    std::int64_t m_lastVideoPts = AV_NOPTS_VALUE;  // video encoder time base
    bool m_sizeLimitHit = false;
    bool m_timeLimitHit = false;
};

}  // namespace platform::wmenc
