#pragma once
// The skinned radio button: a check box that only checks on a click, and unchecks
// the radio buttons of the same parent and GroupIndex when it becomes checked.

#include "skin/controls/TsuiCheckBox.h"

class TsuiRadioButton : public TsuiCheckBox {
    Q_OBJECT
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)

public:
    explicit TsuiRadioButton(QWidget* parent = nullptr);

    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int index) { m_groupIndex = index; }

protected:
    bool GetPicTransparent() const override { return true; }
    int GetPicThemeIndex() const override { return SUI_THEME_RADIOBUTTON_IMAGE; }
    void CheckStateChanged() override;
    void DoClick() override;
    bool WantKeyUp() const override { return false; }
    bool WantsDoubleClicks() const override { return true; }

private:
    void UnCheckGroup();
    void FocusMoved(QWidget* old, QWidget* now);

    int m_groupIndex = 0;
};
