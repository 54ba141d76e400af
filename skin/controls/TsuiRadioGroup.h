#pragma once
// A check group of radio buttons: at most one line is selected, ItemIndex tells which.

#include "skin/controls/TsuiCheckGroup.h"

class TsuiRadioGroup : public TsuiCheckGroup {
    Q_OBJECT
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)

public:
    explicit TsuiRadioGroup(QWidget* parent = nullptr);

    // The first checked item, or -1.
    int ItemIndex() const;
    // -1 clears the selection; an index past the lines is ignored.
    void SetItemIndex(int index);

    virtual bool CanModify() const { return true; }

protected:
    TsuiCheckBox* CreateAButton() override;
    void FocusUpdate() override;
};
