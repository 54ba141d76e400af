#pragma once
// Decoded sound on its way from the audio thread to the sound output: chunks of PCM,
// each stamped with the media time of its first sample. Every seek starts a new serial;
// data of an older serial is refused, so nothing from before a seek is ever heard.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace platform::player {

// Interleaved samples as the sound output takes them.
enum class SampleFormat { Int16, Float };

class PcmFifo {
public:
    explicit PcmFifo(std::size_t capacityBytes = 0) : m_capacity(capacityBytes) {}

    void SetCapacity(std::size_t bytes);
    void Reset(int serial);  // empties the queue; only this serial is taken from now on
    // Blocks while full. False when aborted; data of a stale serial is dropped (true).
    bool Push(int serial, std::int64_t ptsUs, std::vector<std::uint8_t> data);
    void End(int serial);  // nothing more comes for this serial
    void Abort();

    // Never blocks: copies at most max bytes from the first chunk, with the media time
    // of the first byte copied; 0 when empty.
    std::size_t Pop(std::uint8_t* out, std::size_t max, std::int64_t& ptsUs, int bytesPerSecond);
    bool Drained() const;  // ended and empty
    std::size_t Size() const;

private:
    struct Chunk {
        std::int64_t ptsUs;
        std::vector<std::uint8_t> data;
        std::size_t offset = 0;
    };
    mutable std::mutex m_mutex;
    std::condition_variable m_notFull;
    std::deque<Chunk> m_chunks;
    std::size_t m_size = 0;
    std::size_t m_capacity;
    int m_serial = 0;
    bool m_ended = false;
    bool m_aborted = false;
};

}  // namespace platform::player
