#include "TfmStep2.h"

#include "DesignControls.h"
#include "TfmMain.h"
#include "skin/ThemeManager.h"
#include "skin/controls/TsuiCheckBox.h"
#include "skin/controls/TsuiGroupBox.h"
#include "skin/controls/TsuiRadioButton.h"
#include "skin/controls/TsuiSpinEdit.h"

#include <QLabel>
#include <climits>

namespace {

// The spin edits keep their designed WinXP look: any number, negative ones too.
TsuiSpinEdit* Spin(QWidget* parent, const char* name, const QRect& place)
{
    auto* spin = new TsuiSpinEdit(parent);
    spin->setObjectName(name);
    spin->setGeometry(place);
    spin->SetMinValue(0);
    spin->SetMaxValue(0);
    spin->SetIncrement(1);
    spin->setText("0");
    spin->SetUIStyle(Sui::WinXP);
    return spin;
}

TsuiGroupBox* Group(QWidget* parent, const char* name, const QString& caption, const QRect& place)
{
    auto* box = new TsuiGroupBox(parent);
    box->setObjectName(name);
    box->setGeometry(place);
    box->SetCaption(caption);
    box->SetUIStyle(Sui::MacOS);
    return box;
}

TsuiRadioButton* Radio(QWidget* parent, const char* name, const QString& caption, int x)
{
    TsuiRadioButton* radio = DesignRadio(parent, name, caption, x, 22);
    radio->SetUIStyle(Sui::MacOS);
    return radio;
}

}  // namespace

TfmStep2::TfmStep2(QWidget* parent) : WizardPage(parent, QSize(688, 298), "pClient")
{
    QWidget* panel = Panel();

    suiGroupBox1 = Group(panel, "suiGroupBox1", " Crop Video ( Pixels ) ", QRect(22, 19, 283, 87));
    DesignLabel(suiGroupBox1, "Label2", "Top", 16, 28);
    seTop = Spin(suiGroupBox1, "seTop", QRect(48, 26, 72, 19));
    DesignLabel(suiGroupBox1, "Label3", "Right", 137, 30);
    seRight = Spin(suiGroupBox1, "seRight", QRect(179, 27, 74, 19));
    DesignLabel(suiGroupBox1, "Label4", "Left", 18, 57);
    seLeft = Spin(suiGroupBox1, "seLeft", QRect(48, 55, 72, 19));
    DesignLabel(suiGroupBox1, "Label5", "Bottom", 138, 60);
    seBottom = Spin(suiGroupBox1, "seBottom", QRect(179, 55, 74, 19));

    // 48 blanks leave the frame open under the check box drawn over it.
    suiGroupBox2 = Group(panel, "suiGroupBox2", QString(48, QLatin1Char(' ')), QRect(22, 110, 283, 86));
    scbxEnable = new TsuiCheckBox(suiGroupBox2);
    scbxEnable->setObjectName("scbxEnable");
    scbxEnable->SetAutoSize(false);
    scbxEnable->setGeometry(10, -3, 144, 21);
    scbxEnable->SetCaption("Enable Output Restriction");
    DesignLabel(suiGroupBox2, "Label6", "File Size:", 15, 29);
    seSize = Spin(suiGroupBox2, "seSize", QRect(71, 25, 121, 19));
    DesignLabel(suiGroupBox2, "Label8", "KB Max.", 201, 28);
    DesignLabel(suiGroupBox2, "Label7", "Duration:", 17, 54);
    seDuration = Spin(suiGroupBox2, "seDuration", QRect(71, 51, 121, 19));
    DesignLabel(suiGroupBox2, "Label9", "Minutes Max.", 202, 50);

    suiGroupBox3 = Group(panel, "suiGroupBox3", "Output Quality", QRect(22, 200, 285, 52));
    rbtnH = Radio(suiGroupBox3, "rbtnH", "High", 15);
    rbtnM = Radio(suiGroupBox3, "rbtnM", "Medium", 83);
    rbtnL = Radio(suiGroupBox3, "rbtnL", "Low", 155);
    rbtnM->SetChecked(true);

    Label1 = DesignLabel(panel, "Label1", "Click the <Next> button to continue  conversion ...", 24, 256, true);

    skinMain->SetList({"scbxEnable"});
    connect(scbxEnable, &TsuiCheckBox::OnClick, this, &TfmStep2::scbxEnableClick);
    scbxEnableClick();
}

int TfmStep2::ReadBox(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    long long value = 0;
    for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i)
        value = std::min<long long>(value * 10 + (text[i].unicode() - '0'), 1LL + INT_MAX);
    value = negative ? -value : value;
    // A number past the ends of the field stops at the end, never wraps round.
    return int(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

void TfmStep2::scbxEnableClick()
{
    seSize->setEnabled(scbxEnable->Checked());
    seDuration->setEnabled(scbxEnable->Checked());
}

bool TfmStep2::UpdateData(bool saveAndValidate)
{
    ConversionJob& job = fmMain->Job();
    if (!saveAndValidate) {
        scbxEnableClick();
        (job.quality == 1 ? rbtnH : job.quality == 3 ? rbtnL : rbtnM)->SetChecked(true);
        return true;
    }
    job.cropTop = ReadBox(seTop->text());
    job.cropLeft = ReadBox(seLeft->text());
    job.cropRight = ReadBox(seRight->text());
    job.cropBottom = ReadBox(seBottom->text());
    job.maxSizeKB = scbxEnable->Checked() ? ReadBox(seSize->text()) : -1;
    job.maxMinutes = scbxEnable->Checked() ? ReadBox(seDuration->text()) : -1;
    job.quality = rbtnH->Checked() ? 1 : rbtnL->Checked() ? 3 : 2;
    return true;
}
