#pragma once
// Where the program puts what it writes: beside itself when it may (a copy unpacked
// into a folder of its own), else in the user's own folders (an installed copy that
// every user runs).

#include <string>

namespace places {

// Whether a file can be made in the folder. Tried, not read from the permissions: a
// read-only mount or a privileged user makes those say the wrong thing.
bool CanWriteIn(const std::string& dir);

// output.wmv in programDir (ending in '/') when it can be written there, else in the
// user's videos folder (made if missing).
std::string DefaultOutputFile(const std::string& programDir);

// The settings file: fileName in programDir when it can be written there, else in the
// user's configuration folder for the program (made when written).
std::string SettingsFile(const std::string& programDir, const std::string& fileName);

}  // namespace places
