#pragma once
// A context menu drawn in the look: the items of TsuiMenu in a drop-down shown at a
// point of the screen.

#include "TsuiMenu.h"

class TsuiPopupMenu : public TsuiMenu {
    Q_OBJECT

public:
    explicit TsuiPopupMenu(QObject* owner = nullptr);

    // Shows the items with their top-left corner at (x, y) of the screen; returns at once,
    // and an item chosen later runs its action.
    virtual void Popup(int x, int y);
};
