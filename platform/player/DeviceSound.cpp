#include "DeviceSound.h"

#include "AudioOutput.h"

#include <QAudio>
#include <QAudioDevice>
#include <QAudioFormat>
#include <QMediaDevices>
#include <algorithm>
#include <atomic>
#include <cstdio>

namespace platform::player {
namespace {

std::atomic<QtMessageHandler> g_previousHandler{nullptr};

void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    // A machine without a sound server is normal for the player, not news for the user.
    if (type < QtCriticalMsg && message.startsWith(QLatin1String("PulseAudioService:")))
        return;
    // Qt Multimedia's FFmpeg backend (Qt 6.5 on) names its FFmpeg and its hardware when
    // it loads; QT_LOGGING_RULES can still show it.
    if ((type == QtInfoMsg || type == QtDebugMsg) && context.category &&
        qstrcmp(context.category, "qt.multimedia.ffmpeg") == 0)
        return;
    if (QtMessageHandler previous = g_previousHandler.load())
        previous(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

QAudioDevice DefaultSoundOutput()
{
    g_previousHandler = qInstallMessageHandler(QuietHandler);
    QAudioDevice device = QMediaDevices::defaultAudioOutput();
    qInstallMessageHandler(g_previousHandler.load());
    return device;
}

class DeviceSound final : public SoundOutput {
public:
    DeviceSound(const QAudioDevice& device, const QAudioFormat& format, PcmFifo& fifo, MediaClock& clock,
                std::function<void()> onFailed)
        : m_output(device, format, fifo, clock)
    {
        QObject::connect(&m_output, &AudioOutput::Failed, [onFailed = std::move(onFailed)] {
            if (onFailed)
                onFailed();
        });
    }
    void Start(std::int64_t mediaUs) override { m_output.Start(mediaUs); }
    void Suspend() override { m_output.Suspend(); }
    void Resume() override { m_output.Resume(); }
    void Stop() override { m_output.Stop(); }
    bool Started() const override { return m_output.Started(); }
    bool Suspended() const override { return m_output.Suspended(); }
    void SetLoudness(int percent, bool muted) override
    {
        // The slider is in steps of loudness; the device wants a linear factor.
        m_output.SetVolume(muted ? 0.0
                                 : QAudio::convertVolume(std::clamp(percent, 0, 100) / 100.0,
                                                         QAudio::LogarithmicVolumeScale, QAudio::LinearVolumeScale));
    }

private:
    AudioOutput m_output;
};

}  // namespace

std::unique_ptr<SoundOutput> OpenDeviceSound(int rate, int channels, PcmFifo& fifo, MediaClock& clock,
                                             SoundFormat& chosen, std::function<void()> onFailed)
{
    const QAudioDevice device = DefaultSoundOutput();
    if (device.isNull())
        return nullptr;
    QAudioFormat format;
    format.setSampleRate(std::clamp(rate, 8000, 192000));
    format.setChannelCount(std::clamp(channels, 1, 2));
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) {
        format = device.preferredFormat();
        format.setChannelCount(std::clamp(format.channelCount(), 1, 2));
        if (format.sampleFormat() != QAudioFormat::Float)
            format.setSampleFormat(QAudioFormat::Int16);
        if (!device.isFormatSupported(format))
            return nullptr;
    }
    chosen.rate = format.sampleRate();
    chosen.channels = format.channelCount();
    chosen.format = format.sampleFormat() == QAudioFormat::Float ? SampleFormat::Float : SampleFormat::Int16;
    return std::make_unique<DeviceSound>(device, format, fifo, clock, std::move(onFailed));
}

}  // namespace platform::player
