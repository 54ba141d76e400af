#pragma once
// The packet queues between the player's demux thread and its two decoders, and the
// seek requests that travel against them. A full queue holds the demux back only while
// the other decoder still has work; otherwise a badly interleaved file would stall both.
// A hard limit on bytes keeps memory bounded. Every member is thread-safe.

#include "platform/AvPointers.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>

namespace platform::player {

struct PacketItem {
    enum Kind { Packet, Flush, End } kind = End;
    PacketPtr packet;
    int serial = 0;
    std::int64_t targetUs = 0;  // Flush: where the new position starts
};

struct SeekRequest {
    int serial = 0;
    std::int64_t targetUs = 0;
    std::int64_t backoffUs = 0;  // read from this much before the target
};

class PacketLanes {
public:
    static constexpr int kVideo = 0, kAudio = 1;

    // An inactive lane takes nothing and holds nothing back.
    void SetActive(int lane, bool active);
    // False when aborted or when a seek waits; the packet is dropped then.
    bool Push(int lane, PacketItem item);
    // False once aborted.
    bool Pop(int lane, PacketItem& out);

    // A newer request replaces a waiting one; an older one (a decoder asking to read
    // again from further back for a seek that has since been overtaken) is ignored.
    void RequestSeek(SeekRequest request);
    bool TakeSeek(SeekRequest& out);
    // At the end of the file the demux waits here for a seek or the end of playback.
    void WaitForSeek();
    // After the demux has moved: what was queued belongs to the old position.
    void Flush(int serial, std::int64_t targetUs);
    void End(int serial);
    void Abort();

private:
    struct Lane {
        std::deque<PacketItem> items;
        std::size_t packets = 0;
        bool active = false;
    };
    static constexpr std::size_t kPackets[2] = {64, 96};
    static constexpr std::size_t kHardLimitBytes = 48u << 20;

    void Clear(Lane& l);

    std::mutex m_mutex;
    std::condition_variable m_changed;
    // All under m_mutex.
    Lane m_lanes[2];
    std::size_t m_bytes = 0;
    bool m_aborted = false;
    bool m_seek = false;
    SeekRequest m_request;
    int m_latestRequested = 0;
};

}  // namespace platform::player
