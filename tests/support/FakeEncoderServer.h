#pragma once
// A stand-in encoder server for the wrapper's tests: it registers the classes
// WMEncoder and WMEncProfile2 for its lifetime, writes every call into a log, fails the
// calls it is told to fail, and keeps every object it hands out so that reference
// counts can be checked after the wrapper is gone (objects are freed by the server, so
// a release too many is counted instead of freeing memory twice).

#include "platform/com/Com.h"
#include "platform/wmencoder/WMEncoder.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace qxtest {

class FakeEncoderServer;

// Reference count and owner of every fake object.
class FakeTracked {
public:
    FakeTracked(FakeEncoderServer& server, std::string kind);
    virtual ~FakeTracked() = default;
    const std::string& Kind() const { return m_kind; }
    long Refs() const { return m_refs; }

protected:
    platform::ULONG DoAddRef() { return platform::ULONG(++m_refs); }
    platform::ULONG DoRelease();
    // Runs when the last reference goes: drop what the object holds.
    virtual void Final() {}

    FakeEncoderServer& m_server;
    std::string m_kind;
    long m_refs = 1;
};

class FakeEncoderServer {
public:
    static constexpr platform::HRESULT kFailure = platform::MakeHResult(0x8004A0F0);

    FakeEncoderServer();
    ~FakeEncoderServer();
    FakeEncoderServer(const FakeEncoderServer&) = delete;
    FakeEncoderServer& operator=(const FakeEncoderServer&) = delete;

    // Makes a call fail with kFailure: "Encoder.get_File" fails every such call,
    // "Profiles.Item(1)" only the one with that argument.
    void Fail(const std::string& call) { m_failing.insert(call); }
    // Logs "name" or "name(arg)" and answers kFailure or S_OK.
    platform::HRESULT Call(const std::string& name, const std::string& arg = {});
    // Failing without a log line, for QueryInterface ("Video.QueryInterface").
    bool IsFailing(const std::string& call) const { return m_failing.count(call) != 0; }

    const std::vector<std::string>& Log() const { return m_log; }
    void ClearLog() { m_log.clear(); }

    // Objects still referenced, as "Kind:refs" for readable failures; empty when all
    // went back to 0.
    std::vector<std::string> Alive() const;
    int OverReleases() const { return m_overReleases; }
    int Created(const std::string& kind) const;

    // What the fake encoder reports.
    std::vector<std::u16string> profileNames{u"Video 256K", u"Audio 64K"};
    platform::LONGLONG fileDuration = 0;
    platform::LONGLONG fileSize = 0;
    platform::wmenc::WMENC_ENCODER_STATE runState = platform::wmenc::WMENC_ENCODER_STOPPED;
    platform::HRESULT errorState = platform::S_OK;
    std::u16string errorText;

    // What it was given.
    platform::IDispatch* groupProfile = nullptr;  // the last group's profile
    std::vector<std::u16string> groupNames;       // as the BSTR lengths say

    // Internal: called by the fakes.
    void Track(FakeTracked* object) { m_objects.emplace_back(object); }
    void CountOverRelease() { ++m_overReleases; }

private:
    std::vector<std::string> m_log;
    std::set<std::string> m_failing;
    std::vector<std::unique_ptr<FakeTracked>> m_objects;
    int m_overReleases = 0;
    platform::ClassFactory m_previousEncoder;
    platform::ClassFactory m_previousProfile;
};

}  // namespace qxtest
