#include "TransportBar.h"

#include <QHelpEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <algorithm>
#include <cmath>

namespace platform {
namespace {

constexpr int kMargin = 6;
constexpr int kSeekRow = 14;
constexpr int kButtonW = 26;
constexpr int kVolumeW = 56;

const QColor kGlyph(0xe4, 0xe7, 0xeb);
const QColor kGlyphHover(0xff, 0xff, 0xff);
const QColor kGlyphOff(0x70, 0x75, 0x7c);
const QColor kAccentTop(0x6c, 0xb6, 0xff);
const QColor kAccentBottom(0x24, 0x6f, 0xc8);

QString Clock(std::int64_t us)
{
    const std::int64_t total = std::max<std::int64_t>(0, us / 1000000);
    const int h = int(total / 3600), m = int(total / 60 % 60), s = int(total % 60);
    if (h > 0)
        return QString::asprintf("%d:%02d:%02d", h, m, s);
    return QString::asprintf("%d:%02d", m, s);
}

}  // namespace

TransportBar::TransportBar(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(sizeHint().height());
}

int TransportBar::RowHeight() const
{
    return std::max(24, fontMetrics().height() + 8);
}

QSize TransportBar::sizeHint() const
{
    return {320, 3 + kSeekRow + RowHeight() + 3};
}

QSize TransportBar::minimumSizeHint() const
{
    return {160, sizeHint().height()};
}

void TransportBar::SetMediaState(bool hasMedia, bool playing)
{
    if (hasMedia == m_hasMedia && playing == m_playing)
        return;
    m_hasMedia = hasMedia;
    m_playing = playing;
    update();
}

void TransportBar::SetTimes(std::int64_t positionUs, std::int64_t durationUs, bool seekable)
{
    if (positionUs == m_positionUs && durationUs == m_durationUs && seekable == m_seekable)
        return;
    // Repaint only when something visible changes: the text or the knob's pixel.
    const QRect groove = Groove(Part::Seek);
    const auto knobX = [&](std::int64_t pos, std::int64_t dur) {
        return dur > 0 ? int(double(groove.width()) * double(pos) / double(dur)) : -1;
    };
    const bool changed = TimeText() != (Clock(positionUs) + " / " + (durationUs > 0 ? Clock(durationUs) : "--:--"))
        || knobX(positionUs, durationUs) != knobX(m_positionUs, m_durationUs) || seekable != m_seekable;
    m_positionUs = positionUs;
    m_durationUs = durationUs;
    m_seekable = seekable;
    if (changed)
        update();
}

void TransportBar::SetVolume(int volume)
{
    volume = std::clamp(volume, 0, 100);
    if (volume == m_volume)
        return;
    m_volume = volume;
    update(PartRect(Part::Volume));
}

void TransportBar::SetMuted(bool muted)
{
    if (muted == m_muted)
        return;
    m_muted = muted;
    update();
}

QRect TransportBar::PartRect(Part part) const
{
    const int rowTop = 3 + kSeekRow;
    const int rowH = RowHeight();
    switch (part) {
    case Part::Seek:
        return {kMargin, 3, std::max(0, width() - 2 * kMargin), kSeekRow};
    case Part::PlayPause:
        return {kMargin, rowTop, kButtonW, rowH};
    case Part::Stop:
        return {kMargin + kButtonW + 2, rowTop, kButtonW, rowH};
    case Part::Volume:
        return {width() - kMargin - kVolumeW, rowTop, kVolumeW, rowH};
    case Part::Mute:
        return {width() - kMargin - kVolumeW - 2 - kButtonW, rowTop, kButtonW, rowH};
    case Part::None:
        break;
    }
    return {};
}

QRect TransportBar::Groove(Part slider) const
{
    const QRect r = PartRect(slider);
    const int inset = slider == Part::Seek ? 5 : 4;  // room for the knob at both ends
    return {r.left() + inset, r.center().y() - 2, std::max(1, r.width() - 2 * inset), 4};
}

TransportBar::Part TransportBar::HitTest(const QPoint& p) const
{
    for (Part part : {Part::PlayPause, Part::Stop, Part::Mute, Part::Volume, Part::Seek})
        if (PartRect(part).contains(p))
            return part;
    return Part::None;
}

std::int64_t TransportBar::SeekAt(int x) const
{
    const QRect g = Groove(Part::Seek);
    const double f = std::clamp(double(x - g.left()) / double(g.width()), 0.0, 1.0);
    return std::int64_t(std::llround(f * double(m_durationUs)));
}

int TransportBar::VolumeAt(int x) const
{
    const QRect g = Groove(Part::Volume);
    return int(std::lround(std::clamp(double(x - g.left()) / double(g.width()), 0.0, 1.0) * 100.0));
}

QString TransportBar::TimeText() const
{
    return Clock(m_positionUs) + " / " + (m_durationUs > 0 ? Clock(m_durationUs) : "--:--");
}

void TransportBar::DrawButton(QPainter& p, Part part) const
{
    const QRect r = PartRect(part);
    const bool enabled = m_hasMedia || part == Part::Mute;
    if (enabled && (m_hover == part || m_pressed == part)) {
        p.setPen(Qt::NoPen);
        p.setBrush(m_pressed == part && m_hover == part ? QColor(0, 0, 0, 90) : QColor(255, 255, 255, 34));
        p.drawRoundedRect(QRectF(r).adjusted(1, 1, -1, -1), 4, 4);
    }
    const QColor glyph = !enabled ? kGlyphOff : m_hover == part ? kGlyphHover : kGlyph;
    const QPointF c = QRectF(r).center();
    p.setPen(Qt::NoPen);
    p.setBrush(glyph);
    switch (part) {
    case Part::PlayPause:
        if (m_playing) {
            p.drawRect(QRectF(c.x() - 5, c.y() - 6, 3.5, 12));
            p.drawRect(QRectF(c.x() + 1.5, c.y() - 6, 3.5, 12));
        } else {
            const QPointF tri[3] = {{c.x() - 4, c.y() - 7}, {c.x() - 4, c.y() + 7}, {c.x() + 7, c.y()}};
            p.drawPolygon(tri, 3);
        }
        break;
    case Part::Stop:
        p.drawRect(QRectF(c.x() - 5, c.y() - 5, 10, 10));
        break;
    case Part::Mute: {
        const double x = c.x() - 7;
        const QPointF speaker[6] = {{x, c.y() - 3}, {x + 3, c.y() - 3}, {x + 7, c.y() - 7},
                                    {x + 7, c.y() + 7}, {x + 3, c.y() + 3}, {x, c.y() + 3}};
        p.drawPolygon(speaker, 6);
        p.setBrush(Qt::NoBrush);
        if (m_muted) {
            p.setPen(QPen(QColor(0xff, 0x6a, 0x5c), 1.8, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(x + 10, c.y() - 3.5), QPointF(x + 15, c.y() + 3.5));
            p.drawLine(QPointF(x + 10, c.y() + 3.5), QPointF(x + 15, c.y() - 3.5));
        } else {
            p.setPen(QPen(glyph, 1.4, Qt::SolidLine, Qt::RoundCap));
            p.drawArc(QRectF(x + 4, c.y() - 4, 8, 8), -50 * 16, 100 * 16);
            p.drawArc(QRectF(x + 3, c.y() - 7, 14, 14), -50 * 16, 100 * 16);
        }
        break;
    }
    default:
        break;
    }
}

void TransportBar::DrawSlider(QPainter& p, Part part, double fraction, bool enabled) const
{
    const QRectF g = Groove(part);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0c, 0x0e, 0x10));
    p.drawRoundedRect(g.adjusted(0, -0.5, 0, 0.5), 2.5, 2.5);
    p.setBrush(QColor(255, 255, 255, 26));
    p.drawRect(QRectF(g.left() + 2, g.bottom() + 0.5, g.width() - 4, 1));  // light lip under the groove
    if (!enabled)
        return;
    fraction = std::clamp(fraction, 0.0, 1.0);
    const double x = g.left() + fraction * g.width();
    QLinearGradient fill(0, g.top(), 0, g.bottom());
    fill.setColorAt(0, kAccentTop);
    fill.setColorAt(1, kAccentBottom);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(g.left(), g.top() - 0.5, x - g.left(), g.height() + 1), 2.5, 2.5);
    const double radius = part == Part::Seek ? 5.0 : 4.5;
    QLinearGradient knob(0, g.center().y() - radius, 0, g.center().y() + radius);
    const bool hot = m_hover == part || m_pressed == part;
    knob.setColorAt(0, hot ? QColor(0xff, 0xff, 0xff) : QColor(0xf2, 0xf3, 0xf5));
    knob.setColorAt(1, hot ? QColor(0xc8, 0xdc, 0xf4) : QColor(0xa9, 0xae, 0xb5));
    p.setPen(QPen(QColor(0x10, 0x12, 0x15), 1));
    p.setBrush(knob);
    p.drawEllipse(QPointF(x, g.center().y()), radius, radius);
}

void TransportBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, height());
    bg.setColorAt(0, QColor(0x46, 0x4b, 0x53));
    bg.setColorAt(0.45, QColor(0x2f, 0x33, 0x39));
    bg.setColorAt(1, QColor(0x1b, 0x1d, 0x21));
    p.fillRect(rect(), bg);
    p.fillRect(QRect(0, 0, width(), 1), QColor(0x6a, 0x70, 0x79));

    const std::int64_t shown = m_pressed == Part::Seek ? m_dragUs : m_positionUs;
    DrawSlider(p, Part::Seek, m_durationUs > 0 ? double(shown) / double(m_durationUs) : 0.0,
               m_hasMedia && m_durationUs > 0);
    for (Part part : {Part::PlayPause, Part::Stop, Part::Mute})
        DrawButton(p, part);
    DrawSlider(p, Part::Volume, m_volume / 100.0, true);

    const QRect stop = PartRect(Part::Stop);
    const QRect mute = PartRect(Part::Mute);
    const QRect text(stop.right() + 8, stop.top(), mute.left() - stop.right() - 12, stop.height());
    if (text.width() > 0) {
        QFont f = font();
        f.setPointSizeF(std::max(6.0, f.pointSizeF() * 0.92));
        p.setFont(f);
        p.setPen(m_hasMedia ? QColor(0xd4, 0xd8, 0xdd) : kGlyphOff);
        const QString s = m_hasMedia ? Clock(shown) + " / " + (m_durationUs > 0 ? Clock(m_durationUs) : "--:--")
                                     : QString("0:00 / 0:00");
        p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, QFontMetrics(f).elidedText(s, Qt::ElideRight, text.width()));
    }
}

void TransportBar::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(e);
    const Part part = HitTest(e->position().toPoint());
    if (part == Part::Seek && (!m_hasMedia || !m_seekable || m_durationUs <= 0))
        return;
    if ((part == Part::PlayPause || part == Part::Stop) && !m_hasMedia)
        return;
    m_pressed = part;
    if (part == Part::Seek)
        m_dragUs = SeekAt(e->position().toPoint().x());
    if (part == Part::Volume) {
        m_volume = VolumeAt(e->position().toPoint().x());
        emit VolumeChanged(m_volume);
    }
    update();
}

void TransportBar::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    const Part hover = HitTest(pos);
    if (hover != m_hover) {
        m_hover = hover;
        update();
    }
    if (m_pressed == Part::Seek) {
        m_dragUs = SeekAt(pos.x());
        update();
    } else if (m_pressed == Part::Volume) {
        const int v = VolumeAt(pos.x());
        if (v != m_volume) {
            m_volume = v;
            emit VolumeChanged(v);
            update(PartRect(Part::Volume));
        }
    }
}

void TransportBar::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || m_pressed == Part::None)
        return QWidget::mouseReleaseEvent(e);
    const Part pressed = m_pressed;
    m_pressed = Part::None;
    update();
    const bool inside = HitTest(e->position().toPoint()) == pressed;
    switch (pressed) {
    case Part::Seek:
        m_positionUs = SeekAt(e->position().toPoint().x());
        emit SeekRequested(m_positionUs);
        break;
    case Part::PlayPause:
        if (inside)
            emit PlayPauseClicked();
        break;
    case Part::Stop:
        if (inside)
            emit StopClicked();
        break;
    case Part::Mute:
        if (inside)
            emit MuteClicked();
        break;
    default:
        break;
    }
}

void TransportBar::leaveEvent(QEvent*)
{
    if (m_hover != Part::None) {
        m_hover = Part::None;
        update();
    }
}

bool TransportBar::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        QString tip;
        switch (HitTest(help->pos())) {
        case Part::PlayPause:
            tip = m_playing ? tr("Pause") : tr("Play");
            break;
        case Part::Stop:
            tip = tr("Stop");
            break;
        case Part::Mute:
            tip = m_muted ? tr("Sound on") : tr("Mute");
            break;
        case Part::Volume:
            tip = tr("Volume: %1").arg(m_volume);
            break;
        case Part::Seek:
            tip = tr("Seek");
            break;
        case Part::None:
            break;
        }
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(e);
}

}  // namespace platform
