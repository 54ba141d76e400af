#pragma once
// The encoder automation objects, as the program sees them through COM: an encoder
// with its source groups, sources, output file, profiles and statistics. The classes
// WMEncoder and WMEncProfile2 come from RegisterEncoderClasses(); the work is done on
// FFmpeg by the engine behind them.

#include "platform/com/Com.h"

namespace platform::wmenc {

inline constexpr CLSID CLSID_WMEncoder = MakeGuid("632B606A-BBC6-11D2-A329-006097C4E476");
inline constexpr CLSID CLSID_WMEncProfile2 = MakeGuid("A5AC04E7-3E13-48CE-A43F-9FBA59DB1544");

// The engine's own failure codes.
inline constexpr HRESULT NS_E_SOURCE_UNREADABLE = MakeHResult(0x8004A001);   // missing or undecodable source
inline constexpr HRESULT NS_E_NO_VIDEO_STREAM = MakeHResult(0x8004A002);     // source without video
inline constexpr HRESULT NS_E_CROP_TOO_LARGE = MakeHResult(0x8004A003);      // less than 16 x 16 left
inline constexpr HRESULT NS_E_OUTPUT_UNWRITABLE = MakeHResult(0x8004A004);   // folder missing or read-only
inline constexpr HRESULT NS_E_OUTPUT_IS_SOURCE = MakeHResult(0x8004A005);    // would overwrite the source
inline constexpr HRESULT NS_E_INVALID_PROFILE = MakeHResult(0x8004A006);     // unreadable or unsupported profile
inline constexpr HRESULT NS_E_NOT_CONFIGURED = MakeHResult(0x8004A007);      // no group, input, file or profile
inline constexpr HRESULT NS_E_WRONG_STATE = MakeHResult(0x8004A008);         // call not allowed in this run state
inline constexpr HRESULT NS_E_ENCODE_FAILED = MakeHResult(0x8004A009);       // the run broke off

enum WMENC_SOURCE_TYPE : std::int32_t { WMENC_AUDIO = 1, WMENC_VIDEO = 2 };

enum WMENC_ENCODER_STATE : std::int32_t {
    WMENC_ENCODER_STOPPED = 0,
    WMENC_ENCODER_PREPARING = 1,  // PrepareToEncode is building the chain
    WMENC_ENCODER_RUNNING = 2,
    WMENC_ENCODER_PAUSED = 3,
};

struct IWMEncSource : IDispatch {
    static constexpr IID iid = MakeGuid("632B6082-BBC6-11D2-A329-006097C4E476");
    // A file path; scheme and stream name are unused (pass empty strings).
    virtual HRESULT SetInput(const OLECHAR* input, const OLECHAR* scheme, const OLECHAR* stream) = 0;
    virtual HRESULT get_Input(BSTR* input) = 0;

protected:
    ~IWMEncSource() = default;
};

struct IWMEncVideoSource2 : IWMEncSource {
    static constexpr IID iid = MakeGuid("C0973771-5F87-456A-B31B-5171C28AC01E");
    static constexpr bool Is(REFIID riid) { return riid == iid || riid == IWMEncSource::iid; }
    // Pixels cut from each edge of the source picture; 0 for none.
    virtual HRESULT put_CroppingLeftMargin(LONG pixels) = 0;
    virtual HRESULT put_CroppingTopMargin(LONG pixels) = 0;
    virtual HRESULT put_CroppingRightMargin(LONG pixels) = 0;
    virtual HRESULT put_CroppingBottomMargin(LONG pixels) = 0;
    virtual HRESULT get_CroppingLeftMargin(LONG* pixels) = 0;
    virtual HRESULT get_CroppingTopMargin(LONG* pixels) = 0;
    virtual HRESULT get_CroppingRightMargin(LONG* pixels) = 0;
    virtual HRESULT get_CroppingBottomMargin(LONG* pixels) = 0;

protected:
    ~IWMEncVideoSource2() = default;
};

struct IWMEncAudioSource : IWMEncSource {
    static constexpr IID iid = MakeGuid("C0973772-5F87-456A-B31B-5171C28AC01E");
    static constexpr bool Is(REFIID riid) { return riid == iid || riid == IWMEncSource::iid; }

protected:
    ~IWMEncAudioSource() = default;
};

struct IWMEncSourceGroup : IDispatch {
    static constexpr IID iid = MakeGuid("632B6081-BBC6-11D2-A329-006097C4E476");
    // The source as plain IWMEncSource; query it for the video or audio interface.
    virtual HRESULT AddSource(WMENC_SOURCE_TYPE type, IWMEncSource** source) = 0;
    // A VT_DISPATCH holding a profile object created by the class WMEncProfile2.
    virtual HRESULT put_Profile(VARIANT profile) = 0;
    virtual HRESULT get_Name(BSTR* name) = 0;

protected:
    ~IWMEncSourceGroup() = default;
};

struct IWMEncSourceGroupCollection : IDispatch {
    static constexpr IID iid = MakeGuid("632B6080-BBC6-11D2-A329-006097C4E476");
    virtual HRESULT Add(BSTR name, IWMEncSourceGroup** group) = 0;
    virtual HRESULT get_Count(LONG* count) = 0;

protected:
    ~IWMEncSourceGroupCollection() = default;
};

struct IWMEncFile : IDispatch {
    static constexpr IID iid = MakeGuid("632B6085-BBC6-11D2-A329-006097C4E476");
    virtual HRESULT put_LocalFileName(const OLECHAR* path) = 0;
    virtual HRESULT get_LocalFileName(BSTR* path) = 0;
    // Output limits: the run ends cleanly before the file passes either; 0 for none.
    virtual HRESULT put_MaxFileSize(LONGLONG bytes) = 0;
    virtual HRESULT put_MaxFileDuration(LONGLONG milliseconds) = 0;

protected:
    ~IWMEncFile() = default;
};

struct IWMEncProfile : IDispatch {
    static constexpr IID iid = MakeGuid("632B6087-BBC6-11D2-A329-006097C4E476");
    virtual HRESULT get_Name(BSTR* name) = 0;

protected:
    ~IWMEncProfile() = default;
};

struct IWMEncProfileCollection : IDispatch {
    static constexpr IID iid = MakeGuid("632B6086-BBC6-11D2-A329-006097C4E476");
    virtual HRESULT get_Count(LONG* count) = 0;
    virtual HRESULT Item(LONG index, IWMEncProfile** profile) = 0;

protected:
    ~IWMEncProfileCollection() = default;
};

struct IWMEncProfile2 : IDispatch {
    static constexpr IID iid = MakeGuid("C70E1CAC-32D2-4E22-A0FF-3A32E315D095");
    virtual HRESULT LoadFromFile(const OLECHAR* path) = 0;
    virtual HRESULT get_ProfileName(BSTR* name) = 0;

protected:
    ~IWMEncProfile2() = default;
};

struct IWMEncFileArchiveStats : IDispatch {
    static constexpr IID iid = MakeGuid("B12B5B14-F6D2-4A47-AAED-637498BD49D6");
    virtual HRESULT get_FileDuration(LONGLONG* milliseconds) = 0;
    virtual HRESULT get_FileSize(LONGLONG* bytes) = 0;

protected:
    ~IWMEncFileArchiveStats() = default;
};

// How a run ended, for the caller to tell the user.
enum class RunOutcome {
    None,           // still going, never run, or failed (see the error)
    Complete,       // the whole source
    Stopped,        // stopped by the caller before the source ended
    TimeLimit,      // ended at the time limit
    CutAtSize,      // ended at the size limit before the source or the time limit did
    SourceDamaged,  // the source ended early or could not be read further; the output is kept
};

// Our addition, answered by the archive statistics object: how far the run has got
// against the source's length, and how it ended.
struct IQxRunProgress : IDispatch {
    static constexpr IID iid = MakeGuid("8C1F3E52-6A4D-4B9E-B7C2-3D5E9F0A1B64");
    // Thousandths of the run done (the source up to the time limit); -1 while the
    // source's length is unknown.
    virtual HRESULT get_Progress(LONG* permille) = 0;
    // The source's declared length in milliseconds; 0 when unknown.
    virtual HRESULT get_SourceDuration(LONGLONG* milliseconds) = 0;
    // A RunOutcome; None while the run goes on.
    virtual HRESULT get_Outcome(LONG* outcome) = 0;
    // What a size limit lowered: the pictures a thousand seconds (0: the profile's rate),
    // and 1 when the sound was made mono.
    virtual HRESULT get_FittedFrameRate(LONG* framesPerThousandSeconds) = 0;
    virtual HRESULT get_FittedMonoSound(LONG* mono) = 0;

protected:
    ~IQxRunProgress() = default;
};

struct IWMEncStatistics : IDispatch {
    static constexpr IID iid = MakeGuid("632B6088-BBC6-11D2-A329-006097C4E476");
    // A dispatch object; query it for IWMEncFileArchiveStats.
    virtual HRESULT get_FileArchiveStats(IDispatch** stats) = 0;

protected:
    ~IWMEncStatistics() = default;
};

struct IWMEncoder : IDispatch {
    static constexpr IID iid = MakeGuid("632B607F-BBC6-11D2-A329-006097C4E476");
    virtual HRESULT get_SourceGroupCollection(IWMEncSourceGroupCollection** groups) = 0;
    virtual HRESULT get_ProfileCollection(IWMEncProfileCollection** profiles) = 0;
    virtual HRESULT get_File(IWMEncFile** file) = 0;
    virtual HRESULT get_Statistics(IWMEncStatistics** statistics) = 0;
    // With AutoStop the run ends by itself at the end of the source, file complete.
    virtual HRESULT put_AutoStop(VARIANT_BOOL autoStop) = 0;
    virtual HRESULT get_AutoStop(VARIANT_BOOL* autoStop) = 0;
    // Opens the source and the output and builds the whole chain; refuses with a failing
    // code and an error text before a byte is written.
    virtual HRESULT PrepareToEncode(VARIANT_BOOL prepare) = 0;
    // Starts the prepared run on the engine's threads, or resumes a paused one.
    virtual HRESULT Start() = 0;
    // Holds the run at a frame boundary.
    virtual HRESULT Pause() = 0;
    // Ends the run; returns once the output file is complete.
    virtual HRESULT Stop() = 0;
    virtual HRESULT get_RunState(WMENC_ENCODER_STATE* state) = 0;
    // The code and a readable text of the last failure (S_OK and empty when none).
    virtual HRESULT get_ErrorState(HRESULT* error) = 0;
    virtual HRESULT get_ErrorText(BSTR* text) = 0;

protected:
    ~IWMEncoder() = default;
};

// Makes one of the encoder server's objects (WMEncoder, WMEncProfile2) and hands back
// the interface asked for; REGDB_E_CLASSNOTREG for another class.
HRESULT CreateEncoderObject(REFCLSID clsid, REFIID riid, void** ppv);
// Installs the encoder server in this program's registry: registers WMEncoder and
// WMEncProfile2 with COM. (The wizard reaches the server through the media module
// instead, loaded when first needed.)
void RegisterEncoderClasses();

}  // namespace platform::wmenc
