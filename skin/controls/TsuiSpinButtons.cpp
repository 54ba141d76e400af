#include "TsuiSpinButtons.h"

#include "skin/controls/TsuiArrowButton.h"

#include <QKeyEvent>
#include <QPainter>

TsuiSpinButtons::TsuiSpinButtons(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    m_up = new TsuiArrowButton(this);
    m_down = new TsuiArrowButton(this);
    m_up->SetArrow(TsuiArrowButton::suiUp);
    m_down->SetArrow(TsuiArrowButton::suiDown);
    for (TsuiArrowButton* button : {m_up, m_down}) {
        button->SetTabStop(false);
        button->SetMouseContinuouslyDownInterval(400);
        connect(button, &TsuiCustomButton::OnClick, this, [this, button] { ButtonClick(button); });
        connect(button, &TsuiCustomButton::OnMouseContinuouslyDown, this, [this, button] { ButtonClick(button); });
    }
    resize(20, 25);
    ArrangeButtons();
}

TsuiUIStyle TsuiSpinButtons::UIStyle() const
{
    return m_up ? m_up->UIStyle() : Sui::DeepBlue;
}

void TsuiSpinButtons::SetUIStyle(TsuiUIStyle look)
{
    m_up->SetUIStyle(look);
    m_down->SetUIStyle(look);
}

TsuiFileTheme* TsuiSpinButtons::FileTheme() const
{
    return m_up ? m_up->FileTheme() : nullptr;
}

void TsuiSpinButtons::SetFileTheme(TsuiFileTheme* fileTheme)
{
    m_up->SetFileTheme(fileTheme);
    m_down->SetFileTheme(fileTheme);
}

void TsuiSpinButtons::ButtonClick(TsuiArrowButton* sender)
{
    if (sender == m_up)
        emit OnUpClick();
    else
        emit OnDownClick();
}

void TsuiSpinButtons::ArrangeButtons()
{
    const int w = std::max(width(), 15);
    const int h = height();
    const int upHeight = h / 2 + 1;
    m_up->setGeometry(0, 0, w, upHeight);
    m_down->setGeometry(0, upHeight - 1, w, h - upHeight + 1);
    if (w != width())
        resize(w, h);
}

void TsuiSpinButtons::paintEvent(QPaintEvent*)
{
    // What shows round transparent arrows: the colour of the edit they sit in.
    SuiOffscreen offscreen(this);
    offscreen.Painter().fillRect(rect(), palette().color(QPalette::Base));
}

void TsuiSpinButtons::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ArrangeButtons();
}

void TsuiSpinButtons::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up)
        m_up->Click();
    else if (event->key() == Qt::Key_Down)
        m_down->Click();
    else
        QWidget::keyPressEvent(event);
}
