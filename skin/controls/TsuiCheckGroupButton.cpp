#include "TsuiCheckGroupButton.h"

#include "skin/controls/TsuiCheckGroup.h"

#include <QKeyEvent>

bool SuiGroupItemArrowKey(TsuiCheckGroup* group, TsuiCheckBox* item, QKeyEvent* event)
{
    const int key = event->key();
    if (!group || (key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_Left && key != Qt::Key_Right))
        return false;
    group->FocusNextItem(item, key == Qt::Key_Down || key == Qt::Key_Right);
    event->accept();
    return true;
}

TsuiCheckGroupButton::TsuiCheckGroupButton(TsuiCheckGroup* group) : TsuiCheckBox(group), m_group(group) {}

void TsuiCheckGroupButton::keyPressEvent(QKeyEvent* event)
{
    if (!SuiGroupItemArrowKey(m_group, this, event))
        TsuiCheckBox::keyPressEvent(event);
}
