#pragma once
// What joins the engine's three threads: frames handed from one stage to the next in
// bounded queues, and the gate every stage passes between frames, which holds them all
// while the run is paused.

#include "platform/AvPointers.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

namespace platform::wmenc {

struct Item {
    enum Kind { Video, Audio, End } kind = End;
    FramePtr frame;
};

// A queue that blocks the producer when full and the consumer when empty. Abort wakes
// both for good, so a failing stage never leaves another one waiting. Thread-safe.
class FrameQueue {
public:
    explicit FrameQueue(std::size_t capacity) : m_capacity(capacity) {}

    // False once aborted; the item is dropped then.
    bool Push(Item item);
    // False once aborted.
    bool Pop(Item& item);
    void Abort();

private:
    std::mutex m_mutex;
    std::condition_variable m_notFull, m_notEmpty;
    std::deque<Item> m_items;  // under m_mutex
    std::size_t m_capacity;
    bool m_aborted = false;    // under m_mutex
};

// Thread-safe.
class PauseGate {
public:
    void Set(bool paused);
    // Returns at once while open; waits while closed.
    void Wait();

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_paused = false;  // under m_mutex
};

}  // namespace platform::wmenc
