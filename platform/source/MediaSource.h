#pragma once
// The one way a source is opened, for the probe, the player, the engine and whatever
// samples a source: a regular file read through FileSource's own I/O, its stream
// information read within a deadline, and the streams to use chosen once, by one rule,
// so that what page 1 approves is what page 2 previews and page 3 converts.
//
// The rule: the best video stream that is not a cover picture, has a picture size and a
// decoder (FFmpeg's choice, else the default-marked one, else the largest picture); then
// the best sound stream related to it (in its program) with a decoder, else the best of
// the whole file.

#include "FileSource.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace platform {

enum class OpenStatus {
    Opened,
    NotAFile,    // missing, a folder, a device, a pipe, a protocol's syntax
    Unreadable,  // FFmpeg cannot open it or read what it holds
    TimedOut,    // the stream information took longer than the deadline
    Aborted,     // the caller's abort came first
    NoStreams,   // nothing usable of what was asked for
};

class MediaSource {
public:
    struct Options {
        // For opening and reading the stream information; it stays set for the reads after.
        std::chrono::milliseconds deadline{10000};
        // Asked during every read for the source's whole life: true cuts the read short.
        std::function<bool()> abort;
        // A separate sound file: only its sound stream is chosen.
        bool soundOnly = false;
        // A file with sound and no usable video is still opened (the player plays it).
        bool soundWithoutVideo = false;
    };

    MediaSource() = default;
    MediaSource(const MediaSource&) = delete;
    MediaSource& operator=(const MediaSource&) = delete;

    // Opens the file and chooses its streams; Error() says why not.
    OpenStatus Open(const std::string& path, const Options& options);
    void Close();

    // Moves the deadline for the reads that follow (a time point in the past cuts them).
    void SetDeadline(std::chrono::steady_clock::time_point until) { m_until = until; }
    void LiftDeadline() { m_until = std::chrono::steady_clock::time_point::max(); }

    AVFormatContext* Format() const { return m_file.Format(); }
    int VideoIndex() const { return m_video; }  // -1: none
    int AudioIndex() const { return m_audio; }  // -1: none
    AVStream* Video() const;
    AVStream* Audio() const;
    bool RandomAccess() const { return m_file.RandomAccess(); }
    // Every stream but the chosen ones is skipped by the demuxer.
    void DiscardUnchosen();
    const std::string& Error() const { return m_error; }
    // The deadline passed during the last read.
    bool DeadlinePassed() const { return std::chrono::steady_clock::now() > m_until; }

private:
    static int Interrupt(void* opaque);

    FileSource m_file;
    std::function<bool()> m_abort;
    std::chrono::steady_clock::time_point m_until = std::chrono::steady_clock::time_point::max();
    int m_video = -1;
    int m_audio = -1;
    std::string m_error;
};

// The chosen streams of an opened file (exposed for the tests of the rule).
int ChooseVideoStream(AVFormatContext* format);
int ChooseAudioStream(AVFormatContext* format, int video);

struct CodecContextFree {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFree>;

// A decoder for the stream with its time base; threads 0 lets FFmpeg choose. Null, with
// a readable text in error, when there is none or it does not open.
CodecContextPtr OpenDecoder(const AVStream* stream, int threads, std::string& error);

// FFmpeg's text for an error code.
std::string AvErrorText(int code);

}  // namespace platform
