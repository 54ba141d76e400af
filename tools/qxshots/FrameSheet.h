#pragma once
#include <QString>

namespace qxshots {

// frame-LOOK.png per look (a framed window as it stands and with its File menu down) and
// titlebars.png (every look's title bar: active, inactive, hot, pressed).
int writeFrameSheets(const QString& dir);

}  // namespace qxshots
