#pragma once
// Where the program puts what it writes: beside itself when it may (a copy unpacked
// into a folder of its own), else in the user's own folders (an installed copy that
// every user runs).

#include <string>

namespace places {

// Whether a file can be made in the folder. Tried, not read from the permissions: a
// read-only mount or a privileged user makes those say the wrong thing.
bool CanWriteIn(const std::string& dir);

// Whether the program keeps its files in its own folder: one it may write in that is not
// the system's (under /usr the package manager owns every file, and root may write
// there, yet every user shares the copy).
bool KeepsFilesBesideItself(const std::string& programDir);

// output.wmv in programDir (ending in '/') when the program keeps its files there, else in
// the user's videos folder (made if missing).
std::string DefaultOutputFile(const std::string& programDir);

// The settings file: fileName in programDir when the program keeps its files there, else in the
// user's configuration folder for the program (made when written).
std::string SettingsFile(const std::string& programDir, const std::string& fileName);

}  // namespace places
