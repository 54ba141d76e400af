#include "AudioOutput.h"

#include <QAudioSink>
#include <algorithm>
#include <cstring>

namespace platform::player {
namespace {
constexpr std::int64_t kSecond = 1000000;
}

AudioOutput::AudioOutput(const QAudioDevice& device, const QAudioFormat& format, PcmFifo& fifo, MediaClock& clock,
                         QObject* parent)
    : QObject(parent), m_device(device), m_format(format), m_fifo(fifo), m_clock(clock)
{
    m_bytesPerFrame = format.bytesPerFrame();
    m_bytesPerSecond = format.sampleRate() * m_bytesPerFrame;
    m_timer.setInterval(10);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        Feed();
        UpdateClock();
    });
}

AudioOutput::~AudioOutput()
{
    Stop();
}

std::int64_t AudioOutput::BytesToUs(qint64 bytes) const
{
    return m_bytesPerSecond > 0 ? bytes * kSecond / m_bytesPerSecond : 0;
}

// In whole sample frames, and in 64 bits: QAudioFormat's own sum stops at 2 GB.
qint64 AudioOutput::UsToBytes(std::int64_t us) const
{
    const qint64 frames = us * (m_bytesPerSecond / m_bytesPerFrame) / kSecond;
    return std::max<qint64>(0, frames) * m_bytesPerFrame;
}

void AudioOutput::Start(std::int64_t mediaUs)
{
    Stop();
    if (m_failed || m_bytesPerFrame <= 0)
        return;
    m_segments.clear();
    m_handedOut = 0;
    m_mediaEnd = mediaUs;
    m_waitedUs = 0;
    m_sink = new QAudioSink(m_device, m_format, this);
    // A short buffer keeps what is heard close to what is handed out, and seeks quick.
    m_sink->setBufferSize(qsizetype(UsToBytes(120000)));
    m_sink->setVolume(m_volume);
    connect(m_sink, &QAudioSink::stateChanged, this, &AudioOutput::OnState);
    m_push = m_sink->start();
    m_started = true;
    m_suspended = false;
    m_timer.start();
    OnState();
    Feed();
}

void AudioOutput::Suspend()
{
    if (!m_sink || m_suspended)
        return;
    m_sink->suspend();
    m_suspended = true;
    m_timer.stop();
}

void AudioOutput::Resume()
{
    if (!m_sink || !m_suspended)
        return;
    m_sink->resume();
    m_suspended = false;
    m_timer.start();
}

void AudioOutput::Stop()
{
    m_timer.stop();
    if (m_sink) {
        m_sink->disconnect(this);
        m_sink->stop();
        delete m_sink;
        m_sink = nullptr;
        m_push = nullptr;
    }
    m_started = false;
    m_suspended = false;
}

void AudioOutput::SetVolume(double linear)
{
    m_volume = std::clamp(linear, 0.0, 1.0);
    if (m_sink)
        m_sink->setVolume(m_volume);
}

void AudioOutput::OnState()
{
    if (!m_sink || m_failed)
        return;
    const QAudio::Error e = m_sink->error();
    if (e == QAudio::OpenError || e == QAudio::FatalError || e == QAudio::IOError) {
        m_failed = true;
        // Not from inside the sink's own signal: the player deletes this output.
        QMetaObject::invokeMethod(this, &AudioOutput::Failed, Qt::QueuedConnection);
    }
}

// Tops up the device's buffer with what it has room for. Silence goes in one short
// piece at a time, so that sound arriving after a wait is not queued behind much of it.
void AudioOutput::Feed()
{
    if (!m_sink || !m_push || m_suspended || m_failed)
        return;
    // bytesFree() can stay at 0 after the device has played all it had (at the start,
    // for a second or two): what was handed out less what was played tells the room too.
    const qint64 played = std::min(UsToBytes(m_sink->processedUSecs()), m_handedOut);
    qint64 room = std::max<qint64>(m_sink->bytesFree(), m_sink->bufferSize() - (m_handedOut - played));
    room -= room % m_bytesPerFrame;
    if (room < m_bytesPerFrame)
        return;
    m_buffer.resize(std::size_t(room));
    while (room >= m_bytesPerFrame) {
        bool silent = false;
        const qint64 n = Read(m_buffer.data(), room, silent);
        if (n <= 0)
            break;
        const qint64 written = std::max<qint64>(0, m_push->write(m_buffer.data(), n));
        if (written < n) {
            Unhand(n - written);  // the device took less than it offered
            break;
        }
        room -= n;
        if (silent)
            break;
    }
}

// Takes back the end of what was handed out, so the clock's map matches the device.
void AudioOutput::Unhand(qint64 bytes)
{
    while (bytes > 0 && !m_segments.empty()) {
        Segment& s = m_segments.back();
        const qint64 take = std::min(bytes, s.bytes);
        s.bytes -= take;
        m_handedOut -= take;
        bytes -= take;
        m_mediaEnd = s.advancing ? s.mediaUs + BytesToUs(s.bytes) : s.mediaUs;
        if (s.bytes == 0)
            m_segments.pop_back();
    }
}

qint64 AudioOutput::Read(char* data, qint64 max, bool& silent)
{
    silent = false;
    max -= max % m_bytesPerFrame;
    if (max <= 0)
        return 0;
    auto* out = reinterpret_cast<std::uint8_t*>(data);
    qint64 got = 0;
    while (got < max) {
        std::int64_t pts = 0;
        std::size_t n = m_fifo.Pop(out + got, std::size_t(max - got), pts, m_bytesPerSecond);
        if (n == 0)
            break;
        // Behind what was already heard (the clock went on over a long wait): skip it.
        if (pts < m_mediaEnd - 20000) {
            const qint64 skip = std::min<qint64>(qint64(n), UsToBytes(m_mediaEnd - pts));
            if (skip >= qint64(n))
                continue;
            std::memmove(out + got, out + got + skip, std::size_t(n - skip));
            n -= std::size_t(skip);
            pts += BytesToUs(skip);
        }
        m_segments.push_back({m_handedOut, qint64(n), pts, true});
        m_handedOut += qint64(n);
        got += qint64(n);
        m_mediaEnd = pts + BytesToUs(qint64(n));
        m_waitedUs = 0;
    }
    if (got > 0)
        return got;
    silent = true;
    // Nothing to play: silence, so the device keeps going. The clock waits for the data,
    // but not for ever, and goes on at the end of the sound (the picture may be longer).
    const qint64 silence = std::max<qint64>(std::min<qint64>(max, UsToBytes(20000)), m_bytesPerFrame);
    std::memset(data, 0, std::size_t(silence));
    const bool advancing = m_fifo.Drained() || m_waitedUs >= 500000;
    m_segments.push_back({m_handedOut, silence, m_mediaEnd, advancing});
    m_handedOut += silence;
    m_waitedUs += BytesToUs(silence);
    if (advancing)
        m_mediaEnd += BytesToUs(silence);
    return silence;
}

void AudioOutput::UpdateClock()
{
    if (!m_sink || m_suspended || m_segments.empty())
        return;
    const qint64 played = std::min(UsToBytes(m_sink->processedUSecs()), m_handedOut);
    while (m_segments.size() > 1 && m_segments.front().start + m_segments.front().bytes <= played)
        m_segments.pop_front();
    const Segment& s = m_segments.front();
    const qint64 into = std::clamp<qint64>(played - s.start, 0, s.bytes);
    const std::int64_t media = s.advancing ? s.mediaUs + BytesToUs(into) : s.mediaUs;
    m_clock.Follow(media, s.advancing && played < m_handedOut);
}

}  // namespace platform::player
