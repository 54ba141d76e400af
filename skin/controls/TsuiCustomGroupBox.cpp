#include "TsuiCustomGroupBox.h"

#include "skin/SuiLook.h"

#include <QEvent>
#include <QFontInfo>
#include <QPainter>

namespace {

// A line from `from` towards `to`, leaving `to` itself undrawn, as the platform's line
// drawing does: where a frame starts again decides which pixels of its gap stay empty.
void LineTo(QPainter& canvas, QPoint& from, QPoint to, const QColor& color)
{
    const int dx = (to.x() > from.x()) - (to.x() < from.x());
    const int dy = (to.y() > from.y()) - (to.y() < from.y());
    for (QPoint p = from; p != to; p += QPoint(dx, dy))
        canvas.fillRect(p.x(), p.y(), 1, 1, color);
    from = to;
}

}  // namespace

TsuiCustomGroupBox::TsuiCustomGroupBox(QWidget* parent)
    : TsuiCustomPanel(parent), m_fileTheme([this] { SetUIStyle(Sui::DeepBlue); })
{
    SetText(QStringLiteral(" "));
    resize(185, 105);
    m_uiStyle = GetSUIFormStyle(parent ? parent->window() : nullptr);
    m_borderColor = SuiColor(nullptr, m_uiStyle, SUI_THEME_CONTROL_BORDER_COLOR);
    SetFontColor(SuiColor(nullptr, m_uiStyle, SUI_THEME_CONTROL_FONT_COLOR));
    UpdateChildMargins();
}

void TsuiCustomGroupBox::SetBorderColor(platform::COLORREF color)
{
    m_borderColor = color;
    update();
}

void TsuiCustomGroupBox::SetCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

void TsuiCustomGroupBox::SetUIStyle(TsuiUIStyle look)
{
    m_uiStyle = look;
    UpdateUIStyle(m_uiStyle, m_fileTheme.Get());
}

void TsuiCustomGroupBox::SetFileTheme(TsuiFileTheme* theme)
{
    m_fileTheme.Set(theme);
    SetUIStyle(m_uiStyle);
}

void TsuiCustomGroupBox::UpdateUIStyle(TsuiUIStyle look, TsuiFileTheme* fileTheme)
{
    ContainerApplyUIStyle(this, look, fileTheme);
    m_borderColor = SuiColor(fileTheme, look, SUI_THEME_CONTROL_BORDER_COLOR);
    SetFontColor(SuiColor(fileTheme, look, SUI_THEME_CONTROL_FONT_COLOR));
    update();
}

int TsuiCustomGroupBox::FontHeight() const
{
    return QFontInfo(font()).pixelSize();
}

QRect TsuiCustomGroupBox::GetClient() const
{
    return rect().adjusted(3, FontHeight(), -2, -2);
}

void TsuiCustomGroupBox::UpdateChildMargins()
{
    setContentsMargins(3, FontHeight() + 5, 3, 3);
}

void TsuiCustomGroupBox::changeEvent(QEvent* event)
{
    TsuiCustomPanel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        UpdateChildMargins();
    if (event->type() == QEvent::FontChange || event->type() == QEvent::EnabledChange)
        update();
}

void TsuiCustomGroupBox::paintEvent(QPaintEvent* /*event*/)
{
    SuiOffscreen offscreen(this);
    QPainter& canvas = offscreen.Painter();
    // The window text is a blank, so the panel part draws no caption of its own.
    if (Transparent())
        PaintPanel(canvas);
    else
        canvas.fillRect(rect(), BackgroundColor());

    const QFontMetrics metrics(font());
    const int left = 0, right = width(), bottom = height();
    const int y = FontHeight() / 2 + 1;
    const QColor pen = platform::ToQColor(m_borderColor);
    QPoint at(left + 2, y);
    LineTo(canvas, at, QPoint(left, y), pen);
    LineTo(canvas, at, QPoint(left, bottom - 1), pen);
    LineTo(canvas, at, QPoint(right - 1, bottom - 1), pen);
    LineTo(canvas, at, QPoint(right - 1, y), pen);
    const int captionWidth = metrics.horizontalAdvance(m_caption);
    LineTo(canvas, at, m_caption.isEmpty() ? QPoint(left, y) : QPoint(left + captionWidth + 6, y), pen);

    if (m_caption.isEmpty())
        return;
    canvas.setPen(isEnabled() ? FontColor() : QColor(0x80, 0x80, 0x80));
    canvas.drawText(QRect(5, 0, captionWidth, metrics.height()), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                    m_caption);
}
