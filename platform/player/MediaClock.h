#pragma once
// The player's clock, in microseconds of media time from the start of the file. It runs
// on the system clock, or follows the positions the sound output reports (the sound is
// the master when there is any); the video thread waits on it for each picture's time.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace platform::player {

class MediaClock {
public:
    using Time = std::chrono::steady_clock::time_point;

    void Set(std::int64_t mediaUs, bool running);  // a jump: start, seek, end
    void Run();                                    // goes on from where it stands
    void Hold();                                   // stands where it is
    // The position of the sound being heard; advancing is false while the sound waits
    // for data. Small differences are smoothed so that pictures keep an even pace.
    void Follow(std::int64_t mediaUs, bool advancing);

    std::int64_t Now() const;
    bool Running() const;

    // Returns when the clock reaches mediaUs, at the latest at limit, or on any change.
    void WaitUntil(std::int64_t mediaUs, Time limit);
    void Wake();

private:
    std::int64_t NowLocked(Time now) const;
    void ChangedLocked();

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::int64_t m_anchorUs = 0;
    Time m_anchorTime{};
    bool m_running = false;
    std::uint64_t m_version = 0;
};

}  // namespace platform::player
