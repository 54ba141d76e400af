#pragma once
// The first stage of a run: reads the source file (and a separate sound file, if any),
// decodes its pictures and sound, and hands the frames on, their timestamps counted
// from the start of the output and kept running over jumps back.
//
// Prepare runs on the caller's thread before the run; Run is the demux thread. What
// Prepare sets is read-only afterwards, so the other stages may read it.

#include "Engine.h"
#include "RunControl.h"
#include "platform/source/MediaSource.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace platform::wmenc {

struct CropMargins {
    int left = 0, top = 0, right = 0, bottom = 0;
};

class SourceReader {
public:
    SourceReader(const EngineSettings& settings, RunStats& stats, RunControl& run);
    ~SourceReader();

    // Opens the files and the decoders, finds where the output starts and how long the
    // source says it is, checks the cropping and picks the frame rate; a failing code and
    // a text when it cannot.
    HRESULT Prepare(std::string& text);

    // The demux thread: until the end of the source, a stop or a failure.
    void Run();

    const AVStream* VideoStream() const;
    const AVStream* AudioStream() const;  // null without sound
    AVRational FrameRate() const { return m_frameRate; }  // the profile's, never above the source's
    // A lower rate for the output, when a size limit asks for fewer pictures (before Run).
    void UseFrameRate(AVRational rate) { m_frameRate = rate; }
    CropMargins Crop() const { return m_crop; }  // on the upright picture
    int Rotation() const { return m_rotation; }   // clockwise degrees that set the picture upright
    // The source's declared length can be trusted to judge whether all of it was read:
    // it comes from timestamps or the container, not from a guess by the bit rate.
    bool LengthTrusted() const { return m_lengthTrusted; }
    // After the run: every input was read to its end, and whether reading broke off on
    // damage the demuxer could not skip.
    bool ReachedEnd() const { return m_reachedEnd.load(); }
    bool ReadError() const { return m_readError.load(); }
    // The source file is shorter than its own header says: cut short.
    bool CutShort() const { return m_cutShort; }
    // Pictures decoded so far (any thread; final once the End item is passed on).
    std::int64_t DecodedPictures() const { return m_decodedPictures.load(); }

private:
    struct Input {
        std::string path;
        MediaSource source;
        AVFormatContext* format = nullptr;  // the source's
        int videoIndex = -1;
        int audioIndex = -1;
        std::int64_t nextTime = 0;  // AV_TIME_BASE units, for reading two files side by side
        bool eof = false;
    };
    // Where a stream should go on, so that a jump back is moved on.
    struct Timeline {
        std::int64_t shift = 0;              // added to the source's timestamps
        std::int64_t next = AV_NOPTS_VALUE;  // where the stream should go on
    };

    // The file's input, opened once for video and sound; soundOnly for a separate sound
    // file (out is null when it has no sound).
    HRESULT OpenInput(const std::string& path, bool soundOnly, Input*& out, std::string& text);
    std::int64_t Continuous(Item::Kind kind, const AVStream* stream, const AVFrame* frame, std::int64_t pts);
    bool Decode(AVCodecContext* decoder, const AVPacket* packet, Item::Kind kind, const AVStream* stream);

    const EngineSettings& m_settings;
    RunStats& m_stats;  // the length is set by Prepare, the bytes read by the demux thread
    RunControl& m_run;
    // Set by Prepare; the demux thread reads from the inputs and decoders afterwards.
    std::vector<std::unique_ptr<Input>> m_inputs;
    Input* m_videoInput = nullptr;
    Input* m_audioInput = nullptr;
    AVCodecContext* m_videoDecoder = nullptr;
    AVCodecContext* m_audioDecoder = nullptr;
    std::int64_t m_startTime = 0;  // AV_TIME_BASE units; the output starts here
    AVRational m_frameRate{0, 1};
    CropMargins m_crop;
    int m_rotation = 0;
    bool m_lengthTrusted = false;
    bool m_cutShort = false;
    // Demux thread only.
    Timeline m_timeline[2];  // video, sound
    // Written by the demux thread, read by any.
    std::atomic<std::int64_t> m_decodedPictures{0};
    std::atomic<bool> m_reachedEnd{false};
    std::atomic<bool> m_readError{false};
};

}  // namespace platform::wmenc
