#include "TsuiMainMenu.h"

#include "skin/TsuiForm.h"

TsuiMainMenu::TsuiMainMenu(QWidget* owner) : TsuiMenu(owner)
{
    // A window shows its main menu in its frame's menu bar, never a native one.
    if (owner && owner->isWindow())
        if (TsuiForm* frame = TsuiForm::Of(owner))
            frame->SetMenu(this);
}
