#pragma once
// The sound of one playback through Qt Multimedia's QAudioSink, fed from the sound FIFO
// on the GUI thread as the device has room. What the device has played is the master
// clock: every few milliseconds the position heard is handed to the media clock.

#include "MediaClock.h"
#include "PcmFifo.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QIODevice>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

class QAudioSink;

namespace platform::player {

class AudioOutput : public QObject {
    Q_OBJECT
public:
    AudioOutput(const QAudioDevice& device, const QAudioFormat& format, PcmFifo& fifo, MediaClock& clock,
                QObject* parent = nullptr);
    ~AudioOutput() override;

    void Start(std::int64_t mediaUs);  // plays from this media time on, afresh
    void Suspend();
    void Resume();
    void Stop();
    bool Started() const { return m_started; }
    bool Suspended() const { return m_suspended; }
    void SetVolume(double linear);

signals:
    void Failed();  // the device refused or broke: the player goes on without sound

private:
    void Feed();
    qint64 Read(char* data, qint64 max, bool& silent);
    void Unhand(qint64 bytes);
    void UpdateClock();
    void OnState();
    std::int64_t BytesToUs(qint64 bytes) const;
    qint64 UsToBytes(std::int64_t us) const;

    struct Segment {
        qint64 start;  // device bytes
        qint64 bytes;
        std::int64_t mediaUs;
        bool advancing;  // silence while waiting for data holds the clock
    };

    QAudioDevice m_device;
    QAudioFormat m_format;
    PcmFifo& m_fifo;
    MediaClock& m_clock;
    QAudioSink* m_sink = nullptr;
    QIODevice* m_push = nullptr;  // the sink's, while it runs
    std::vector<char> m_buffer;
    QTimer m_timer;
    std::deque<Segment> m_segments;
    qint64 m_handedOut = 0;
    std::int64_t m_mediaEnd = 0;  // media time at the end of what was handed out
    std::int64_t m_waitedUs = 0;  // silence handed out in a row while the FIFO was empty
    int m_bytesPerFrame = 0;
    int m_bytesPerSecond = 0;
    double m_volume = 0.5;
    bool m_started = false;
    bool m_suspended = false;
    bool m_failed = false;
};

}  // namespace platform::player
