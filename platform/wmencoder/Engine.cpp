#include "Engine.h"

#include "FilterChain.h"
#include "OutputWriter.h"
#include "RunControl.h"
#include "SourceReader.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace platform::wmenc {

int RunStats::Permille() const
{
    const RunOutcome end = RunOutcome(outcome.load());
    if (end == RunOutcome::Complete || end == RunOutcome::TimeLimit)
        return 1000;
    std::int64_t done = -1;
    if (lengthByBytes && sourceBytes > 0)
        done = readBytes * 1000 / sourceBytes;
    else if (expectedMs > 0)
        done = milliseconds * 1000 / expectedMs;
    // Never all done before the run says so: lengths are declared, not promised.
    return done < 0 ? -1 : int(std::clamp<std::int64_t>(done, 0, 999));
}

// One run: the three stages and the threads that run them. The caller's thread prepares,
// starts, pauses and stops; each stage owns its own state (see its unit).
struct Engine::Impl {
    Impl(const EngineSettings& s, std::shared_ptr<RunStats> st)
        : settings(s), stats(std::move(st)), source(settings, *stats, run), writer(settings, *stats, run)
    {
    }

    const EngineSettings settings;
    const std::shared_ptr<RunStats> stats;  // written by the mux thread, read by polls
    RunControl run;                         // any thread
    SourceReader source;                    // prepared here, then the demux thread's
    OutputWriter writer;                    // prepared here, then the mux thread's
    std::unique_ptr<FilterChain> filters;   // made once the encoders exist; the filter thread's
    std::thread demuxThread, filterThread, muxThread;  // the caller's thread
    bool started = false;                               // the caller's thread
    // Changed by the caller's thread and by the mux thread at the end of a run, always
    // by compare-and-set where both may meet.
    std::atomic<int> state{WMENC_ENCODER_STOPPED};

    HRESULT Prepare(std::string& text)
    {
        HRESULT hr = source.Prepare(text);
        if (SUCCEEDED(hr))
            hr = writer.PrepareFile(text);
        if (SUCCEEDED(hr))
            hr = writer.PrepareEncoders(source.FrameRate(), source.AudioStream() != nullptr, stats->expectedMs, text);
        if (FAILED(hr))
            return hr;
        const FitPlan& plan = writer.Plan();
        source.UseFrameRate(plan.frameRate);
        stats->fittedFrameRate = plan.frameRateLowered ? int(std::lround(av_q2d(plan.frameRate) * 1000)) : 0;
        stats->fittedMonoSound = plan.soundLowered;
        filters = std::make_unique<FilterChain>(source, writer.VideoEncoder(), writer.AudioEncoder(), run);
        // A picture chain that cannot work is refused now, before a byte is written.
        return filters->CheckPicture(text) ? S_OK : NS_E_SOURCE_UNREADABLE;
    }

    // How the run ended, once the mux thread is through with it.
    RunOutcome Outcome() const
    {
        if (!writer.Done())
            return RunOutcome::None;
        if (writer.SizeLimitHit())
            return RunOutcome::CutAtSize;
        if (writer.TimeLimitHit())
            return RunOutcome::TimeLimit;
        if (!source.ReachedEnd())
            return RunOutcome::Stopped;
        // Read to its end: all of it, unless reading broke off or the end came early.
        const std::int64_t expected = stats->expectedMs;
        if (source.ReadError() || source.CutShort() || (source.LengthTrusted() && expected > 0 && stats->milliseconds < expected - 1000))
            return RunOutcome::SourceDamaged;
        return RunOutcome::Complete;
    }

    void Finish()
    {
        // Whatever way the run ended, the other stages must not wait for this one.
        run.decoded.Abort();
        run.filtered.Abort();
        writer.Discard();
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
    auto impl = std::make_unique<Impl>(settings, stats ? std::move(stats) : std::make_shared<RunStats>());
    impl->stats->bytes = 0;
    impl->stats->milliseconds = 0;
    impl->stats->outcome = int(RunOutcome::None);
    hr = impl->Prepare(error);
    if (FAILED(hr))
        return nullptr;  // the writer removes the temporary file it made
    error.clear();
    return std::unique_ptr<Engine>(new Engine(std::move(impl)));
}

HRESULT Engine::Start()
{
    Impl& d = *m_impl;
    int state = WMENC_ENCODER_PAUSED;
    // Compare-and-set, since the run may end by itself on its own thread at any moment.
    if (d.state.compare_exchange_strong(state, WMENC_ENCODER_RUNNING)) {
        d.run.gate.Set(false);
        return S_OK;
    }
    if (d.started)
        return state == WMENC_ENCODER_RUNNING ? S_FALSE : NS_E_WRONG_STATE;
    if (state != WMENC_ENCODER_STOPPED)
        return NS_E_WRONG_STATE;
    d.started = true;
    d.state = WMENC_ENCODER_RUNNING;
    d.demuxThread = std::thread([&d] { d.source.Run(); });
    d.filterThread = std::thread([&d] { d.filters->Run(); });
    d.muxThread = std::thread([&d] {
        d.writer.Run([&d] { return d.source.DecodedPictures() > 0; });
        d.stats->outcome = int(d.Outcome());  // before the state says stopped
        d.Finish();
    });
    return S_OK;
}

HRESULT Engine::Pause()
{
    Impl& d = *m_impl;
    int state = WMENC_ENCODER_RUNNING;
    d.run.gate.Set(true);
    if (d.state.compare_exchange_strong(state, WMENC_ENCODER_PAUSED))
        return S_OK;
    d.run.gate.Set(state == WMENC_ENCODER_PAUSED);  // not running: leave the gate as it was
    return state == WMENC_ENCODER_PAUSED ? S_FALSE : NS_E_WRONG_STATE;
}

HRESULT Engine::Stop()
{
    Impl& d = *m_impl;
    d.run.RequestStop();
    d.run.gate.Set(false);
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
    return m_impl->run.Error();
}

std::string Engine::ErrorText() const
{
    return m_impl->run.ErrorText();
}

}  // namespace platform::wmenc
