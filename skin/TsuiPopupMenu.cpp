#include "TsuiPopupMenu.h"

#include <QMenu>

TsuiPopupMenu::TsuiPopupMenu(QObject* owner) : TsuiMenu(owner) {}

void TsuiPopupMenu::Popup(int x, int y)
{
    Items()->popup(QPoint(x, y));
}
