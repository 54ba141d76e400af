#pragma once
// One item of a radio group: a radio button that selects itself only when its group
// allows it, and shows its focus cue while checked and focused (or its group is).

#include "skin/controls/TsuiRadioButton.h"

class TsuiRadioGroup;

class TsuiRadioGroupButton : public TsuiRadioButton {
    Q_OBJECT

public:
    explicit TsuiRadioGroupButton(TsuiRadioGroup* group);
    TsuiRadioGroup* Group() const { return m_group; }

protected:
    bool NeedDrawFocus() const override;
    void DoClick() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TsuiRadioGroup* m_group;
};
