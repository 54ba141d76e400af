#pragma once
// One item of a check group: a check box that knows its group, draws its focus cue
// while focused and moves the focus to its neighbours with the arrow keys.

#include "skin/controls/TsuiCheckBox.h"

class TsuiCheckGroup;

class TsuiCheckGroupButton : public TsuiCheckBox {
    Q_OBJECT

public:
    explicit TsuiCheckGroupButton(TsuiCheckGroup* group);
    TsuiCheckGroup* Group() const { return m_group; }

protected:
    bool NeedDrawFocus() const override { return hasFocus(); }
    void keyPressEvent(QKeyEvent* event) override;

private:
    TsuiCheckGroup* m_group;
};

// The arrow keys move the focus among a group's items; true when the key was one.
bool SuiGroupItemArrowKey(TsuiCheckGroup* group, TsuiCheckBox* item, QKeyEvent* event);
