#include "TfmSkin.h"

#include "DesignControls.h"
#include "Skins.h"
#include "TfmMain.h"
#include "skin/SuiScreen.h"
#include "skin/ThemeManager.h"
#include "skin/TsuiForm.h"
#include "skin/controls/TsuiButton.h"
#include "skin/controls/TsuiRadioButton.h"

TfmSkin::TfmSkin(QWidget* owner) : QDialog(owner)
{
    setObjectName("fmSkin");
    setWindowTitle("Choose Your Favorite Skin");
    setFont(QFont("MS Sans Serif", 8));
    sfSkin = new TsuiForm(this);
    sfSkin->setObjectName("sfSkin");
    sfSkin->SetClientSize(QSize(354, 221));
    CentreOnScreen(this);

    const auto radio = [this](const char* name, const char* caption, int x, int y, int skinType) {
        TsuiRadioButton* r = DesignRadio(sfSkin, name, caption, x, y);
        // A click previews the look on this dialog only.
        connect(r, &TsuiRadioButton::OnClick, this, [this, skinType] { skinMain->SetUIStyle(LookOfSkinType(skinType)); });
        return r;
    };
    rbtnBlueGlass = radio("rbtnBlueGlass", "Blue Glass", 27, 43, 1);
    rbtnDeepBlue = radio("rbtnDeepBlue", "Deep Blue", 27, 76, 2);
    rbtnMacOS = radio("rbtnMacOS", "Mac OS", 27, 110, 3);
    rbtnWinXP = radio("rbtnWinXP", "Windows XP", 27, 144, 4);
    rbtnProtein = radio("rbtnProtein", "Protein", 28, 178, 5);

    sbtnOK = DesignButton(sfSkin, "sbtnOK", "&OK", QRect(248, 139, 80, 27));
    sbtnOK->SetDefault(true);
    sbtnCancel = DesignButton(sfSkin, "sbtnCancel", "&Cancel", QRect(248, 172, 80, 27));
    sbtnCancel->SetCancel(true);
    sbtnCancel->SetModalResult(QDialog::Rejected + 2);  // the platform's Cancel result
    connect(sbtnOK, &TsuiButton::OnClick, this, &TfmSkin::sbtnOKClick);

    skinMain = new TsuiThemeManager(this);
    skinMain->setObjectName("skinMain");
    skinMain->SetList({"sfSkin", "rbtnBlueGlass", "rbtnDeepBlue", "rbtnMacOS", "rbtnWinXP", "rbtnProtein", "sbtnOK",
                       "sbtnCancel"});
    FormCreate();
}

void TfmSkin::FormCreate()
{
    ApplyCurrentSkin(skinMain);
    const int skinType = fmMain ? fmMain->Job().skinType : 3;
    TsuiRadioButton* checked = skinType == 1 ? rbtnBlueGlass
                               : skinType == 2 ? rbtnDeepBlue
                               : skinType == 4 ? rbtnWinXP
                               : skinType == 5 ? rbtnProtein
                                               : rbtnMacOS;
    checked->SetChecked(true);
    changed = false;
}

void TfmSkin::sbtnOKClick()
{
    const int choice = rbtnBlueGlass->Checked() ? 1
                       : rbtnDeepBlue->Checked() ? 2
                       : rbtnWinXP->Checked()    ? 4
                       : rbtnProtein->Checked()  ? 5
                                                 : 3;
    if (fmMain && choice != fmMain->Job().skinType) {
        fmMain->Job().skinType = choice;
        changed = true;
    }
    done(QDialog::Accepted);
}
