#include "MediaClock.h"

#include <cstdlib>

namespace platform::player {

using std::chrono::microseconds;
using std::chrono::steady_clock;

std::int64_t MediaClock::NowLocked(Time now) const
{
    if (!m_running)
        return m_anchorUs;
    return m_anchorUs + std::chrono::duration_cast<microseconds>(now - m_anchorTime).count();
}

void MediaClock::ChangedLocked()
{
    ++m_version;
    m_changed.notify_all();
}

void MediaClock::Set(std::int64_t mediaUs, bool running)
{
    std::lock_guard lock(m_mutex);
    m_anchorUs = mediaUs;
    m_anchorTime = steady_clock::now();
    m_running = running;
    ChangedLocked();
}

void MediaClock::Run()
{
    std::lock_guard lock(m_mutex);
    if (m_running)
        return;
    m_anchorTime = steady_clock::now();
    m_running = true;
    ChangedLocked();
}

void MediaClock::Hold()
{
    std::lock_guard lock(m_mutex);
    if (!m_running)
        return;
    const Time now = steady_clock::now();
    m_anchorUs = NowLocked(now);
    m_anchorTime = now;
    m_running = false;
    ChangedLocked();
}

void MediaClock::Follow(std::int64_t mediaUs, bool advancing)
{
    constexpr std::int64_t kSnapUs = 40000;
    std::lock_guard lock(m_mutex);
    const Time now = steady_clock::now();
    if (!advancing || !m_running) {
        if (m_running != advancing || m_anchorUs != mediaUs) {
            m_anchorUs = mediaUs;
            m_anchorTime = now;
            m_running = advancing;
            ChangedLocked();
        }
        return;
    }
    // The sound's position comes in steps; a running clock only leans towards it.
    const std::int64_t predicted = NowLocked(now);
    const std::int64_t diff = mediaUs - predicted;
    m_anchorTime = now;
    if (std::llabs(diff) > kSnapUs) {
        m_anchorUs = mediaUs;
        ChangedLocked();
    } else {
        m_anchorUs = predicted + diff / 8;
    }
}

std::int64_t MediaClock::Now() const
{
    std::lock_guard lock(m_mutex);
    return NowLocked(steady_clock::now());
}

bool MediaClock::Running() const
{
    std::lock_guard lock(m_mutex);
    return m_running;
}

void MediaClock::WaitUntil(std::int64_t mediaUs, Time limit)
{
    std::unique_lock lock(m_mutex);
    Time until = limit;
    if (m_running) {
        const Time due = m_anchorTime + microseconds(mediaUs - m_anchorUs);
        if (due < until)
            until = due;
    }
    const std::uint64_t version = m_version;
    m_changed.wait_until(lock, until, [&] { return m_version != version; });
}

void MediaClock::Wake()
{
    std::lock_guard lock(m_mutex);
    ChangedLocked();
}

}  // namespace platform::player
