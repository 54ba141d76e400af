#include "Settings.h"

#include "Places.h"
#include "common/misc/WinUtil.h"
#include "platform/PrivateProfile.h"

#include <cstdio>

namespace settings {

std::string FilePath()
{
    char szDir[platform::MAX_PATH];
    GetModuleDir(nullptr, szDir);
    return places::SettingsFile(szDir, kFileName);
}

void Load(ConversionJob& job, const std::string& path)
{
    job.skinType = std::int32_t(platform::GetPrivateProfileIntA(kSection, "SkinType", kDefaultSkinType, path.c_str()));
    job.quality = std::int32_t(platform::GetPrivateProfileIntA(kSection, "Quality", kDefaultQuality, path.c_str()));
}

void Save(const ConversionJob& job, const std::string& path)
{
    char szValue[16];
    std::snprintf(szValue, sizeof szValue, "%d", int(job.skinType));
    platform::WritePrivateProfileStringA(kSection, "SkinType", szValue, path.c_str());
    std::snprintf(szValue, sizeof szValue, "%d", int(job.quality));
    platform::WritePrivateProfileStringA(kSection, "Quality", szValue, path.c_str());
}

}  // namespace settings
