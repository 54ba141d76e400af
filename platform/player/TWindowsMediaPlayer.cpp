#include "TWindowsMediaPlayer.h"

#include "SoundOutput.h"
#include "Playback.h"
#include "TransportBar.h"

#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QPainter>
#include <QUrl>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>

namespace platform {
namespace {

using player::Playback;

constexpr std::int64_t kSecond = 1000000;

// Down to the area, never up, centred; the same sums as the picture thread's.
QRect Fit(QSize display, const QRect& area)
{
    if (display.isEmpty() || area.isEmpty())
        return {};
    const double scale = std::min({1.0, double(area.width()) / display.width(), double(area.height()) / display.height()});
    const int w = std::max(1, int(std::lround(display.width() * scale)));
    const int h = std::max(1, int(std::lround(display.height() * scale)));
    return {area.left() + (area.width() - w) / 2, area.top() + (area.height() - h) / 2, w, h};
}

}  // namespace

TWindowsMediaPlayer::TWindowsMediaPlayer(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    m_bar = new TransportBar(this);
    m_bar->SetVolume(m_volume);
    connect(m_bar, &TransportBar::PlayPauseClicked, this, [this] { m_state == PlayState::Playing ? Pause() : Play(); });
    connect(m_bar, &TransportBar::StopClicked, this, &TWindowsMediaPlayer::Stop);
    connect(m_bar, &TransportBar::MuteClicked, this, [this] { SetMute(!m_mute); });
    connect(m_bar, &TransportBar::SeekRequested, this, &TWindowsMediaPlayer::SeekUs);
    connect(m_bar, &TransportBar::VolumeChanged, this, &TWindowsMediaPlayer::SetVolume);
    m_tick.setInterval(100);
    connect(&m_tick, &QTimer::timeout, this, &TWindowsMediaPlayer::OnTick);
    LayoutChildren();
}

TWindowsMediaPlayer::~TWindowsMediaPlayer()
{
    Close();
}

// ---- URL ----

void TWindowsMediaPlayer::SetURL(const QString& url)
{
    m_url = url;
    Close();
    if (url.isEmpty()) {
        SetState(PlayState::Closed);
        update();
        return;
    }
    Open(url);
}

void TWindowsMediaPlayer::Open(const QString& url)
{
    QString path = url;
    if (url.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl u(url);
        path = u.isLocalFile() ? u.toLocalFile() : QString();
    }
    const int generation = ++m_generation;
    const auto notify = [this, generation](Playback::Event e) {
        QMetaObject::invokeMethod(
            this,
            [this, generation, e] {
                if (generation == m_generation)
                    OnEvent(int(e));
            },
            Qt::QueuedConnection);
    };
    m_wantPlay = true;  // autoStart
    m_playback = Playback::Create(QFile::encodeName(path).toStdString(), notify);
    if (!m_playback) {  // no media module: nothing can be played
        SetState(PlayState::Failed);
        update();
        return;
    }
    const QRect area = VideoArea();
    m_playback->SetFrameArea(area.width(), area.height());
    SetState(PlayState::Opening);
    update();
}

// Stops every thread and closes the file before it returns.
void TWindowsMediaPlayer::Close()
{
    ++m_generation;
    m_tick.stop();
    m_audio.reset();
    m_playback.reset();
    m_info.reset();
    m_picture = {};
    m_pictureDisplay = {};
    m_pictureUs = -1;
    m_endUs = 0;
}

void TWindowsMediaPlayer::OnEvent(int event)
{
    if (!m_playback)
        return;
    switch (Playback::Event(event)) {
    case Playback::Event::Opened:
        OnOpened();
        break;
    case Playback::Event::Failed:
        Close();
        SetState(PlayState::Failed);
        update();
        break;
    case Playback::Event::Frame:
        OnFrame();
        break;
    }
}

void TWindowsMediaPlayer::OnOpened()
{
    m_info = std::make_unique<player::MediaInfo>(m_playback->Info());
    const bool sound = m_info->hasAudio && OpenSound();
    if (!sound)
        m_playback->SetSoundOutput(0, 0, player::SampleFormat::Int16);
    m_playback->SetSystemClock(!sound);
    SetState(m_wantPlay ? PlayState::Playing : PlayState::Paused);
}

bool TWindowsMediaPlayer::OpenSound()
{
    player::SoundFormat chosen;
    const int generation = m_generation;
    m_audio = player::SoundOutput::Open(m_info->audioRate, m_info->audioChannels, m_playback->Sound(),
                                        m_playback->Clock(), chosen, [this, generation] {
                                            // Later, on the GUI thread: only for this file.
                                            QMetaObject::invokeMethod(
                                                this,
                                                [this, generation] {
                                                    if (generation == m_generation)
                                                        OnSoundFailed();
                                                },
                                                Qt::QueuedConnection);
                                        });
    if (!m_audio)
        return false;
    m_playback->SetSoundOutput(chosen.rate, chosen.channels, chosen.format);
    ApplyVolume();
    return true;
}

void TWindowsMediaPlayer::OnSoundFailed()
{
    if (!m_playback)
        return;
    m_audio.reset();
    m_playback->DropSound();
    m_playback->SetSystemClock(true);
    Apply();
}

void TWindowsMediaPlayer::OnFrame()
{
    player::VideoFrame frame;
    if (!m_playback->TakeFrame(frame))
        return;
    m_picture = std::move(frame.image);
    m_pictureDisplay = QSize(frame.displayWidth, frame.displayHeight);
    m_pictureUs = frame.ptsUs;
    update(VideoArea());
}

void TWindowsMediaPlayer::OnTick()
{
    if (!m_playback || !m_info)
        return;
    std::int64_t end = 0;
    if (m_state == PlayState::Playing && m_playback->Finished(end) && m_playback->Clock().Now() >= end - 20000) {
        if (m_info->hasVideo && !m_playback->ShowedPicture() && m_playback->Serial() == 0) {
            // It opened, but not one picture of it decodes.
            Close();
            SetState(PlayState::Failed);
            update();
            return;
        }
        m_endUs = std::max<std::int64_t>(end, 0);
        m_playback->Clock().Set(m_endUs, false);
        // Now the real length is known; a file's own figure may fall short (or be missing).
        if (m_endUs > m_info->durationUs) {
            m_info->durationUs = m_endUs;
            m_info->seekable = m_info->randomAccess;
        }
        SetState(PlayState::Ended);
        return;
    }
    UpdateControls();
}

// ---- transport ----

void TWindowsMediaPlayer::Play()
{
    switch (m_state) {
    case PlayState::Opening:
        m_wantPlay = true;
        return;
    case PlayState::Paused:
        SetState(PlayState::Playing);
        return;
    case PlayState::Stopped:
    case PlayState::Ended:
        if (!m_info->seekable) {
            SetURL(m_url);  // no way back to the start but loading it again
            return;
        }
        if (m_state == PlayState::Ended)
            SeekUs(0);
        SetState(PlayState::Playing);
        return;
    default:
        return;
    }
}

void TWindowsMediaPlayer::Pause()
{
    if (m_state == PlayState::Opening)
        m_wantPlay = false;
    else if (m_state == PlayState::Playing)
        SetState(PlayState::Paused);
}

void TWindowsMediaPlayer::Stop()
{
    if (m_state == PlayState::Opening) {
        m_wantPlay = false;
        return;
    }
    if (m_state != PlayState::Playing && m_state != PlayState::Paused && m_state != PlayState::Ended)
        return;
    if (m_info->seekable)
        SeekUs(0);
    SetState(PlayState::Stopped);
    update();
}

void TWindowsMediaPlayer::Seek(double seconds)
{
    if (std::isfinite(seconds))
        SeekUs(std::int64_t(std::clamp(seconds, 0.0, 1e7) * double(kSecond)));
}

void TWindowsMediaPlayer::SeekUs(std::int64_t us)
{
    if (!m_playback || !m_info || !m_info->seekable)
        return;
    us = std::clamp<std::int64_t>(us, 0, m_info->durationUs);
    if (m_audio)
        m_audio->Stop();
    m_playback->Seek(us);
    m_endUs = 0;
    if (m_state == PlayState::Ended)
        m_state = PlayState::Paused;  // the picture there is shown; Play goes on from it
    if (m_state == PlayState::Stopped && us > 0)
        m_state = PlayState::Paused;
    Apply();
}

void TWindowsMediaPlayer::SetState(PlayState state)
{
    const bool changed = state != m_state;
    m_state = state;
    Apply();
    if (changed) {
        update();
        emit StateChanged(state);
    }
}

void TWindowsMediaPlayer::Apply()
{
    if (m_playback && m_info) {
        player::MediaClock& clock = m_playback->Clock();
        const bool playing = m_state == PlayState::Playing;
        m_playback->SetPlaying(playing);
        if (playing) {
            if (m_audio) {
                if (m_audio->Suspended())
                    m_audio->Resume();
                else if (!m_audio->Started())
                    m_audio->Start(clock.Now());
            } else if (!m_info->hasVideo || m_playback->PosterShown()) {
                clock.Run();  // else the first picture of the position starts it
            }
            m_tick.start();
        } else {
            if (m_audio) {
                if (m_state == PlayState::Paused)
                    m_audio->Suspend();
                else
                    m_audio->Stop();
            }
            if (m_state != PlayState::Ended)
                clock.Hold();
            m_tick.stop();
        }
    } else {
        m_tick.stop();
    }
    UpdateControls();
}

std::int64_t TWindowsMediaPlayer::PositionUs() const
{
    if (!m_playback || !m_info)
        return 0;
    if (m_state == PlayState::Ended)
        return m_endUs;
    const std::int64_t now = m_playback->Clock().Now();
    const std::int64_t limit = std::max(m_info->durationUs, m_endUs);
    return std::clamp<std::int64_t>(now, 0, limit > 0 ? limit : std::max<std::int64_t>(now, 0));
}

void TWindowsMediaPlayer::UpdateControls()
{
    m_bar->SetMediaState(m_info != nullptr, m_state == PlayState::Playing);
    m_bar->SetTimes(PositionUs(), m_info ? m_info->durationUs : 0, m_info && m_info->seekable);
}

// ---- sound level ----

void TWindowsMediaPlayer::SetVolume(int volume)
{
    m_volume = std::clamp(volume, 0, 100);
    m_bar->SetVolume(m_volume);
    ApplyVolume();
}

void TWindowsMediaPlayer::SetMute(bool mute)
{
    m_mute = mute;
    m_bar->SetMuted(mute);
    ApplyVolume();
}

void TWindowsMediaPlayer::ApplyVolume()
{
    if (!m_audio)
        return;
    m_audio->SetLoudness(m_volume, m_mute);
}

// ---- what is shown ----

void TWindowsMediaPlayer::SetUiMode(const QString& mode)
{
    const QString m = mode.toLower();
    if (m != QLatin1String("full") && m != QLatin1String("none"))
        return;  // only the two modes the pages use; anything else leaves it as it is
    m_uiMode = m;
    LayoutChildren();
    update();
}

void TWindowsMediaPlayer::LayoutChildren()
{
    const bool full = m_uiMode == QLatin1String("full");
    m_bar->setVisible(full);
    if (full)
        m_bar->setGeometry(0, height() - m_bar->height(), width(), m_bar->height());
    if (m_playback) {
        const QRect area = VideoArea();
        m_playback->SetFrameArea(area.width(), area.height());
    }
}

void TWindowsMediaPlayer::resizeEvent(QResizeEvent*)
{
    LayoutChildren();
}

QRect TWindowsMediaPlayer::VideoArea() const
{
    const bool full = m_uiMode == QLatin1String("full");
    return {0, 0, width(), std::max(0, height() - (full ? m_bar->height() : 0))};
}

QSize TWindowsMediaPlayer::VideoSize() const
{
    if (!m_pictureDisplay.isEmpty())
        return m_pictureDisplay;
    return m_info && m_info->hasVideo ? QSize(m_info->width, m_info->height) : QSize();
}

QRect TWindowsMediaPlayer::PictureRect() const
{
    return Fit(VideoSize(), VideoArea());
}

double TWindowsMediaPlayer::CurrentPosition() const
{
    return double(PositionUs()) / double(kSecond);
}

double TWindowsMediaPlayer::Duration() const
{
    return m_info ? double(m_info->durationUs) / double(kSecond) : 0.0;
}

double TWindowsMediaPlayer::FrameTime() const
{
    return m_pictureUs >= 0 && !m_picture.isNull() ? double(m_pictureUs) / double(kSecond) : -1.0;
}

bool TWindowsMediaPlayer::HasVideo() const
{
    return m_info && m_info->hasVideo;
}

bool TWindowsMediaPlayer::HasAudio() const
{
    return m_info && m_info->hasAudio;
}

void TWindowsMediaPlayer::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    const QRect area = VideoArea();
    const bool shown = !m_picture.isNull() && m_state != PlayState::Stopped && m_state != PlayState::Failed;
    const QRect picture = shown ? PictureRect() : QRect();
    // Black around the picture only: the picture covers the rest.
    const QRegion black = QRegion(area).subtracted(picture) & e->region();
    for (const QRect& r : black)
        p.fillRect(r, Qt::black);
    if (!shown || picture.isEmpty())
        return;
    if (m_picture.size() == picture.size()) {
        p.drawImage(picture.topLeft(), m_picture);
    } else {
        // The panel changed size since this picture was made; the next one fits again.
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(picture, m_picture);
    }
}

void TWindowsMediaPlayer::contextMenuEvent(QContextMenuEvent* e)
{
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("playerMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const bool open = m_info != nullptr;
    QAction* play = menu->addAction(m_state == PlayState::Playing ? tr("&Pause") : tr("&Play"));
    play->setObjectName(QStringLiteral("playPause"));
    play->setEnabled(open);
    connect(play, &QAction::triggered, this, [this] { m_state == PlayState::Playing ? Pause() : Play(); });
    QAction* stop = menu->addAction(tr("&Stop"), this, &TWindowsMediaPlayer::Stop);
    stop->setObjectName(QStringLiteral("stop"));
    stop->setEnabled(open);
    menu->addSeparator();
    QAction* mute = menu->addAction(tr("&Mute"));
    mute->setObjectName(QStringLiteral("mute"));
    mute->setCheckable(true);
    mute->setChecked(m_mute);
    connect(mute, &QAction::toggled, this, &TWindowsMediaPlayer::SetMute);
    menu->popup(e->globalPos());
}

}  // namespace platform
