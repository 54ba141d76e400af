#pragma once
// The skin chooser: five radio buttons that preview their look on the dialog itself;
// OK stores a different choice in the job (changed), Cancel and the title bar's close
// leave everything as it was.

#include <QDialog>

class TsuiButton;
class TsuiForm;
class TsuiRadioButton;
class TsuiThemeManager;

class TfmSkin : public QDialog {
    Q_OBJECT

public:
    explicit TfmSkin(QWidget* owner);

    // OK stored another skinType than the job had.
    bool changed = false;

    TsuiForm* sfSkin;
    TsuiRadioButton* rbtnBlueGlass;
    TsuiRadioButton* rbtnDeepBlue;
    TsuiRadioButton* rbtnMacOS;
    TsuiRadioButton* rbtnWinXP;
    TsuiRadioButton* rbtnProtein;
    TsuiButton* sbtnOK;
    TsuiButton* sbtnCancel;
    TsuiThemeManager* skinMain;

    void sbtnOKClick();

private:
    void FormCreate();
};
