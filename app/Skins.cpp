#include "Skins.h"

#include "TfmMain.h"
#include "skin/ThemeManager.h"

TsuiUIStyle LookOfSkinType(int skinType)
{
    switch (skinType) {
    case 1: return Sui::BlueGlass;
    case 2: return Sui::DeepBlue;
    case 4: return Sui::WinXP;
    case 5: return Sui::Protein;
    default: return Sui::MacOS;
    }
}

void ApplyCurrentSkin(TsuiThemeManager* manager)
{
    if (manager && fmMain)
        manager->SetUIStyle(LookOfSkinType(fmMain->Job().skinType));
}
