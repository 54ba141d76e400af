#pragma once
// The preview player every wizard page holds. Writing URL loads that file and plays it
// at once from its start; the same path again loads it again; the empty string stops
// and releases the file. A file that cannot be played leaves the panel black, without a
// dialog or a message. Decoding runs on the player's own threads (Playback); sound goes
// to the default device (in the media module) and is the master clock; video alone runs
// on the system clock.

#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <memory>

namespace platform {

namespace player {
class SoundOutput;
class Playback;
struct MediaInfo;
}  // namespace player

class TransportBar;

class TWindowsMediaPlayer : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString URL READ URL WRITE SetURL)
    Q_PROPERTY(QString uiMode READ uiMode WRITE SetUiMode)
    Q_PROPERTY(int volume READ Volume WRITE SetVolume)
    Q_PROPERTY(bool mute READ Mute WRITE SetMute)

public:
    enum class PlayState { Closed, Opening, Playing, Paused, Stopped, Ended, Failed };
    Q_ENUM(PlayState)

    explicit TWindowsMediaPlayer(QWidget* parent = nullptr);
    ~TWindowsMediaPlayer() override;

    QString URL() const { return m_url; }
    void SetURL(const QString& url);
    QString uiMode() const { return m_uiMode; }
    void SetUiMode(const QString& mode);  // "full": picture and transport controls; "none": picture only
    int Volume() const { return m_volume; }
    void SetVolume(int volume);  // 0..100
    bool Mute() const { return m_mute; }
    void SetMute(bool mute);

    PlayState State() const { return m_state; }
    double CurrentPosition() const;  // seconds from the start
    double Duration() const;         // seconds; 0 when the file does not say
    double FrameTime() const;        // the time of the picture shown; -1 when none is
    bool HasVideo() const;
    bool HasAudio() const;
    bool SoundOutputActive() const { return m_audio != nullptr; }
    QSize VideoSize() const;   // the picture's display size
    QRect VideoArea() const;   // the black panel above the controls
    QRect PictureRect() const; // where the picture is drawn in it
    TransportBar* Controls() const { return m_bar; }

    QSize sizeHint() const override { return {329, 250}; }

public slots:
    void Play();
    void Pause();
    void Stop();
    void Seek(double seconds);

signals:
    void StateChanged(platform::TWindowsMediaPlayer::PlayState state);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    enum class Event { Opened, Failed, Frame };
    void Open(const QString& url);
    void Close();
    void OnEvent(int event);
    void OnOpened();
    void OnFrame();
    void OnTick();
    void OnSoundFailed();
    bool OpenSound();
    void SeekUs(std::int64_t us);
    void Apply();  // makes the clock, the sound and the controls follow m_state
    void SetState(PlayState state);
    std::int64_t PositionUs() const;
    void ApplyVolume();
    void UpdateControls();
    void LayoutChildren();

    QString m_url;
    QString m_uiMode = QStringLiteral("full");
    int m_volume = 50;
    bool m_mute = false;
    PlayState m_state = PlayState::Closed;
    bool m_wantPlay = true;

    std::unique_ptr<player::MediaInfo> m_info;  // set once the file is open
    std::unique_ptr<player::Playback> m_playback;
    std::unique_ptr<player::SoundOutput> m_audio;
    int m_generation = 0;

    QImage m_picture;
    QSize m_pictureDisplay;  // the shown picture's display size, before fitting
    std::int64_t m_pictureUs = -1;
    std::int64_t m_endUs = 0;
    QTimer m_tick;
    TransportBar* m_bar = nullptr;
};

}  // namespace platform
