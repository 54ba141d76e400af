#include "TsuiRadioGroupButton.h"

#include "skin/controls/TsuiCheckGroupButton.h"
#include "skin/controls/TsuiRadioGroup.h"

#include <QKeyEvent>

TsuiRadioGroupButton::TsuiRadioGroupButton(TsuiRadioGroup* group) : TsuiRadioButton(group), m_group(group) {}

bool TsuiRadioGroupButton::NeedDrawFocus() const
{
    return Checked() && (hasFocus() || (m_group && m_group->hasFocus()));
}

void TsuiRadioGroupButton::DoClick()
{
    if (m_group && !m_group->CanModify())
        return;
    TsuiRadioButton::DoClick();
}

void TsuiRadioGroupButton::keyPressEvent(QKeyEvent* event)
{
    if (!SuiGroupItemArrowKey(m_group, this, event))
        TsuiRadioButton::keyPressEvent(event);
}
