#include "TsuiProgressBar.h"

#include "skin/SuiPicture.h"

#include <QPainter>
#include <algorithm>

namespace {

constexpr int kSweepSteps = 40;  // one way across
constexpr int kSweepMs = 50;

}  // namespace

TsuiProgressBar::TsuiProgressBar(QWidget* parent)
    : QWidget(parent), m_fileTheme([this] { SetUIStyle(Sui::DeepBlue); })
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(150, 16);
    m_timer.setInterval(kSweepMs);
    connect(&m_timer, &QTimer::timeout, this, &TsuiProgressBar::Step);
    SetUIStyle(GetSUIFormStyle(parent ? parent->window() : nullptr));
}

void TsuiProgressBar::SetUIStyle(TsuiUIStyle look)
{
    m_uiStyle = look;
    const TsuiFileTheme* theme = m_fileTheme.Get();
    m_border = platform::ToQColor(SuiColor(theme, look, SUI_THEME_CONTROL_BORDER_COLOR));
    m_background = platform::ToQColor(SuiColor(theme, look, SUI_THEME_CONTROL_BACKGROUND_COLOR));
    SuiBitmap(theme, look, SUI_THEME_PROGRESSBAR_IMAGE, &m_picture);
    update();
}

void TsuiProgressBar::SetFileTheme(TsuiFileTheme* theme)
{
    m_fileTheme.Set(theme);
    SetUIStyle(m_uiStyle);
}

void TsuiProgressBar::SetPosition(int position)
{
    position = std::clamp(position, 0, m_max);
    if (position == m_position)
        return;
    m_position = position;
    update();
}

void TsuiProgressBar::SetMax(int max)
{
    m_max = std::max(1, max);
    m_position = std::min(m_position, m_max);
    update();
}

void TsuiProgressBar::SetMarquee(bool on)
{
    if (on == m_marquee)
        return;
    m_marquee = on;
    m_sweep = 0;
    UpdateTimer();
    update();
}

void TsuiProgressBar::Step()
{
    m_sweep = (m_sweep + 1) % (2 * kSweepSteps);
    update();
}

void TsuiProgressBar::UpdateTimer()
{
    if (m_marquee && isVisible())
        m_timer.start();
    else
        m_timer.stop();
}

void TsuiProgressBar::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    UpdateTimer();
}

void TsuiProgressBar::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    UpdateTimer();
}

QRect TsuiProgressBar::FillRect() const
{
    const QRect inner = rect().adjusted(2, 2, -2, -2);
    if (inner.isEmpty())
        return {};
    if (m_marquee) {
        // A quarter of the bar, going to and fro.
        const int block = std::max(8, inner.width() / 4);
        const int travel = std::max(0, inner.width() - block);
        const int step = m_sweep < kSweepSteps ? m_sweep : 2 * kSweepSteps - m_sweep;
        return {inner.left() + travel * step / kSweepSteps, inner.top(), std::min(block, inner.width()), inner.height()};
    }
    const int w = int(std::int64_t(inner.width()) * m_position / m_max);
    return {inner.left(), inner.top(), w, inner.height()};
}

void TsuiProgressBar::paintEvent(QPaintEvent*)
{
    QPainter canvas(this);
    canvas.fillRect(rect(), m_background);
    canvas.setPen(m_border);
    canvas.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect fill = FillRect();
    if (fill.isEmpty())
        return;
    if (m_picture.isNull()) {
        canvas.fillRect(fill, m_border);
        return;
    }
    // The picture stretched to the bar's height, repeated along it.
    const QImage column = m_picture.height() == fill.height()
                              ? m_picture
                              : m_picture.scaled(m_picture.width(), fill.height(), Qt::IgnoreAspectRatio,
                                                 Qt::FastTransformation);
    canvas.save();
    canvas.setClipRect(fill);
    for (int x = fill.left(); x <= fill.right(); x += column.width())
        canvas.drawImage(x, fill.top(), column);
    canvas.restore();
}
