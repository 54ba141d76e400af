#include "CxWMEncoder.h"

#include "common/misc/CxCheck.h"
#include "common/misc/WinUtil.h"
#include "platform/Strings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

using namespace platform;
using namespace platform::wmenc;

namespace {

// Wide paths handed to the encoder fit a buffer of MAX_PATH characters; a longer one
// is refused, since a cut path would name another file.
bool ToWidePath(const char* pszPath, std::u16string& wide)
{
    wide = AnsiToWide(pszPath);
    return wide.size() < MAX_PATH;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// CxWMEncProfile2

CxWMEncProfile2::CxWMEncProfile2() : m_pProfile(nullptr) {}

CxWMEncProfile2::~CxWMEncProfile2()
{
    SafeRelease(m_pProfile);
}

bool CxWMEncProfile2::Create(HRESULT* phr)
{
    SafeRelease(m_pProfile);
    HRESULT hr = CoCreateInstance(CLSID_WMEncProfile2, nullptr, CLSCTX_INPROC_SERVER, IWMEncProfile2::iid,
                                  reinterpret_cast<void**>(&m_pProfile));
    if (SUCCEEDED(hr) && !m_pProfile)
        hr = E_POINTER;
    if (phr)
        *phr = hr;
    return SUCCEEDED(hr);
}

bool CxWMEncProfile2::LoadFromFile(const char* pszFile, HRESULT* phr)
{
    if (!m_pProfile || !pszFile || !*pszFile)
        return false;
    std::u16string wszFile;
    HRESULT hr = E_INVALIDARG;
    if (ToWidePath(pszFile, wszFile))
        hr = m_pProfile->LoadFromFile(wszFile.c_str());
    if (phr)
        *phr = hr;
    return SUCCEEDED(hr);
}

// ---------------------------------------------------------------------------------------
// CxWMEncoder

CxWMEncoder::CxWMEncoder()
    : m_pEncoder(nullptr),
      m_pSourceGroups(nullptr),
      m_pProfiles(nullptr),
      m_pFile(nullptr),
      m_pStatistics(nullptr),
      m_pArchiveStats(nullptr),
      m_pArchiveDisp(nullptr),
      m_bInitialized(false),
      m_szOutputFile{},
      m_hr(S_OK),
      m_pGroupList(new (std::nothrow) CxList),
      m_pProfileEntryList(new (std::nothrow) CxList),
      m_pProfileList(new (std::nothrow) CxList),
      m_bComInitialized(false)
{
    if (!m_pGroupList || !m_pProfileEntryList || !m_pProfileList)
        return;

    m_hr = CoInitialize(nullptr);
    if (FAILED(m_hr))
        return;
    m_bComInitialized = true;

    m_hr = CoCreateInstance(CLSID_WMEncoder, nullptr, CLSCTX_INPROC_SERVER, IWMEncoder::iid,
                            reinterpret_cast<void**>(&m_pEncoder));
    if (!Succeeded(m_hr, m_pEncoder))
        return;
    HRESULT hr = m_pEncoder->get_SourceGroupCollection(&m_pSourceGroups);
    if (!Succeeded(hr, m_pSourceGroups))
        return;
    hr = m_pEncoder->get_File(&m_pFile);
    if (!Succeeded(hr, m_pFile))
        return;
    hr = m_pEncoder->get_ProfileCollection(&m_pProfiles);
    if (!Succeeded(hr, m_pProfiles))
        return;
    hr = m_pEncoder->get_Statistics(&m_pStatistics);
    if (!Succeeded(hr, m_pStatistics))
        return;
    m_bInitialized = true;
}

CxWMEncoder::~CxWMEncoder()
{
    RemoveAllSourceGroups();
    RemoveAllSystemProfiles();
    DeleteAllProfiles();
    SafeRelease(m_pArchiveStats);
    SafeRelease(m_pArchiveDisp);
    SafeRelease(m_pStatistics);
    SafeRelease(m_pProfiles);
    SafeRelease(m_pFile);
    SafeRelease(m_pSourceGroups);
    SafeRelease(m_pEncoder);
    delete m_pGroupList;
    delete m_pProfileEntryList;
    delete m_pProfileList;
    // Balanced with the one CoInitialize that succeeded; a failed one wants none.
    if (m_bComInitialized)
        CoUninitialize();
}

// Stores the status; a success that handed back no object counts as a failure. The call
// goes first, into its own variable: as a second argument its out pointer might be read
// before the call filled it.
bool CxWMEncoder::Succeeded(HRESULT hr, const void* pOut)
{
    m_hr = (SUCCEEDED(hr) && !pOut) ? E_POINTER : hr;
    return SUCCEEDED(m_hr);
}

bool CxWMEncoder::AddSourceGroup(CxWMEncGroup* pGroup)
{
    if (!pGroup || !m_pGroupList)
        return false;
    // Owned twice, it would be freed twice.
    for (void* p = m_pGroupList->GetFirst(); p; p = m_pGroupList->GetNext())
        if (p == pGroup)
            return false;
    return m_pGroupList->Add(pGroup);
}

bool CxWMEncoder::SetupSourceGroup(CxWMEncGroup* pGroup, const char* pszVideoFile, const char* pszAudioFile)
{
    if (!pGroup || !pszVideoFile || !*pszVideoFile)
        return false;
    if (!pszAudioFile || !*pszAudioFile)
        pszAudioFile = pszVideoFile;
    std::u16string wszVideo, wszAudio;
    if (!ToWidePath(pszVideoFile, wszVideo) || !ToWidePath(pszAudioFile, wszAudio)) {
        m_hr = E_INVALIDARG;
        return false;
    }

    ReleaseSourceGroup(pGroup);
    if (!m_pSourceGroups || !m_pGroupList)
        return false;

    constexpr std::size_t nNameMax = sizeof pGroup->wszName / sizeof pGroup->wszName[0];
    if (!pGroup->wszName[0]) {
        char szName[32];
        std::snprintf(szName, sizeof szName, "CxWMEncGrp_%d", int(m_pGroupList->GetCount()));
        const std::u16string wszName = AnsiToWide(szName);
        const std::size_t n = std::min(wszName.size(), nNameMax - 1);
        std::memcpy(pGroup->wszName, wszName.data(), n * sizeof(OLECHAR));
        pGroup->wszName[n] = 0;
    }
    // A name that fills the whole field has no terminator; read no further than the field.
    ULONG nName = 0;
    while (nName < nNameMax && pGroup->wszName[nName])
        ++nName;
    BSTR bstrName = SysAllocStringLen(pGroup->wszName, nName);
    if (!bstrName) {
        m_hr = E_OUTOFMEMORY;
        return false;
    }
    const HRESULT hrAdd = m_pSourceGroups->Add(bstrName, &pGroup->pGroup);
    SysFreeString(bstrName);
    if (!Succeeded(hrAdd, pGroup->pGroup))
        return false;

    IWMEncSource* pSource = nullptr;
    HRESULT hr = pGroup->pGroup->AddSource(WMENC_VIDEO, &pSource);
    if (!Succeeded(hr, pSource))
        return false;
    const HRESULT hrVideo = pSource->QueryInterface(IWMEncVideoSource2::iid, reinterpret_cast<void**>(&pGroup->pVideo));
    SafeRelease(pSource);
    if (!Succeeded(hrVideo, pGroup->pVideo))
        return false;
    m_hr = pGroup->pVideo->SetInput(wszVideo.c_str(), u"", u"");
    if (FAILED(m_hr))
        return false;

    hr = pGroup->pGroup->AddSource(WMENC_AUDIO, &pSource);
    if (!Succeeded(hr, pSource))
        return false;
    const HRESULT hrAudio = pSource->QueryInterface(IWMEncAudioSource::iid, reinterpret_cast<void**>(&pGroup->pAudio));
    SafeRelease(pSource);
    if (!Succeeded(hrAudio, pGroup->pAudio))
        return false;
    m_hr = pGroup->pAudio->SetInput(wszAudio.c_str(), u"", u"");
    return SUCCEEDED(m_hr);
}

bool CxWMEncoder::RemoveSourceGroup(std::uint32_t nIndex, bool bRelease)
{
    if (!m_pGroupList)
        return false;
    void* pData = nullptr;
    if (m_pGroupList->RemoveAt(nIndex, false, &pData) && pData) {
        auto* pGroup = static_cast<CxWMEncGroup*>(pData);
        if (bRelease)
            ReleaseSourceGroup(pGroup);
        std::free(pGroup);
    }
    return true;
}

bool CxWMEncoder::ReleaseSourceGroup(CxWMEncGroup* pGroup)
{
    if (!pGroup)
        return false;
    SafeRelease(pGroup->pAudio);
    SafeRelease(pGroup->pVideo);
    SafeRelease(pGroup->pGroup);
    return true;
}

void CxWMEncoder::RemoveAllSourceGroups()
{
    if (!m_pGroupList)
        return;
    const std::uint32_t nCount = m_pGroupList->GetCount();
    for (std::uint32_t i = 0; i < nCount; ++i)
        RemoveSourceGroup(0, true);
}

bool CxWMEncoder::SetOutputFile(const char* pszFile)
{
    if (!pszFile || !*pszFile || !m_pFile)
        return false;
    std::u16string wszFile;
    // The copy below must hold the whole path too.
    if (std::strlen(pszFile) >= sizeof m_szOutputFile || !ToWidePath(pszFile, wszFile)) {
        m_hr = E_INVALIDARG;
        return false;
    }
    m_hr = m_pFile->put_LocalFileName(wszFile.c_str());
    if (FAILED(m_hr))
        return false;
    std::memcpy(m_szOutputFile, pszFile, std::strlen(pszFile) + 1);
    return true;
}

bool CxWMEncoder::SetOutputLimits(long long maxBytes, long long maxMilliseconds)
{
    if (!m_pFile)
        return false;
    if (maxBytes < 0 || maxMilliseconds < 0) {
        m_hr = E_INVALIDARG;
        return false;
    }
    m_hr = m_pFile->put_MaxFileSize(maxBytes);
    if (FAILED(m_hr))
        return false;
    m_hr = m_pFile->put_MaxFileDuration(maxMilliseconds);
    return SUCCEEDED(m_hr);
}

bool CxWMEncoder::LoadOutputProfile(CxWMEncGroup* pGroup, int nScreen, int nQuality)
{
    char cScreen;
    switch (nScreen) {
    case kScreenStandard: cScreen = 'v'; break;
    case kScreenWide: cScreen = 'h'; break;
    case kScreenVGA: cScreen = 'x'; break;
    default: return false;
    }
    // The digit runs the other way from the quality: High is 3, Low is 1.
    const char cQuality = nQuality == 1 ? '3' : nQuality == 3 ? '1' : '2';

    char szDir[MAX_PATH];
    if (!GetModuleDir(nullptr, szDir))
        return false;
    char szFile[MAX_PATH];
    const int n = std::snprintf(szFile, sizeof szFile, "%sQXProf%c%c.prx", szDir, cQuality, cScreen);
    if (n < 0 || std::size_t(n) >= sizeof szFile)
        return false;
    return LoadProfileFile(pGroup, szFile);
}

bool CxWMEncoder::LoadProfileFile(CxWMEncGroup* pGroup, const char* pszFile)
{
    if (!m_pProfileList)
        return false;
    auto* pProfile = new (std::nothrow) CxWMEncProfile2;
    if (!pProfile) {
        m_hr = E_OUTOFMEMORY;
        return false;
    }
    if (!pProfile->Create(&m_hr) || !pProfile->LoadFromFile(pszFile, &m_hr)) {
        delete pProfile;
        return false;
    }
    m_pProfileList->Add(pProfile);
    return SetGroupProfile(pGroup, pProfile->GetProfile());
}

bool CxWMEncoder::SetGroupProfile(CxWMEncGroup* pGroup, IWMEncProfile2* pProfile)
{
    CX_CHECK(pGroup && pProfile);
    // A record whose set-up failed has no group to take the profile.
    if (!pGroup->pGroup)
        return false;
    VARIANT varProfile;
    VariantInit(&varProfile);
    varProfile.vt = VT_DISPATCH;
    varProfile.pdispVal = pProfile;  // lent for the call: no reference of its own
    m_hr = pGroup->pGroup->put_Profile(varProfile);
    return SUCCEEDED(m_hr);
}

bool CxWMEncoder::SetCropping(CxWMEncGroup* pGroup, int nLeft, int nTop, int nRight, int nBottom)
{
    if (!pGroup || !pGroup->pVideo)
        return false;
    IWMEncVideoSource2* pVideo = pGroup->pVideo;
    // Stop at the first refused margin: a later success must not hide it.
    if (nLeft > 0 && FAILED(m_hr = pVideo->put_CroppingLeftMargin(nLeft)))
        return false;
    if (nTop > 0 && FAILED(m_hr = pVideo->put_CroppingTopMargin(nTop)))
        return false;
    if (nRight > 0 && FAILED(m_hr = pVideo->put_CroppingRightMargin(nRight)))
        return false;
    if (nBottom > 0 && FAILED(m_hr = pVideo->put_CroppingBottomMargin(nBottom)))
        return false;
    return SUCCEEDED(m_hr);
}

bool CxWMEncoder::LoadSystemProfiles()
{
    RemoveAllSystemProfiles();
    if (!m_pProfiles || !m_pProfileEntryList)
        return false;
    LONG nCount = 0;
    m_hr = m_pProfiles->get_Count(&nCount);
    if (FAILED(m_hr))
        return false;
    for (LONG i = 0; i < nCount; ++i) {
        auto* pEntry = static_cast<CxWMEncProfileEntry*>(std::calloc(1, sizeof(CxWMEncProfileEntry)));
        if (!pEntry) {
            m_hr = E_OUTOFMEMORY;
            continue;
        }
        const HRESULT hr = m_pProfiles->Item(i, &pEntry->pProfile);
        if (!Succeeded(hr, pEntry->pProfile)) {
            std::free(pEntry);
            continue;
        }
        m_pProfileEntryList->Add(pEntry);
        BSTR bstrName = nullptr;
        m_hr = pEntry->pProfile->get_Name(&bstrName);
        if (SUCCEEDED(m_hr))
            WideToAnsi(std::u16string_view(bstrName, SysStringLen(bstrName)), pEntry->szName, sizeof pEntry->szName);
        SysFreeString(bstrName);
    }
    return true;
}

bool CxWMEncoder::RemoveSystemProfile(std::uint32_t nIndex, bool bRelease)
{
    if (!m_pProfileEntryList)
        return false;
    void* pData = nullptr;
    if (m_pProfileEntryList->RemoveAt(nIndex, false, &pData) && pData) {
        auto* pEntry = static_cast<CxWMEncProfileEntry*>(pData);
        if (bRelease)
            SafeRelease(pEntry->pProfile);
        std::free(pEntry);
    }
    return true;
}

void CxWMEncoder::RemoveAllSystemProfiles()
{
    if (!m_pProfileEntryList)
        return;
    const std::uint32_t nCount = m_pProfileEntryList->GetCount();
    for (std::uint32_t i = 0; i < nCount; ++i)
        RemoveSystemProfile(0, true);
}

void CxWMEncoder::DeleteAllProfiles()
{
    if (!m_pProfileList)
        return;
    for (void* p = m_pProfileList->GetFirst(); p; p = m_pProfileList->GetNext())
        delete static_cast<CxWMEncProfile2*>(p);
    m_pProfileList->RemoveAll(false);
}

bool CxWMEncoder::Prepare(bool b)
{
    if (!m_pEncoder)
        return false;
    // The run then ends by itself, file complete, at the end of the source.
    m_hr = m_pEncoder->put_AutoStop(VARIANT_TRUE);
    if (FAILED(m_hr))
        return false;
    m_hr = m_pEncoder->PrepareToEncode(b ? VARIANT_TRUE : VARIANT_FALSE);
    return SUCCEEDED(m_hr);
}

bool CxWMEncoder::Start()
{
    if (!m_pEncoder)
        return false;
    m_hr = m_pEncoder->Start();
    return SUCCEEDED(m_hr);
}

bool CxWMEncoder::Pause()
{
    if (!m_pEncoder)
        return false;
    m_hr = m_pEncoder->Pause();
    return SUCCEEDED(m_hr);
}

bool CxWMEncoder::Stop()
{
    if (!m_pEncoder)
        return false;
    m_hr = m_pEncoder->Stop();
    return SUCCEEDED(m_hr);
}

std::int32_t CxWMEncoder::GetFileDuration()
{
    return QueryArchiveStat(false);
}

std::int32_t CxWMEncoder::GetFileSize()
{
    return QueryArchiveStat(true);
}

// The archive statistics are held only for the one query.
std::int32_t CxWMEncoder::QueryArchiveStat(bool bSize)
{
    if (!m_pEncoder)
        return -1;
    if (!m_pStatistics)
        return 0;
    SafeRelease(m_pArchiveStats);
    SafeRelease(m_pArchiveDisp);
    LONGLONG llValue = 0;
    HRESULT hr = m_pStatistics->get_FileArchiveStats(&m_pArchiveDisp);
    bool bOk = Succeeded(hr, m_pArchiveDisp);
    if (bOk) {
        hr = m_pArchiveDisp->QueryInterface(IWMEncFileArchiveStats::iid, reinterpret_cast<void**>(&m_pArchiveStats));
        bOk = Succeeded(hr, m_pArchiveStats);
    }
    if (bOk) {
        m_hr = bSize ? m_pArchiveStats->get_FileSize(&llValue) : m_pArchiveStats->get_FileDuration(&llValue);
        bOk = SUCCEEDED(m_hr);
    }
    SafeRelease(m_pArchiveStats);
    SafeRelease(m_pArchiveDisp);
    if (!bOk)
        return 0;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(llValue)));
}

template <typename T>
T CxWMEncoder::ReadRunProgress(HRESULT (IQxRunProgress::*read)(T*), T fallback)
{
    if (!m_pEncoder || !m_pStatistics)
        return fallback;
    IDispatch* pDisp = nullptr;
    if (FAILED(m_pStatistics->get_FileArchiveStats(&pDisp)) || !pDisp)
        return fallback;
    IQxRunProgress* pProgress = nullptr;
    T value = fallback;
    if (SUCCEEDED(pDisp->QueryInterface(IQxRunProgress::iid, reinterpret_cast<void**>(&pProgress))) && pProgress &&
        FAILED((pProgress->*read)(&value)))
        value = fallback;
    SafeRelease(pProgress);
    pDisp->Release();
    return value;
}

int CxWMEncoder::GetProgress()
{
    return std::clamp<int>(ReadRunProgress<LONG>(&IQxRunProgress::get_Progress, -1), -1, 1000);
}

long long CxWMEncoder::GetSourceDuration()
{
    return std::max<LONGLONG>(ReadRunProgress<LONGLONG>(&IQxRunProgress::get_SourceDuration, 0), 0);
}

RunOutcome CxWMEncoder::GetRunOutcome()
{
    const LONG nOutcome = ReadRunProgress<LONG>(&IQxRunProgress::get_Outcome, 0);
    return nOutcome < 0 || nOutcome > LONG(RunOutcome::SourceDamaged) ? RunOutcome::None : RunOutcome(nOutcome);
}

double CxWMEncoder::GetFittedFrameRate()
{
    return std::max<LONG>(ReadRunProgress<LONG>(&IQxRunProgress::get_FittedFrameRate, 0), 0) / 1000.0;
}

bool CxWMEncoder::GetFittedMonoSound()
{
    return ReadRunProgress<LONG>(&IQxRunProgress::get_FittedMonoSound, 0) != 0;
}

int CxWMEncoder::GetRunState()
{
    if (!m_pEncoder)
        return -1;
    WMENC_ENCODER_STATE state = WMENC_ENCODER_STOPPED;
    if (FAILED(m_pEncoder->get_RunState(&state)))
        return -1;
    return state;
}

bool CxWMEncoder::GetErrorText(char* pszText, std::size_t nCapacity)
{
    if (!pszText || nCapacity == 0)
        return false;
    pszText[0] = '\0';
    if (!m_pEncoder)
        return false;
    BSTR bstrText = nullptr;
    if (FAILED(m_pEncoder->get_ErrorText(&bstrText)))
        return false;
    WideToAnsi(std::u16string_view(bstrText, SysStringLen(bstrText)), pszText, nCapacity);
    SysFreeString(bstrText);
    return true;
}

HRESULT CxWMEncoder::GetErrorState()
{
    // Without an encoder, why there is none.
    if (!m_pEncoder)
        return FAILED(m_hr) ? m_hr : E_UNEXPECTED;
    HRESULT hrError = S_OK;
    const HRESULT hr = m_pEncoder->get_ErrorState(&hrError);
    return FAILED(hr) ? hr : hrError;
}
