#pragma once
// The five built-in looks, by the names the sheets' files carry.

#include "skin/Themes.h"

namespace qxshots {

struct Look {
    const char* name;
    TsuiUIStyle look;
};

inline constexpr Look kLooks[] = {{"MACOS", Sui::MacOS}, {"WINXP", Sui::WinXP}, {"DEEPBLUE", Sui::DeepBlue},
                                  {"PROTEIN", Sui::Protein}, {"BLUEGLASS", Sui::BlueGlass}};

}  // namespace qxshots
