#include "FakeEncoderServer.h"

#include "platform/Strings.h"

#include <utility>

using namespace platform;
using namespace platform::wmenc;

namespace qxtest {

FakeTracked::FakeTracked(FakeEncoderServer& server, std::string kind) : m_server(server), m_kind(std::move(kind))
{
    server.Track(this);
}

ULONG FakeTracked::DoRelease()
{
    if (m_refs <= 0) {
        m_server.CountOverRelease();
        return 0;
    }
    if (--m_refs == 0)
        Final();
    return ULONG(m_refs);
}

namespace {

std::string Narrow(const OLECHAR* text)
{
    return text ? WideToAnsi(std::u16string_view(text)) : std::string("<null>");
}

BSTR Bstr(const std::u16string& text)
{
    return SysAllocStringLen(text.data(), ULONG(text.size()));
}

template <typename I>
class FakeObject : public I, public FakeTracked {
public:
    FakeObject(FakeEncoderServer& server, std::string kind) : FakeTracked(server, std::move(kind)) {}

    HRESULT QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (m_server.IsFailing(m_kind + ".QueryInterface"))
            return E_NOINTERFACE;
        if (riid == IID_IUnknown || riid == IID_IDispatch || AnswersTo<I>(riid)) {
            *ppv = static_cast<I*>(this);
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return DoAddRef(); }
    ULONG Release() override { return DoRelease(); }

protected:
    // Hands out one more reference to an object the caller then owns.
    template <typename T, typename Out>
    HRESULT Hand(HRESULT hr, T* object, Out** out)
    {
        *out = nullptr;
        if (FAILED(hr))
            return hr;
        object->AddRef();
        *out = object;
        return hr;
    }
};

class FakeVideo final : public FakeObject<IWMEncVideoSource2> {
public:
    explicit FakeVideo(FakeEncoderServer& s) : FakeObject(s, "Video") {}
    HRESULT SetInput(const OLECHAR* input, const OLECHAR* scheme, const OLECHAR* stream) override
    {
        const bool plain = scheme && stream && !*scheme && !*stream;
        return m_server.Call("Video.SetInput", Narrow(input) + (plain ? "" : ",<scheme or stream>"));
    }
    HRESULT get_Input(BSTR* input) override { return *input = nullptr, E_NOTIMPL; }
    HRESULT put_CroppingLeftMargin(LONG n) override { return m_server.Call("Video.put_CroppingLeftMargin", std::to_string(n)); }
    HRESULT put_CroppingTopMargin(LONG n) override { return m_server.Call("Video.put_CroppingTopMargin", std::to_string(n)); }
    HRESULT put_CroppingRightMargin(LONG n) override { return m_server.Call("Video.put_CroppingRightMargin", std::to_string(n)); }
    HRESULT put_CroppingBottomMargin(LONG n) override { return m_server.Call("Video.put_CroppingBottomMargin", std::to_string(n)); }
    HRESULT get_CroppingLeftMargin(LONG*) override { return E_NOTIMPL; }
    HRESULT get_CroppingTopMargin(LONG*) override { return E_NOTIMPL; }
    HRESULT get_CroppingRightMargin(LONG*) override { return E_NOTIMPL; }
    HRESULT get_CroppingBottomMargin(LONG*) override { return E_NOTIMPL; }
};

class FakeAudio final : public FakeObject<IWMEncAudioSource> {
public:
    explicit FakeAudio(FakeEncoderServer& s) : FakeObject(s, "Audio") {}
    HRESULT SetInput(const OLECHAR* input, const OLECHAR* scheme, const OLECHAR* stream) override
    {
        const bool plain = scheme && stream && !*scheme && !*stream;
        return m_server.Call("Audio.SetInput", Narrow(input) + (plain ? "" : ",<scheme or stream>"));
    }
    HRESULT get_Input(BSTR* input) override { return *input = nullptr, E_NOTIMPL; }
};

class FakeGroup final : public FakeObject<IWMEncSourceGroup> {
public:
    explicit FakeGroup(FakeEncoderServer& s) : FakeObject(s, "Group") {}
    HRESULT AddSource(WMENC_SOURCE_TYPE type, IWMEncSource** source) override
    {
        const HRESULT hr = m_server.Call("Group.AddSource", std::to_string(type));
        if (FAILED(hr))
            return *source = nullptr, hr;
        IWMEncSource* created = type == WMENC_VIDEO ? static_cast<IWMEncSource*>(new FakeVideo(m_server))
                                                    : static_cast<IWMEncSource*>(new FakeAudio(m_server));
        m_sources.push_back(created);  // the group keeps its sources
        return Hand(hr, created, source);
    }
    HRESULT put_Profile(VARIANT profile) override
    {
        const HRESULT hr = m_server.Call("Group.put_Profile", profile.vt == VT_DISPATCH ? "" : "<not a dispatch>");
        if (FAILED(hr) || profile.vt != VT_DISPATCH)
            return hr;
        if (profile.pdispVal)
            profile.pdispVal->AddRef();
        SafeRelease(m_profile);
        m_profile = profile.pdispVal;
        m_server.groupProfile = m_profile;
        return hr;
    }
    HRESULT get_Name(BSTR* name) override { return *name = nullptr, E_NOTIMPL; }

private:
    void Final() override
    {
        for (IWMEncSource* s : m_sources)
            s->Release();
        m_sources.clear();
        SafeRelease(m_profile);
    }
    std::vector<IWMEncSource*> m_sources;
    IDispatch* m_profile = nullptr;
};

class FakeGroups final : public FakeObject<IWMEncSourceGroupCollection> {
public:
    explicit FakeGroups(FakeEncoderServer& s) : FakeObject(s, "Groups") {}
    HRESULT Add(BSTR name, IWMEncSourceGroup** group) override
    {
        const std::u16string text(name ? name : u"", SysStringLen(name));
        m_server.groupNames.push_back(text);
        const HRESULT hr = m_server.Call("Groups.Add", WideToAnsi(text));
        if (FAILED(hr))
            return *group = nullptr, hr;
        auto* created = new FakeGroup(m_server);
        m_groups.push_back(created);
        return Hand(hr, created, group);
    }
    HRESULT get_Count(LONG* count) override { return *count = LONG(m_groups.size()), S_OK; }

private:
    void Final() override
    {
        for (FakeGroup* g : m_groups)
            g->Release();
        m_groups.clear();
    }
    std::vector<FakeGroup*> m_groups;
};

class FakeFile final : public FakeObject<IWMEncFile> {
public:
    explicit FakeFile(FakeEncoderServer& s) : FakeObject(s, "File") {}
    HRESULT put_LocalFileName(const OLECHAR* path) override { return m_server.Call("File.put_LocalFileName", Narrow(path)); }
    HRESULT get_LocalFileName(BSTR* path) override { return *path = nullptr, E_NOTIMPL; }
    HRESULT put_MaxFileSize(LONGLONG n) override { return m_server.Call("File.put_MaxFileSize", std::to_string(n)); }
    HRESULT put_MaxFileDuration(LONGLONG n) override { return m_server.Call("File.put_MaxFileDuration", std::to_string(n)); }
};

class FakeProfile final : public FakeObject<IWMEncProfile> {
public:
    FakeProfile(FakeEncoderServer& s, std::u16string name) : FakeObject(s, "Profile"), m_name(std::move(name)) {}
    HRESULT get_Name(BSTR* name) override
    {
        const HRESULT hr = m_server.Call("Profile.get_Name", WideToAnsi(m_name));
        *name = FAILED(hr) ? nullptr : Bstr(m_name);
        return hr;
    }

private:
    std::u16string m_name;
};

class FakeProfiles final : public FakeObject<IWMEncProfileCollection> {
public:
    explicit FakeProfiles(FakeEncoderServer& s) : FakeObject(s, "Profiles") {}
    HRESULT get_Count(LONG* count) override
    {
        const HRESULT hr = m_server.Call("Profiles.get_Count");
        *count = FAILED(hr) ? 0 : LONG(m_server.profileNames.size());
        return hr;
    }
    HRESULT Item(LONG index, IWMEncProfile** profile) override
    {
        *profile = nullptr;
        const HRESULT hr = m_server.Call("Profiles.Item", std::to_string(index));
        if (FAILED(hr))
            return hr;
        if (index < 0 || std::size_t(index) >= m_server.profileNames.size())
            return E_INVALIDARG;
        *profile = new FakeProfile(m_server, m_server.profileNames[std::size_t(index)]);  // the caller's reference
        return hr;
    }
};

class FakeArchive final : public FakeObject<IWMEncFileArchiveStats> {
public:
    explicit FakeArchive(FakeEncoderServer& s) : FakeObject(s, "Archive") {}
    HRESULT get_FileDuration(LONGLONG* ms) override
    {
        const HRESULT hr = m_server.Call("Archive.get_FileDuration");
        *ms = FAILED(hr) ? 0 : m_server.fileDuration;
        return hr;
    }
    HRESULT get_FileSize(LONGLONG* bytes) override
    {
        const HRESULT hr = m_server.Call("Archive.get_FileSize");
        *bytes = FAILED(hr) ? 0 : m_server.fileSize;
        return hr;
    }
};

class FakeStatistics final : public FakeObject<IWMEncStatistics> {
public:
    explicit FakeStatistics(FakeEncoderServer& s) : FakeObject(s, "Statistics") {}
    HRESULT get_FileArchiveStats(IDispatch** stats) override
    {
        *stats = nullptr;
        const HRESULT hr = m_server.Call("Statistics.get_FileArchiveStats");
        if (SUCCEEDED(hr))
            *stats = new FakeArchive(m_server);  // a fresh object for each query
        return hr;
    }
};

class FakeProfile2 final : public FakeObject<IWMEncProfile2> {
public:
    explicit FakeProfile2(FakeEncoderServer& s) : FakeObject(s, "Profile2") {}
    HRESULT LoadFromFile(const OLECHAR* path) override { return m_server.Call("Profile2.LoadFromFile", Narrow(path)); }
    HRESULT get_ProfileName(BSTR* name) override { return *name = nullptr, E_NOTIMPL; }
};

class FakeEncoder final : public FakeObject<IWMEncoder> {
public:
    explicit FakeEncoder(FakeEncoderServer& s)
        : FakeObject(s, "Encoder"),
          m_groups(new FakeGroups(s)),
          m_profiles(new FakeProfiles(s)),
          m_file(new FakeFile(s)),
          m_statistics(new FakeStatistics(s))
    {
    }
    HRESULT get_SourceGroupCollection(IWMEncSourceGroupCollection** out) override
    {
        return Hand(m_server.Call("Encoder.get_SourceGroupCollection"), m_groups, out);
    }
    HRESULT get_ProfileCollection(IWMEncProfileCollection** out) override
    {
        return Hand(m_server.Call("Encoder.get_ProfileCollection"), m_profiles, out);
    }
    HRESULT get_File(IWMEncFile** out) override { return Hand(m_server.Call("Encoder.get_File"), m_file, out); }
    HRESULT get_Statistics(IWMEncStatistics** out) override
    {
        return Hand(m_server.Call("Encoder.get_Statistics"), m_statistics, out);
    }
    HRESULT put_AutoStop(VARIANT_BOOL v) override { return m_server.Call("Encoder.put_AutoStop", std::to_string(v)); }
    HRESULT get_AutoStop(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT PrepareToEncode(VARIANT_BOOL v) override { return m_server.Call("Encoder.PrepareToEncode", std::to_string(v)); }
    HRESULT Start() override { return m_server.Call("Encoder.Start"); }
    HRESULT Pause() override { return m_server.Call("Encoder.Pause"); }
    HRESULT Stop() override { return m_server.Call("Encoder.Stop"); }
    HRESULT get_RunState(WMENC_ENCODER_STATE* state) override
    {
        const HRESULT hr = m_server.Call("Encoder.get_RunState");
        *state = m_server.runState;
        return hr;
    }
    HRESULT get_ErrorState(HRESULT* error) override
    {
        const HRESULT hr = m_server.Call("Encoder.get_ErrorState");
        *error = m_server.errorState;
        return hr;
    }
    HRESULT get_ErrorText(BSTR* text) override
    {
        const HRESULT hr = m_server.Call("Encoder.get_ErrorText");
        *text = FAILED(hr) ? nullptr : Bstr(m_server.errorText);
        return hr;
    }

private:
    void Final() override
    {
        m_groups->Release();
        m_profiles->Release();
        m_file->Release();
        m_statistics->Release();
    }
    FakeGroups* m_groups;
    FakeProfiles* m_profiles;
    FakeFile* m_file;
    FakeStatistics* m_statistics;
};

// Creates an object the way a class factory does: one reference, for the caller.
template <typename T>
HRESULT CreateFor(FakeEncoderServer& server, REFIID riid, void** ppv)
{
    auto* object = new T(server);
    const HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
}

}  // namespace

FakeEncoderServer::FakeEncoderServer()
{
    m_previousEncoder = CoRegisterClass(CLSID_WMEncoder, [this](REFIID riid, void** ppv) {
        const HRESULT hr = Call("WMEncoder.create");
        return FAILED(hr) ? hr : CreateFor<FakeEncoder>(*this, riid, ppv);
    });
    m_previousProfile = CoRegisterClass(CLSID_WMEncProfile2, [this](REFIID riid, void** ppv) {
        const HRESULT hr = Call("WMEncProfile2.create");
        return FAILED(hr) ? hr : CreateFor<FakeProfile2>(*this, riid, ppv);
    });
}

FakeEncoderServer::~FakeEncoderServer()
{
    if (m_previousEncoder)
        CoRegisterClass(CLSID_WMEncoder, std::move(m_previousEncoder));
    else
        CoRevokeClass(CLSID_WMEncoder);
    if (m_previousProfile)
        CoRegisterClass(CLSID_WMEncProfile2, std::move(m_previousProfile));
    else
        CoRevokeClass(CLSID_WMEncProfile2);
}

HRESULT FakeEncoderServer::Call(const std::string& name, const std::string& arg)
{
    const std::string full = arg.empty() ? name : name + "(" + arg + ")";
    m_log.push_back(full);
    return m_failing.count(name) || m_failing.count(full) ? kFailure : S_OK;
}

std::vector<std::string> FakeEncoderServer::Alive() const
{
    std::vector<std::string> alive;
    for (const auto& object : m_objects)
        if (object->Refs() != 0)
            alive.push_back(object->Kind() + ":" + std::to_string(object->Refs()));
    return alive;
}

int FakeEncoderServer::Created(const std::string& kind) const
{
    int n = 0;
    for (const auto& object : m_objects)
        n += object->Kind() == kind;
    return n;
}

}  // namespace qxtest
