#include "TsuiEdit.h"

#include "skin/SuiPicture.h"

#include <QFocusEvent>
#include <QPainter>

TsuiEdit::TsuiEdit(QWidget* parent)
    : QLineEdit(parent), m_fileTheme([this] { SetUIStyle(Sui::DeepBlue); })
{
    // The two frame pixels stand where a sunken border would.
    setFrame(false);
    setContentsMargins(2, 2, 2, 2);
    SetColor(m_color);
    m_uiStyle = GetSUIFormStyle(parent ? parent->window() : nullptr);
    m_borderColor = SuiColor(nullptr, m_uiStyle, SUI_THEME_CONTROL_BORDER_COLOR);
}

void TsuiEdit::SetBorderColor(platform::COLORREF color)
{
    m_borderColor = color;
    update();
}

void TsuiEdit::SetUIStyle(TsuiUIStyle look)
{
    m_uiStyle = look;
    // A look change overrides a border colour set by hand.
    m_borderColor = SuiColor(m_fileTheme.Get(), look, SUI_THEME_CONTROL_BORDER_COLOR);
    UIStyleChanged();
    update();
}

void TsuiEdit::SetFileTheme(TsuiFileTheme* theme)
{
    m_fileTheme.Set(theme);
    SetUIStyle(m_uiStyle);
}

void TsuiEdit::SetColor(platform::COLORREF color)
{
    m_color = color;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, platform::ToQColor(color));
    setPalette(pal);
    update();
}

void TsuiEdit::paintEvent(QPaintEvent* event)
{
    // The edit draws itself as usual; the flat frame goes over its outer two pixels.
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    DrawControlBorder(painter, this, m_borderColor, m_color, true);
}

void TsuiEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    const bool byKeyboard = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason ||
                            event->reason() == Qt::ShortcutFocusReason;
    if (!byKeyboard)
        return;
    if (m_autoSelect)
        selectAll();
    else
        deselect();
}
