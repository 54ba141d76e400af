#include "PacketLanes.h"

namespace platform::player {

void PacketLanes::SetActive(int lane, bool active)
{
    std::lock_guard lock(m_mutex);
    Lane& l = m_lanes[lane];
    l.active = active;
    if (!active)
        Clear(l);
    m_changed.notify_all();
}

bool PacketLanes::Push(int lane, PacketItem item)
{
    std::unique_lock lock(m_mutex);
    Lane& l = m_lanes[lane];
    const Lane& other = m_lanes[1 - lane];
    m_changed.wait(lock, [&] {
        if (m_aborted || m_seek || !l.active)
            return true;
        if (m_bytes >= kHardLimitBytes)
            return false;
        return l.packets < kPackets[lane] || (other.active && other.packets == 0);
    });
    if (m_aborted || m_seek)
        return false;
    if (!l.active)
        return true;
    if (item.packet) {
        m_bytes += std::size_t(item.packet->size);
        ++l.packets;
    }
    l.items.push_back(std::move(item));
    m_changed.notify_all();
    return true;
}

bool PacketLanes::Pop(int lane, PacketItem& out)
{
    std::unique_lock lock(m_mutex);
    Lane& l = m_lanes[lane];
    m_changed.wait(lock, [&] { return m_aborted || !l.items.empty(); });
    if (m_aborted)
        return false;
    out = std::move(l.items.front());
    l.items.pop_front();
    if (out.packet) {
        m_bytes -= std::size_t(out.packet->size);
        --l.packets;
    }
    m_changed.notify_all();
    return true;
}

void PacketLanes::RequestSeek(SeekRequest request)
{
    std::lock_guard lock(m_mutex);
    if (request.serial < m_latestRequested)
        return;
    m_latestRequested = request.serial;
    m_seek = true;
    m_request = request;
    m_changed.notify_all();
}

bool PacketLanes::TakeSeek(SeekRequest& out)
{
    std::lock_guard lock(m_mutex);
    if (!m_seek)
        return false;
    m_seek = false;
    out = m_request;
    return true;
}

void PacketLanes::WaitForSeek()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_aborted || m_seek; });
}

void PacketLanes::Flush(int serial, std::int64_t targetUs)
{
    std::lock_guard lock(m_mutex);
    for (Lane& l : m_lanes) {
        Clear(l);
        if (l.active)
            l.items.push_back({PacketItem::Flush, nullptr, serial, targetUs});
    }
    m_changed.notify_all();
}

void PacketLanes::End(int serial)
{
    std::lock_guard lock(m_mutex);
    for (Lane& l : m_lanes)
        if (l.active)
            l.items.push_back({PacketItem::End, nullptr, serial, 0});
    m_changed.notify_all();
}

void PacketLanes::Abort()
{
    std::lock_guard lock(m_mutex);
    m_aborted = true;
    for (Lane& l : m_lanes)
        Clear(l);
    m_changed.notify_all();
}

void PacketLanes::Clear(Lane& l)
{
    for (const PacketItem& item : l.items)
        if (item.packet)
            m_bytes -= std::size_t(item.packet->size);
    l.items.clear();
    l.packets = 0;
}

}  // namespace platform::player
