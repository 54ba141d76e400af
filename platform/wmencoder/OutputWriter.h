#pragma once
// The last stage of a run and the output file: the WMV and WMA encoders, the ASF muxer,
// the output limits, and the file itself. The run writes a hidden temporary file beside
// the output and renames it over the output only once it is complete (trailer written,
// file closed): an existing output stays whole until then, and a run that does not
// finish leaves no file behind.
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
#include <functional>
#include <string>

namespace platform::wmenc {

class OutputWriter {
public:
    OutputWriter(const EngineSettings& settings, RunStats& stats, RunControl& run);
    // Closes and removes the temporary file of a run that did not finish.
    ~OutputWriter();

    // Checks the output name and makes the hidden temporary file beside it.
    HRESULT PrepareFile(std::string& text);
    // Opens the encoders for the profile at frameRate (sound only withSound) and the
    // muxer on the temporary file.
    HRESULT PrepareEncoders(AVRational frameRate, bool withSound, std::string& text);
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
    const std::string& TemporaryPath() const { return m_tempPath; }
    // What the finished file would measure if this much more payload were written: the
    // header, the payload in padded data packets, the index.
    std::int64_t ProjectedFileSize(std::int64_t extraPayload) const;

private:
    bool WithinTimeLimit(const AVFrame* frame, AVRational timeBase, std::int64_t duration);
    bool Encode(AVCodecContext* encoder, AVStream* stream, AVFrame* frame);
    bool WritePacket(AVPacket* packet, AVCodecContext* encoder, AVStream* stream);

    const EngineSettings& m_settings;
    RunStats& m_stats;  // written here, read by polls on any thread
    RunControl& m_run;

    // Set up before the run; the mux thread's afterwards.
    AVCodecContext* m_videoEncoder = nullptr;
    AVCodecContext* m_audioEncoder = nullptr;
    AVFormatContext* m_output = nullptr;
    AVStream* m_videoStream = nullptr;
    AVStream* m_audioStream = nullptr;
    std::string m_tempPath;
    bool m_done = false;  // renamed into place

    // Mux thread only: what was written, for the limits.
    std::int64_t m_headerBytes = 0;
    std::int64_t m_payloadBytes = 0;
    std::int64_t m_packetCount = 0;
    std::int64_t m_writtenMs = 0;
    std::int64_t m_audioFedEnd = AV_NOPTS_VALUE;   // sound encoder time base: end of the sound given to it
    std::int64_t m_lastVideoPts = AV_NOPTS_VALUE;  // video encoder time base
    bool m_sizeLimitHit = false;
};

}  // namespace platform::wmenc
