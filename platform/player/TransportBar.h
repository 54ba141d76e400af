#pragma once
// The player's transport controls, drawn by the player itself: play/pause, stop, a seek
// bar, elapsed and total time, mute and a volume slider. It only shows and reports; the
// player decides what a click does.

#include <QWidget>
#include <cstdint>

namespace platform {

class TransportBar : public QWidget {
    Q_OBJECT
public:
    enum class Part { None, PlayPause, Stop, Seek, Mute, Volume };

    explicit TransportBar(QWidget* parent = nullptr);

    void SetMediaState(bool hasMedia, bool playing);
    void SetTimes(std::int64_t positionUs, std::int64_t durationUs, bool seekable);
    void SetVolume(int volume);  // 0..100
    void SetMuted(bool muted);

    QRect PartRect(Part part) const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void PlayPauseClicked();
    void StopClicked();
    void MuteClicked();
    void SeekRequested(std::int64_t positionUs);
    void VolumeChanged(int volume);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent*) override;
    bool event(QEvent* e) override;

private:
    Part HitTest(const QPoint& p) const;
    int RowHeight() const;
    QRect Groove(Part slider) const;
    std::int64_t SeekAt(int x) const;
    int VolumeAt(int x) const;
    QString TimeText() const;
    void DrawButton(class QPainter& p, Part part) const;
    void DrawSlider(class QPainter& p, Part part, double fraction, bool enabled) const;

    bool m_hasMedia = false;
    bool m_playing = false;
    bool m_seekable = false;
    std::int64_t m_positionUs = 0;
    std::int64_t m_durationUs = 0;
    int m_volume = 50;
    bool m_muted = false;
    Part m_hover = Part::None;
    Part m_pressed = Part::None;
    std::int64_t m_dragUs = 0;  // where the seek bar's knob is while it is dragged
};

}  // namespace platform
