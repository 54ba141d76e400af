#include "TsuiRadioGroup.h"

#include "skin/controls/TsuiRadioGroupButton.h"

TsuiRadioGroup::TsuiRadioGroup(QWidget* parent) : TsuiCheckGroup(parent) {}

TsuiCheckBox* TsuiRadioGroup::CreateAButton()
{
    return new TsuiRadioGroupButton(this);
}

int TsuiRadioGroup::ItemIndex() const
{
    for (int i = 0; i < Count(); ++i)
        if (Item(i)->Checked())
            return i;
    return -1;
}

void TsuiRadioGroup::SetItemIndex(int index)
{
    if (index > int(Items().size()) - 1 || index < -1)
        return;
    if (index == -1) {
        for (int i = 0; i < Count(); ++i)
            Item(i)->SetChecked(false);
        return;
    }
    if (TsuiCheckBox* item = Item(index))
        item->SetChecked(true);
}

void TsuiRadioGroup::FocusUpdate()
{
    if (TsuiCheckBox* item = Item(ItemIndex()); item && item->isEnabled() && item->isVisible())
        item->setFocus(Qt::OtherFocusReason);
}
