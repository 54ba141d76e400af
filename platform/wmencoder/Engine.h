#pragma once
// The conversion engine: one run from a source file to a complete ASF file with WMV
// video and WMA audio, on FFmpeg. Prepare checks and builds everything before a byte is
// written; the run goes on three threads (demux and decode, filter, encode and mux)
// joined by bounded queues, so both cores work.

#include "ProfileFile.h"
#include "platform/com/Com.h"
#include "WMEncoder.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace platform::wmenc {

struct EngineSettings {
    std::string videoSource;  // UTF-8 paths
    std::string audioSource;  // empty: no sound wanted
    std::string output;
    int cropLeft = 0;  // pixels; 0 or less leaves the edge alone
    int cropTop = 0;
    int cropRight = 0;
    int cropBottom = 0;
    Profile profile;
    std::int64_t maxBytes = 0;         // 0: no limit
    std::int64_t maxMilliseconds = 0;  // 0: no limit
    bool autoStop = true;              // end by itself at the end of the source
};

// What a poll reads while the run goes on, without waiting for it. Set by Prepare, then
// written by the run's threads.
struct RunStats {
    std::atomic<std::int64_t> bytes{0};         // written to the output so far
    std::atomic<std::int64_t> milliseconds{0};  // media written so far
    std::atomic<std::int64_t> sourceMs{0};      // the source's declared length; 0 when unknown
    std::atomic<std::int64_t> expectedMs{0};    // what the run should convert: the source up to the time limit
    std::atomic<bool> lengthByBytes{false};     // the length is a guess from the bit rate: count bytes read
    std::atomic<std::int64_t> sourceBytes{0};   // the source file's size, when counting bytes
    std::atomic<std::int64_t> readBytes{0};     // read from the source so far, when counting bytes
    std::atomic<int> outcome{int(RunOutcome::None)};
    // What a size limit lowered: the frame rate in pictures a thousand seconds (0: the
    // profile's), the sound to mono. Set by Prepare.
    std::atomic<int> fittedFrameRate{0};
    std::atomic<bool> fittedMonoSound{false};

    // How much of the run is done in thousandths, or -1 when the source's length is unknown.
    int Permille() const;
};

class Engine {
public:
    // Checks the settings and the files and builds the chain; nullptr with a failing
    // code and a readable text when anything is wrong. Nothing is written then, and an
    // existing output file is left as it was.
    static std::unique_ptr<Engine> Prepare(const EngineSettings& settings, std::shared_ptr<RunStats> stats,
                                           HRESULT& hr, std::string& error);
    ~Engine();  // stops a run that still goes on

    HRESULT Start();  // starts, or resumes after Pause
    HRESULT Pause();
    HRESULT Stop();   // returns once the output is complete (or removed after a failure)

    WMENC_ENCODER_STATE State() const;
    HRESULT Error() const;
    std::string ErrorText() const;

    struct Impl;

private:
    explicit Engine(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};

}  // namespace platform::wmenc
