#include "WMEncoder.h"

#include "Engine.h"
#include "ProfileFile.h"
#include "platform/Strings.h"

extern "C" {
#include <libavutil/log.h>
}

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace platform::wmenc {
namespace {

// How the encoder reads a loaded profile back out of the object it was given.
struct IQxProfileData : IDispatch {
    static constexpr IID iid = MakeGuid("5E0C9A61-2B7D-4C55-9E3A-7F1D2C4B8A90");
    virtual const Profile* Data() const = 0;

protected:
    ~IQxProfileData() = default;
};

HRESULT ReturnString(const std::string& text, BSTR* out)
{
    if (!out)
        return E_POINTER;
    const std::u16string wide = AnsiToWide(text);
    *out = SysAllocStringLen(wide.data(), ULONG(wide.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

std::string FromWide(const OLECHAR* text)
{
    return text ? WideToAnsi(std::u16string_view(text)) : std::string();
}

// Stores a plain value through an out pointer, as every property getter does.
template <typename T, typename V>
HRESULT ReturnValue(T* out, V value)
{
    if (!out)
        return E_POINTER;
    *out = T(value);
    return S_OK;
}

template <typename I, typename Object>
HRESULT Hand(Object* object, I** out)
{
    if (!out)
        return E_POINTER;
    object->AddRef();
    *out = object;
    return S_OK;
}

class SourceBase {
protected:
    std::string m_input;
};

class VideoSource final : public ComObject<IWMEncVideoSource2>, private SourceBase {
public:
    HRESULT SetInput(const OLECHAR* input, const OLECHAR*, const OLECHAR*) override
    {
        if (!input || !*input)
            return E_INVALIDARG;
        m_input = FromWide(input);
        return S_OK;
    }
    HRESULT get_Input(BSTR* input) override { return ReturnString(m_input, input); }
    HRESULT put_CroppingLeftMargin(LONG v) override { return Set(m_left, v); }
    HRESULT put_CroppingTopMargin(LONG v) override { return Set(m_top, v); }
    HRESULT put_CroppingRightMargin(LONG v) override { return Set(m_right, v); }
    HRESULT put_CroppingBottomMargin(LONG v) override { return Set(m_bottom, v); }
    HRESULT get_CroppingLeftMargin(LONG* v) override { return Get(m_left, v); }
    HRESULT get_CroppingTopMargin(LONG* v) override { return Get(m_top, v); }
    HRESULT get_CroppingRightMargin(LONG* v) override { return Get(m_right, v); }
    HRESULT get_CroppingBottomMargin(LONG* v) override { return Get(m_bottom, v); }

    const std::string& Input() const { return m_input; }
    LONG m_left = 0, m_top = 0, m_right = 0, m_bottom = 0;

private:
    static HRESULT Set(LONG& field, LONG v)
    {
        if (v < 0)
            return E_INVALIDARG;
        field = v;
        return S_OK;
    }
    static HRESULT Get(LONG field, LONG* v)
    {
        return ReturnValue(v, field);
    }
};

class AudioSource final : public ComObject<IWMEncAudioSource>, private SourceBase {
public:
    HRESULT SetInput(const OLECHAR* input, const OLECHAR*, const OLECHAR*) override
    {
        if (!input || !*input)
            return E_INVALIDARG;
        m_input = FromWide(input);
        return S_OK;
    }
    HRESULT get_Input(BSTR* input) override { return ReturnString(m_input, input); }
    const std::string& Input() const { return m_input; }
};

class SourceGroup final : public ComObject<IWMEncSourceGroup> {
public:
    explicit SourceGroup(std::string name) : m_name(std::move(name)) {}
    ~SourceGroup() override
    {
        SafeRelease(m_video);
        SafeRelease(m_audio);
        SafeRelease(m_profile);
    }

    HRESULT AddSource(WMENC_SOURCE_TYPE type, IWMEncSource** source) override
    {
        if (!source)
            return E_POINTER;
        *source = nullptr;
        if (type == WMENC_VIDEO) {
            SafeRelease(m_video);  // one source of each kind per group
            m_video = new VideoSource;
            return Hand<IWMEncSource>(m_video, source);
        }
        if (type == WMENC_AUDIO) {
            SafeRelease(m_audio);
            m_audio = new AudioSource;
            return Hand<IWMEncSource>(m_audio, source);
        }
        return E_INVALIDARG;
    }

    HRESULT put_Profile(VARIANT profile) override
    {
        if (profile.vt != VT_DISPATCH || !profile.pdispVal)
            return E_INVALIDARG;
        IQxProfileData* data = nullptr;
        if (FAILED(profile.pdispVal->QueryInterface(IQxProfileData::iid, reinterpret_cast<void**>(&data))))
            return E_INVALIDARG;
        if (!data->Data()) {
            data->Release();
            return NS_E_INVALID_PROFILE;  // created but never loaded
        }
        SafeRelease(m_profile);
        m_profile = data;
        return S_OK;
    }

    HRESULT get_Name(BSTR* name) override { return ReturnString(m_name, name); }

    std::string m_name;
    VideoSource* m_video = nullptr;
    AudioSource* m_audio = nullptr;
    IQxProfileData* m_profile = nullptr;
};

class SourceGroupCollection final : public ComObject<IWMEncSourceGroupCollection> {
public:
    ~SourceGroupCollection() override
    {
        for (SourceGroup* g : m_groups)
            g->Release();
    }
    HRESULT Add(BSTR name, IWMEncSourceGroup** group) override
    {
        if (!group)
            return E_POINTER;
        *group = nullptr;
        const std::string text = FromWide(name);
        if (text.empty())
            return E_INVALIDARG;
        for (SourceGroup* g : m_groups)
            if (g->m_name == text)
                return E_INVALIDARG;  // names are unique
        auto* g = new SourceGroup(text);
        m_groups.push_back(g);
        return Hand<IWMEncSourceGroup>(g, group);
    }
    HRESULT get_Count(LONG* count) override
    {
        return ReturnValue(count, LONG(m_groups.size()));
    }
    std::vector<SourceGroup*> m_groups;
};

class OutputFile final : public ComObject<IWMEncFile> {
public:
    HRESULT put_LocalFileName(const OLECHAR* path) override
    {
        if (!path || !*path)
            return E_INVALIDARG;
        m_path = FromWide(path);
        return S_OK;
    }
    HRESULT get_LocalFileName(BSTR* path) override { return ReturnString(m_path, path); }
    HRESULT put_MaxFileSize(LONGLONG bytes) override
    {
        if (bytes < 0)
            return E_INVALIDARG;
        m_maxBytes = bytes;
        return S_OK;
    }
    HRESULT put_MaxFileDuration(LONGLONG milliseconds) override
    {
        if (milliseconds < 0)
            return E_INVALIDARG;
        m_maxMs = milliseconds;
        return S_OK;
    }
    std::string m_path;
    LONGLONG m_maxBytes = 0, m_maxMs = 0;
};

class InstalledProfile final : public ComObject<IWMEncProfile> {
public:
    explicit InstalledProfile(std::string name) : m_name(std::move(name)) {}
    HRESULT get_Name(BSTR* name) override { return ReturnString(m_name, name); }

private:
    std::string m_name;
};

class ProfileCollection final : public ComObject<IWMEncProfileCollection> {
public:
    ProfileCollection()
    {
        for (const Profile& p : BuiltInProfiles())
            m_names.push_back(p.name);
    }
    HRESULT get_Count(LONG* count) override
    {
        return ReturnValue(count, LONG(m_names.size()));
    }
    HRESULT Item(LONG index, IWMEncProfile** profile) override
    {
        if (!profile)
            return E_POINTER;
        *profile = nullptr;
        if (index < 0 || std::size_t(index) >= m_names.size())
            return E_INVALIDARG;
        *profile = new InstalledProfile(m_names[std::size_t(index)]);
        return S_OK;
    }

private:
    std::vector<std::string> m_names;
};

class ProfileObject final : public ComObject<IWMEncProfile2, IQxProfileData> {
public:
    HRESULT LoadFromFile(const OLECHAR* path) override
    {
        if (!path || !*path)
            return E_INVALIDARG;
        std::string error;
        auto profile = LoadProfileFile(FromWide(path), &error);
        if (!profile)
            return NS_E_INVALID_PROFILE;
        m_profile = std::move(profile);
        return S_OK;
    }
    HRESULT get_ProfileName(BSTR* name) override { return ReturnString(m_profile ? m_profile->name : "", name); }
    const Profile* Data() const override { return m_profile ? &*m_profile : nullptr; }

private:
    std::optional<Profile> m_profile;
};

class ArchiveStats final : public ComObject<IWMEncFileArchiveStats, IQxRunProgress> {
public:
    explicit ArchiveStats(std::shared_ptr<RunStats> stats) : m_stats(std::move(stats)) {}
    HRESULT get_FileDuration(LONGLONG* ms) override
    {
        return ReturnValue(ms, m_stats->milliseconds.load());
    }
    HRESULT get_FileSize(LONGLONG* bytes) override
    {
        return ReturnValue(bytes, m_stats->bytes.load());
    }
    HRESULT get_Progress(LONG* permille) override { return ReturnValue(permille, LONG(m_stats->Permille())); }
    HRESULT get_SourceDuration(LONGLONG* ms) override { return ReturnValue(ms, m_stats->sourceMs.load()); }
    HRESULT get_Outcome(LONG* outcome) override { return ReturnValue(outcome, LONG(m_stats->outcome.load())); }
    HRESULT get_FittedFrameRate(LONG* rate) override { return ReturnValue(rate, LONG(m_stats->fittedFrameRate.load())); }
    HRESULT get_FittedMonoSound(LONG* mono) override { return ReturnValue(mono, LONG(m_stats->fittedMonoSound.load())); }

private:
    std::shared_ptr<RunStats> m_stats;
};

class Statistics final : public ComObject<IWMEncStatistics> {
public:
    explicit Statistics(std::shared_ptr<RunStats> stats) : m_stats(std::move(stats)) {}
    HRESULT get_FileArchiveStats(IDispatch** stats) override
    {
        if (!stats)
            return E_POINTER;  // checked before the object is made, so nothing leaks
        *stats = static_cast<IWMEncFileArchiveStats*>(new ArchiveStats(m_stats));
        return S_OK;
    }

private:
    std::shared_ptr<RunStats> m_stats;
};

class Encoder final : public ComObject<IWMEncoder> {
public:
    Encoder()
        : m_stats(std::make_shared<RunStats>()), m_groups(new SourceGroupCollection), m_file(new OutputFile),
          m_profiles(new ProfileCollection), m_statistics(new Statistics(m_stats))
    {
    }
    ~Encoder() override
    {
        m_engine.reset();  // ends a run still going, file complete
        SafeRelease(m_groups);
        SafeRelease(m_file);
        SafeRelease(m_profiles);
        SafeRelease(m_statistics);
    }

    HRESULT get_SourceGroupCollection(IWMEncSourceGroupCollection** out) override { return Hand(m_groups, out); }
    HRESULT get_ProfileCollection(IWMEncProfileCollection** out) override { return Hand(m_profiles, out); }
    HRESULT get_File(IWMEncFile** out) override { return Hand(m_file, out); }
    HRESULT get_Statistics(IWMEncStatistics** out) override { return Hand(m_statistics, out); }
    HRESULT put_AutoStop(VARIANT_BOOL autoStop) override
    {
        m_autoStop = autoStop != VARIANT_FALSE;
        return S_OK;
    }
    HRESULT get_AutoStop(VARIANT_BOOL* autoStop) override
    {
        return ReturnValue(autoStop, m_autoStop ? VARIANT_TRUE : VARIANT_FALSE);
    }

    HRESULT PrepareToEncode(VARIANT_BOOL prepare) override
    {
        if (prepare == VARIANT_FALSE)
            return S_OK;
        if (m_engine && m_engine->State() != WMENC_ENCODER_STOPPED)
            return Refuse(NS_E_WRONG_STATE, "A run is still going on.");
        m_engine.reset();
        m_error = S_OK;
        m_errorText.clear();

        if (m_groups->m_groups.empty())
            return Refuse(NS_E_NOT_CONFIGURED, "No source group has been added.");
        const SourceGroup& group = *m_groups->m_groups.front();
        if (!group.m_video || group.m_video->Input().empty())
            return Refuse(NS_E_NOT_CONFIGURED, "The source group has no video source.");
        if (!group.m_profile)
            return Refuse(NS_E_INVALID_PROFILE, "The source group has no profile.");
        if (m_file->m_path.empty())
            return Refuse(NS_E_NOT_CONFIGURED, "No output file has been set.");

        EngineSettings settings;
        settings.videoSource = group.m_video->Input();
        settings.audioSource = group.m_audio ? group.m_audio->Input() : std::string();
        settings.output = m_file->m_path;
        settings.cropLeft = group.m_video->m_left;
        settings.cropTop = group.m_video->m_top;
        settings.cropRight = group.m_video->m_right;
        settings.cropBottom = group.m_video->m_bottom;
        settings.profile = *group.m_profile->Data();
        settings.maxBytes = m_file->m_maxBytes;
        settings.maxMilliseconds = m_file->m_maxMs;
        settings.autoStop = m_autoStop;

        m_preparing = true;
        HRESULT hr = S_OK;
        std::string text;
        m_engine = Engine::Prepare(settings, m_stats, hr, text);
        m_preparing = false;
        if (!m_engine)
            return Refuse(FAILED(hr) ? hr : E_FAIL, text);
        return S_OK;
    }

    HRESULT Start() override
    {
        if (!m_engine)
            return Refuse(NS_E_WRONG_STATE, "The encoder has not been prepared.");
        return m_engine->Start();
    }
    HRESULT Pause() override { return m_engine ? m_engine->Pause() : NS_E_WRONG_STATE; }
    HRESULT Stop() override { return m_engine ? m_engine->Stop() : S_FALSE; }

    HRESULT get_RunState(WMENC_ENCODER_STATE* state) override
    {
        return ReturnValue(state, m_preparing ? WMENC_ENCODER_PREPARING : m_engine ? m_engine->State() : WMENC_ENCODER_STOPPED);
    }
    HRESULT get_ErrorState(HRESULT* error) override
    {
        return ReturnValue(error, FAILED(m_error) ? m_error : m_engine ? m_engine->Error() : S_OK);
    }
    HRESULT get_ErrorText(BSTR* text) override
    {
        return ReturnString(FAILED(m_error) ? m_errorText : m_engine ? m_engine->ErrorText() : std::string(), text);
    }

private:
    HRESULT Refuse(HRESULT hr, std::string text)
    {
        m_error = hr;
        m_errorText = std::move(text);
        return hr;
    }

    std::shared_ptr<RunStats> m_stats;
    SourceGroupCollection* m_groups;
    OutputFile* m_file;
    ProfileCollection* m_profiles;
    Statistics* m_statistics;
    std::unique_ptr<Engine> m_engine;
    bool m_autoStop = false;
    bool m_preparing = false;
    HRESULT m_error = S_OK;
    std::string m_errorText;
};

template <typename Object>
HRESULT CreateAndQuery(REFIID riid, void** ppv)
{
    auto* object = new Object;
    const HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
}

}  // namespace

HRESULT CreateEncoderObject(REFCLSID clsid, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    // The engine reports through its own error texts; FFmpeg's log stays quiet unless asked.
    static const bool quiet = [] {
        if (!std::getenv("QX_FFMPEG_LOG"))
            av_log_set_level(AV_LOG_QUIET);
        return true;
    }();
    (void)quiet;
    if (clsid == CLSID_WMEncoder)
        return CreateAndQuery<Encoder>(riid, ppv);
    if (clsid == CLSID_WMEncProfile2)
        return CreateAndQuery<ProfileObject>(riid, ppv);
    return REGDB_E_CLASSNOTREG;
}

void RegisterEncoderClasses()
{
    for (const CLSID& clsid : {CLSID_WMEncoder, CLSID_WMEncProfile2})
        CoRegisterClass(clsid, [clsid](REFIID riid, void** ppv) { return CreateEncoderObject(clsid, riid, ppv); });
}

}  // namespace platform::wmenc
