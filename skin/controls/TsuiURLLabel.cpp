#include "TsuiURLLabel.h"

#include "platform/Shell.h"

#include <QMouseEvent>

TsuiURLLabel::TsuiURLLabel(QWidget* parent)
    : QLabel(parent),
      m_url(QStringLiteral("https://www.quorlantix.example/")),
      m_fileTheme([this] { SetUIStyle(Sui::DeepBlue); })
{
    m_uiStyle = GetSUIFormStyle(parent ? parent->window() : nullptr);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    SetFontColor(m_linkColor);
    setCursor(Qt::PointingHandCursor);
    SetCaption(QStringLiteral("Visit our web site"));
}

void TsuiURLLabel::SetURL(const QString& url)
{
    if (url != m_url)
        m_url = url;
}

void TsuiURLLabel::SetLinkColor(platform::COLORREF color)
{
    m_linkColor = color;
    SetFontColor(color);
}

void TsuiURLLabel::SetFontColor(platform::COLORREF color)
{
    // Disabled text keeps the palette's grey.
    QPalette pal = palette();
    pal.setColor(QPalette::Active, QPalette::WindowText, platform::ToQColor(color));
    pal.setColor(QPalette::Inactive, QPalette::WindowText, platform::ToQColor(color));
    setPalette(pal);
}

platform::COLORREF TsuiURLLabel::FontColor() const
{
    return platform::FromQColor(palette().color(QPalette::Active, QPalette::WindowText));
}

void TsuiURLLabel::SetCaption(const QString& caption)
{
    setText(caption);
    if (m_autoSize)
        adjustSize();
}

void TsuiURLLabel::SetAutoSize(bool on)
{
    m_autoSize = on;
    if (on)
        adjustSize();
}

void TsuiURLLabel::Click()
{
    const QString target = m_url.trimmed();
    if (!target.isEmpty())
        platform::ShellExecuteA(nullptr, "open", m_url.toUtf8().constData(), "", "", platform::SW_SHOW);
    emit OnClick();
}

void TsuiURLLabel::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
}

void TsuiURLLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    const bool clicked = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        m_pressed = false;
    if (clicked)
        Click();
}

void TsuiURLLabel::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    SetFontColor(m_hoverColor);
}

void TsuiURLLabel::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    SetFontColor(m_linkColor);
}
