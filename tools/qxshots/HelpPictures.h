#pragma once
#include <QString>

namespace qxshots {

// The help page's pictures: the main window on each page in the default look, as a
// user sees them converting a video (page1.png ... page4.png, skins.png).
int writeHelpPictures(const QString& dir);

}  // namespace qxshots
