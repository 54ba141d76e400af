#pragma once
// One encoding run on the encoder's automation objects: a source group with its video
// and audio sources, the output file, a profile loaded from one of the program's
// profile files, cropping, and the run itself with its statistics. Every operation
// reports success as a bool and keeps the encoder's last status code; nothing throws
// and nothing is shown to the user.

#include "common/misc/CxList.h"
#include "platform/com/Com.h"
#include "platform/wmencoder/WMEncoder.h"

#include <cstddef>
#include <cstdint>

// One source group. Allocated zero-filled (calloc) by the caller; the wrapper owns and
// frees it once AddSourceGroup took it.
struct CxWMEncGroup {
    platform::OLECHAR wszName[20];  // empty: SetupSourceGroup names it
    platform::wmenc::IWMEncSourceGroup* pGroup;
    platform::wmenc::IWMEncAudioSource* pAudio;
    platform::wmenc::IWMEncVideoSource2* pVideo;
};

// One of the encoder's installed profiles, allocated zero-filled by the wrapper.
struct CxWMEncProfileEntry {
    platform::wmenc::IWMEncProfile* pProfile;
    char szName[256];
};

// A profile object of the encoder, loaded from a profile file.
class CxWMEncProfile2 {
public:
    CxWMEncProfile2();
    virtual ~CxWMEncProfile2();
    CxWMEncProfile2(const CxWMEncProfile2&) = delete;
    CxWMEncProfile2& operator=(const CxWMEncProfile2&) = delete;

    // Replaces any previous object with a new one. phr, when given, receives the status.
    bool Create(platform::HRESULT* phr = nullptr);
    // False without an object, for a null or empty path, or a path longer than the wide
    // buffer; otherwise whether the object loaded the file.
    bool LoadFromFile(const char* pszFile, platform::HRESULT* phr = nullptr);
    platform::wmenc::IWMEncProfile2* GetProfile() { return m_pProfile; }

protected:
    platform::wmenc::IWMEncProfile2* m_pProfile;
};

class CxWMEncoder {
public:
    // Screen codes for LoadOutputProfile.
    static constexpr int kScreenStandard = 1000;  // 208 x 160
    static constexpr int kScreenWide = 1001;      // 320 x 200
    static constexpr int kScreenVGA = 1002;       // 640 x 480

    CxWMEncoder();
    // Releases everything; does not stop a run (call Stop first).
    virtual ~CxWMEncoder();
    CxWMEncoder(const CxWMEncoder&) = delete;
    CxWMEncoder& operator=(const CxWMEncoder&) = delete;

    bool IsInitialized() const { return m_bInitialized; }
    // Status of the last encoder call.
    platform::HRESULT GetLastResult() const { return m_hr; }
    // The output path last set successfully.
    const char* GetOutputFile() const { return m_szOutputFile; }

    // Takes ownership of a calloc'ed record; false for null or a record already added.
    bool AddSourceGroup(CxWMEncGroup* pGroup);
    // A null or empty audio path takes the video path.
    bool SetupSourceGroup(CxWMEncGroup* pGroup, const char* pszVideoFile, const char* pszAudioFile);
    // An index past the end removes nothing and is not an error.
    bool RemoveSourceGroup(std::uint32_t nIndex, bool bRelease);
    bool ReleaseSourceGroup(CxWMEncGroup* pGroup);
    void RemoveAllSourceGroups();

    bool SetOutputFile(const char* pszFile);
    // 0 for no limit; the encoder ends the run before the file passes either.
    bool SetOutputLimits(long long maxBytes, long long maxMilliseconds);

    // Loads the program's profile file for the screen code and quality (1 High,
    // 3 Low, anything else Medium) and makes it the group's profile.
    bool LoadOutputProfile(CxWMEncGroup* pGroup, int nScreen, int nQuality);
    bool LoadProfileFile(CxWMEncGroup* pGroup, const char* pszFile);
    // Both must be non-null: a null one is a fatal consistency check.
    bool SetGroupProfile(CxWMEncGroup* pGroup, platform::wmenc::IWMEncProfile2* pProfile);

    // Only margins above 0 are passed on; with none, the result is the last status.
    bool SetCropping(CxWMEncGroup* pGroup, int nLeft, int nTop, int nRight, int nBottom);

    bool LoadSystemProfiles();
    bool RemoveSystemProfile(std::uint32_t nIndex, bool bRelease);
    void RemoveAllSystemProfiles();
    void DeleteAllProfiles();

    bool Prepare(bool b);
    bool Start();
    bool Pause();
    bool Stop();

    // Milliseconds encoded and bytes written, as the low 32 bits of the encoder's value;
    // 0 when the query fails, -1 without encoder.
    std::int32_t GetFileDuration();
    std::int32_t GetFileSize();

    // What the encoder says about its run. These readers leave the last status alone,
    // so a failure can be inspected after the fact.
    int GetRunState();  // a WMENC_ENCODER_STATE, -1 without encoder or when unreadable
    bool GetErrorText(char* pszText, std::size_t nCapacity);
    platform::HRESULT GetErrorState();
    // How far the run has got and how it ended; they too leave the last status alone.
    int GetProgress();               // thousandths of the run, -1 when the length is unknown
    long long GetSourceDuration();   // the source's declared length in ms, 0 when unknown
    platform::wmenc::RunOutcome GetRunOutcome();
    // What a size limit lowered: the frame rate (0: the profile's), and mono sound.
    double GetFittedFrameRate();
    bool GetFittedMonoSound();

protected:
    bool Succeeded(platform::HRESULT hr, const void* pOut);
    std::int32_t QueryArchiveStat(bool bSize);
    // One value of the run's progress object; fallback when there is none or it fails.
    template <typename T>
    T ReadRunProgress(platform::HRESULT (platform::wmenc::IQxRunProgress::*read)(T*), T fallback);

    platform::wmenc::IWMEncoder* m_pEncoder;
    platform::wmenc::IWMEncSourceGroupCollection* m_pSourceGroups;
    platform::wmenc::IWMEncProfileCollection* m_pProfiles;
    platform::wmenc::IWMEncFile* m_pFile;
    platform::wmenc::IWMEncStatistics* m_pStatistics;
    platform::wmenc::IWMEncFileArchiveStats* m_pArchiveStats;
    platform::IDispatch* m_pArchiveDisp;
    bool m_bInitialized;
    char m_szOutputFile[platform::MAX_PATH];
    platform::HRESULT m_hr;
    CxList* m_pGroupList;          // of CxWMEncGroup
    CxList* m_pProfileEntryList;   // of CxWMEncProfileEntry
    CxList* m_pProfileList;        // of CxWMEncProfile2
    bool m_bComInitialized;        // CoInitialize succeeded and wants its CoUninitialize
};
