#include "FrameQueue.h"

namespace platform::wmenc {

bool FrameQueue::Push(Item item)
{
    std::unique_lock lock(m_mutex);
    m_notFull.wait(lock, [&] { return m_aborted || m_items.size() < m_capacity; });
    if (m_aborted)
        return false;
    m_items.push_back(std::move(item));
    m_notEmpty.notify_one();
    return true;
}

bool FrameQueue::Pop(Item& item)
{
    std::unique_lock lock(m_mutex);
    m_notEmpty.wait(lock, [&] { return m_aborted || !m_items.empty(); });
    if (m_aborted)
        return false;
    item = std::move(m_items.front());
    m_items.pop_front();
    m_notFull.notify_one();
    return true;
}

void FrameQueue::Abort()
{
    std::lock_guard lock(m_mutex);
    m_aborted = true;
    m_items.clear();
    m_notFull.notify_all();
    m_notEmpty.notify_all();
}

void PauseGate::Set(bool paused)
{
    std::lock_guard lock(m_mutex);
    m_paused = paused;
    m_changed.notify_all();
}

void PauseGate::Wait()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return !m_paused; });
}

}  // namespace platform::wmenc
