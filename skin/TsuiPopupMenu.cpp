#include "TsuiPopupMenu.h"

#include "SuiScreen.h"

#include <QMenu>

TsuiPopupMenu::TsuiPopupMenu(QObject* owner) : TsuiMenu(owner) {}

void TsuiPopupMenu::Popup(int x, int y)
{
    PopupMenuFrom(Items(), QPoint(x, y), parent());
}
