#pragma once
#include <QString>

namespace qxshots {

// window-LOOK-N-NAME.png: every window of the program in every look, from the real
// classes (a source is made with the ffmpeg command and converted for real), and
// windows-LOOK.png, a contact sheet of each look.
int writeWindowShots(const QString& dir);

}  // namespace qxshots
