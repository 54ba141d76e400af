#include "PcmFifo.h"

#include <algorithm>
#include <cstring>

namespace platform::player {

void PcmFifo::SetCapacity(std::size_t bytes)
{
    std::lock_guard lock(m_mutex);
    m_capacity = bytes;
    m_notFull.notify_all();
}

void PcmFifo::Reset(int serial)
{
    std::lock_guard lock(m_mutex);
    m_chunks.clear();
    m_size = 0;
    m_serial = serial;
    m_ended = false;
    m_notFull.notify_all();
}

bool PcmFifo::Push(int serial, std::int64_t ptsUs, std::vector<std::uint8_t> data)
{
    std::unique_lock lock(m_mutex);
    // One chunk may go over the limit, so that a chunk larger than it still gets in.
    m_notFull.wait(lock, [&] { return m_aborted || serial != m_serial || m_size < m_capacity; });
    if (m_aborted)
        return false;
    if (serial != m_serial || m_ended || data.empty())
        return true;
    m_size += data.size();
    m_chunks.push_back({ptsUs, std::move(data)});
    return true;
}

void PcmFifo::End(int serial)
{
    std::lock_guard lock(m_mutex);
    if (serial == m_serial)
        m_ended = true;
}

void PcmFifo::Abort()
{
    std::lock_guard lock(m_mutex);
    m_aborted = true;
    m_chunks.clear();
    m_size = 0;
    m_notFull.notify_all();
}

std::size_t PcmFifo::Pop(std::uint8_t* out, std::size_t max, std::int64_t& ptsUs, int bytesPerSecond)
{
    std::lock_guard lock(m_mutex);
    if (m_chunks.empty() || max == 0)
        return 0;
    Chunk& c = m_chunks.front();
    const std::size_t n = std::min(max, c.data.size() - c.offset);
    std::memcpy(out, c.data.data() + c.offset, n);
    ptsUs = c.ptsUs + (bytesPerSecond > 0 ? std::int64_t(c.offset) * 1000000 / bytesPerSecond : 0);
    c.offset += n;
    m_size -= n;
    if (c.offset == c.data.size())
        m_chunks.pop_front();
    m_notFull.notify_all();
    return n;
}

bool PcmFifo::Drained() const
{
    std::lock_guard lock(m_mutex);
    return m_ended && m_chunks.empty();
}

std::size_t PcmFifo::Size() const
{
    std::lock_guard lock(m_mutex);
    return m_size;
}

}  // namespace platform::player
