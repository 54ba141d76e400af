#pragma once
// The control-box menu of a title bar: minimise, maximise/restore, a separator and
// close, each enabled only while the bar shows the button that does the same, and
// doing what that button does. The texts follow the user's language: Chinese on a
// Chinese system, English elsewhere.

#include "TsuiPopupMenu.h"

class QAction;
class TsuiTitleBarButtons;

class TsuiTitleBarPopupMenu : public TsuiPopupMenu {
    Q_OBJECT

public:
    // buttons: the collection of the bar the menu belongs to; not owned.
    explicit TsuiTitleBarPopupMenu(TsuiTitleBarButtons* buttons, QObject* owner = nullptr);

    void Popup(int x, int y) override;

    // The items' texts for the user's language (QLocale()).
    static QStringList ItemTexts();

    QAction* MinimizeItem() const { return m_minimize; }
    QAction* MaximizeItem() const { return m_maximize; }
    QAction* CloseItem() const { return m_close; }
    // Enables each item by the bar's visible buttons, as Popup does before showing.
    void UpdateItems();

private:
    // Clicks the first visible button of the type (every one for maximise).
    void ClickButtons(int type, bool all);

    TsuiTitleBarButtons* m_buttons;
    QAction* m_minimize;
    QAction* m_maximize;
    QAction* m_close;
};
