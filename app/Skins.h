#pragma once
// The skin choice: the number kept in the job and the settings file, and the look it
// stands for.

#include "skin/Themes.h"

class TsuiThemeManager;

// 1 BlueGlass, 2 DeepBlue, 3 MacOS, 4 WinXP, 5 Protein; any other value MacOS.
TsuiUIStyle LookOfSkinType(int skinType);

// Sets the look of the job's skinType on the theme manager.
void ApplyCurrentSkin(TsuiThemeManager* manager);
