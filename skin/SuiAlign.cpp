#include "SuiAlign.h"

#include <QEvent>
#include <QSet>
#include <QWidget>

void SuiAlignChildren(QWidget* parent)
{
    if (!parent)
        return;
    // Placing one child resizes it, which asks for the whole layout again; the layout
    // under way already takes the new size into account.
    static QSet<const QWidget*> busy;
    if (busy.contains(parent))
        return;
    busy.insert(parent);

    QRect area = parent->contentsRect();
    const auto place = [](QWidget* child, const QRect& r) {
        if (child->geometry() != r)
            child->setGeometry(r);
    };
    const QObjectList children = parent->children();
    for (const TAlign pass : {SuiLayout::alTop, SuiLayout::alBottom, SuiLayout::alLeft, SuiLayout::alRight,
                              SuiLayout::alClient}) {
        for (QObject* object : children) {
            auto* child = qobject_cast<QWidget*>(object);
            if (!child || child->isWindow() || child->isHidden() || SuiAligner::AlignOf(child) != pass)
                continue;
            const QRect own = child->geometry();
            switch (pass) {
            case SuiLayout::alTop:
                place(child, QRect(area.left(), area.top(), area.width(), own.height()));
                area.setTop(area.top() + own.height());
                break;
            case SuiLayout::alBottom:
                place(child, QRect(area.left(), area.bottom() + 1 - own.height(), area.width(), own.height()));
                area.setBottom(area.bottom() - own.height());
                break;
            case SuiLayout::alLeft:
                place(child, QRect(area.left(), area.top(), own.width(), std::max(area.height(), 0)));
                area.setLeft(area.left() + own.width());
                break;
            case SuiLayout::alRight:
                place(child, QRect(area.right() + 1 - own.width(), area.top(), own.width(), std::max(area.height(), 0)));
                area.setRight(area.right() - own.width());
                break;
            case SuiLayout::alClient:
                place(child, QRect(area.topLeft(), area.size().expandedTo(QSize(0, 0))));
                break;
            case SuiLayout::alNone: break;
            }
        }
    }
    busy.remove(parent);
}

SuiAligner::SuiAligner(QWidget* control) : QObject(control), m_control(control)
{
    control->installEventFilter(this);
}

TAlign SuiAligner::AlignOf(const QWidget* control)
{
    const auto* aligner = control ? control->findChild<SuiAligner*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    return aligner ? aligner->Align() : SuiLayout::alNone;
}

void SuiAligner::SetAlign(TAlign align)
{
    m_align = align;
    Watch();
    SuiAlignChildren(m_control->parentWidget());
}

void SuiAligner::Watch()
{
    QWidget* parent = m_control->parentWidget();
    if (parent == m_watched)
        return;
    if (m_watched)
        m_watched->removeEventFilter(this);
    m_watched = parent;
    if (m_watched)
        m_watched->installEventFilter(this);
}

bool SuiAligner::eventFilter(QObject* watched, QEvent* event)
{
    if (m_align == SuiLayout::alNone && watched == m_control && event->type() != QEvent::ParentChange)
        return false;
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::ContentsRectChange:
        if (watched == m_watched || watched == m_control)
            SuiAlignChildren(m_watched);
        break;
    case QEvent::ChildRemoved:
        if (watched == m_watched)
            SuiAlignChildren(m_watched);
        break;
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        if (watched == m_control)
            SuiAlignChildren(m_watched);
        break;
    case QEvent::ParentChange:
        if (watched == m_control) {
            // The old parent closes the gap; the new one makes room.
            QPointer<QWidget> old = m_watched;
            Watch();
            SuiAlignChildren(old);
            SuiAlignChildren(m_watched);
        }
        break;
    default: break;
    }
    return false;
}
