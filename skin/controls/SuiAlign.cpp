#include "SuiAlign.h"

#include <QEvent>
#include <QWidget>

void SuiApplyAlign(QWidget* control, TAlign align)
{
    QWidget* parent = control ? control->parentWidget() : nullptr;
    if (!parent || align == SuiLayout::alNone)
        return;
    const QRect area = parent->contentsRect();
    QRect r = control->geometry();
    switch (align) {
    case SuiLayout::alTop: r = QRect(area.left(), area.top(), area.width(), r.height()); break;
    case SuiLayout::alBottom: r = QRect(area.left(), area.bottom() + 1 - r.height(), area.width(), r.height()); break;
    case SuiLayout::alLeft: r = QRect(area.left(), area.top(), r.width(), area.height()); break;
    case SuiLayout::alRight: r = QRect(area.right() + 1 - r.width(), area.top(), r.width(), area.height()); break;
    case SuiLayout::alClient: r = area; break;
    case SuiLayout::alNone: break;
    }
    control->setGeometry(r);
}

SuiAligner::SuiAligner(QWidget* control) : QObject(control), m_control(control) {}

void SuiAligner::SetAlign(TAlign align)
{
    m_align = align;
    QObject* parent = m_control->parentWidget();
    if (parent != m_watched) {
        if (m_watched)
            m_watched->removeEventFilter(this);
        m_watched = parent;
        if (m_watched)
            m_watched->installEventFilter(this);
    }
    SuiApplyAlign(m_control, m_align);
}

bool SuiAligner::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_watched && event->type() == QEvent::Resize)
        SuiApplyAlign(m_control, m_align);
    return false;
}
