#pragma once
// Small helpers over the platform: where the program lives, and opening things with
// the desktop.

#include "platform/WinTypes.h"

// Writes the directory of the module's executable, ending in '/', into pszDir (at least
// MAX_PATH bytes). Returns 1 when filled, 0 when pszDir is null or the path does not fit.
int GetModuleDir(platform::HMODULE hModule, char* pszDir);

// Asks the desktop to open a file, folder or web address. Returns 1 when asked, 0 for a
// null or empty argument; what the desktop then does is not reported.
int ShellOpen(const char* pszFile);
