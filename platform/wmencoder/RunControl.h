#pragma once
// What the stages of one run share: the queues between them, the pause gate, the stop
// request and the first failure. Every member is safe to use from any thread.

#include "FrameQueue.h"
#include "platform/com/Com.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>

namespace platform::wmenc {

class RunControl {
public:
    FrameQueue decoded{24};   // demux and decode → filter
    FrameQueue filtered{24};  // filter → encode and mux
    PauseGate gate;

    // The run should end: set by Stop, by a limit reached, or by a failure.
    bool StopRequested() const { return m_stop.load(); }
    void RequestStop();
    // Waits until a stop is requested (a run without AutoStop holds at the end so).
    void WaitForStop();

    // The first failure is kept; it stops the run and wakes every stage.
    void Fail(HRESULT code, std::string text);
    bool Failed() const;
    HRESULT Error() const;
    std::string ErrorText() const;

private:
    std::atomic<bool> m_stop{false};
    std::mutex m_stopMutex;
    std::condition_variable m_stopSignal;
    mutable std::mutex m_errorMutex;
    HRESULT m_error = S_OK;   // under m_errorMutex
    std::string m_errorText;  // under m_errorMutex
};

// FFmpeg's text for an error code.
std::string AvError(int code);

}  // namespace platform::wmenc
