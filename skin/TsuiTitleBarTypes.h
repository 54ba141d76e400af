#pragma once
// The enumerations of the title bar's buttons and sections, registered with Qt so that
// their properties can be set by name.

#include <QObject>

namespace SuiTitleBar {
Q_NAMESPACE

enum TsuiTitleBarBtnType { suiMax = 0, suiMin = 1, suiClose = 2, suiHelp = 3, suiControlBox = 4, suiCustom = 5 };
Q_ENUM_NS(TsuiTitleBarBtnType)

enum TsuiTitleBarAlign { suiLeft = 0, suiRight = 1, suiClient = 2 };
Q_ENUM_NS(TsuiTitleBarAlign)

}  // namespace SuiTitleBar

using TsuiTitleBarBtnType = SuiTitleBar::TsuiTitleBarBtnType;
using TsuiTitleBarAlign = SuiTitleBar::TsuiTitleBarAlign;
