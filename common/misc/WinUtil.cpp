#include "WinUtil.h"

#include "platform/Module.h"
#include "platform/Shell.h"

#include <cstdio>

int GetModuleDir(platform::HMODULE hModule, char* pszDir)
{
    if (!pszDir)
        return 0;
    char szPath[platform::MAX_PATH];
    const platform::DWORD n = platform::GetModuleFileNameA(hModule, szPath, sizeof szPath);
    if (n == 0 || n >= sizeof szPath) {
        // A cut path would name the wrong folder.
        pszDir[0] = '\0';
        return 0;
    }
    const platform::PathParts parts = platform::SplitPath(szPath);
    std::snprintf(pszDir, platform::MAX_PATH, "%s%s", parts.drive.c_str(), parts.dir.c_str());
    return 1;
}

int ShellOpen(const char* pszFile)
{
    if (!pszFile || !*pszFile)
        return 0;
    platform::ShellExecuteA(nullptr, "open", pszFile, "", "", platform::SW_SHOW);
    return 1;
}
