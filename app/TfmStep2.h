#pragma once
// Page 2: four cropping margins, the output restriction (size in KB, duration in
// minutes) and the quality. It never refuses.

#include "WizardPage.h"

class QLabel;
class TsuiCheckBox;
class TsuiGroupBox;
class TsuiRadioButton;
class TsuiSpinEdit;

class TfmStep2 : public WizardPage {
    Q_OBJECT

public:
    explicit TfmStep2(QWidget* parent);

    // false: the restriction boxes follow the check box and the quality button the job.
    // true: stores margins, restriction (-1 when off) and quality.
    bool UpdateData(bool saveAndValidate) override;

    // A box's text as a number: leading blanks, a sign, digits up to the first other
    // character; 0 without digits.
    static int ReadBox(const QString& text);

    TsuiGroupBox* suiGroupBox1;
    TsuiSpinEdit* seTop;
    TsuiSpinEdit* seRight;
    TsuiSpinEdit* seLeft;
    TsuiSpinEdit* seBottom;
    TsuiGroupBox* suiGroupBox2;
    TsuiCheckBox* scbxEnable;
    TsuiSpinEdit* seSize;
    TsuiSpinEdit* seDuration;
    TsuiGroupBox* suiGroupBox3;
    TsuiRadioButton* rbtnH;
    TsuiRadioButton* rbtnM;
    TsuiRadioButton* rbtnL;
    QLabel* Label1;

    void scbxEnableClick();
};
