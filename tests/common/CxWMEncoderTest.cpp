#include "common/multimedia/CxWMEncoder.h"

#include "FakeEncoderServer.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using namespace platform;
using namespace platform::wmenc;
using qxtest::FakeEncoderServer;
using Log = std::vector<std::string>;

namespace {

constexpr HRESULT kFailure = FakeEncoderServer::kFailure;

// Looks at the wrapper's lists and held objects.
class EncoderProbe : public CxWMEncoder {
public:
    CxList& Groups() { return *m_pGroupList; }
    CxList& Entries() { return *m_pProfileEntryList; }
    CxList& Profiles() { return *m_pProfileList; }
    bool HoldsArchiveStats() const { return m_pArchiveStats || m_pArchiveDisp; }
    CxWMEncProfileEntry* Entry(std::uint32_t i) { return static_cast<CxWMEncProfileEntry*>(Entries().GetAt(i)); }
};

CxWMEncGroup* NewGroup()
{
    return static_cast<CxWMEncGroup*>(std::calloc(1, sizeof(CxWMEncGroup)));
}

std::string ModuleDir()
{
    return QCoreApplication::applicationDirPath().toStdString() + "/";
}

// A fake server and a wrapper on it; the server outlives the wrapper, and the test ends
// by checking that the wrapper gave back every reference and its COM initialisation.
class CxWMEncoderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_comBefore = CoInitializeCount();
        m_encoder = std::make_unique<EncoderProbe>();
        ASSERT_TRUE(m_encoder->IsInitialized());
        server.ClearLog();
    }

    // A group set up on one source file, log cleared.
    CxWMEncGroup* SetUpGroup()
    {
        CxWMEncGroup* group = NewGroup();
        EXPECT_TRUE(enc().AddSourceGroup(group));
        EXPECT_TRUE(enc().SetupSourceGroup(group, "/videos/clip.mpg", nullptr));
        server.ClearLog();
        return group;
    }

    void ExpectAllReleased()
    {
        m_encoder.reset();
        EXPECT_EQ(server.Alive(), Log{});
        EXPECT_EQ(server.OverReleases(), 0);
        EXPECT_EQ(CoInitializeCount(), m_comBefore);
    }

    EncoderProbe& enc() { return *m_encoder; }

    FakeEncoderServer server;

private:
    int m_comBefore = 0;
    std::unique_ptr<EncoderProbe> m_encoder;
};

TEST(CxWMEncoderConstruction, StopsAtTheFirstFailingStepAndCleansUp)
{
    const Log steps = {"WMEncoder.create", "Encoder.get_SourceGroupCollection", "Encoder.get_File",
                       "Encoder.get_ProfileCollection", "Encoder.get_Statistics"};
    const int comBefore = CoInitializeCount();
    for (std::size_t failAt = 0; failAt <= steps.size(); ++failAt) {
        SCOPED_TRACE(failAt < steps.size() ? steps[failAt] : "no failure");
        FakeEncoderServer server;
        if (failAt < steps.size())
            server.Fail(steps[failAt]);
        auto enc = std::make_unique<CxWMEncoder>();
        EXPECT_EQ(CoInitializeCount(), comBefore + 1);
        const bool complete = failAt == steps.size();
        EXPECT_EQ(enc->IsInitialized(), complete);
        EXPECT_EQ(enc->GetLastResult(), complete ? S_OK : kFailure);
        EXPECT_EQ(server.Log(), Log(steps.begin(), steps.begin() + std::ptrdiff_t(std::min(failAt + 1, steps.size()))));
        // A half-built wrapper answers without touching what it lacks.
        EXPECT_EQ(enc->GetFileSize(), failAt == 0 ? -1 : 0);
        enc.reset();
        EXPECT_EQ(server.Alive(), Log{});
        EXPECT_EQ(server.OverReleases(), 0);
        EXPECT_EQ(CoInitializeCount(), comBefore);
    }
}

TEST(CxWMEncoderConstruction, WithoutTheServerNothingWorksAndNothingBreaks)
{
    const int comBefore = CoInitializeCount();
    {
        CxWMEncoder enc;
        EXPECT_FALSE(enc.IsInitialized());
        EXPECT_EQ(enc.GetLastResult(), REGDB_E_CLASSNOTREG);
        EXPECT_EQ(enc.GetFileDuration(), -1);
        EXPECT_EQ(enc.GetFileSize(), -1);
        EXPECT_EQ(enc.GetRunState(), -1);
        EXPECT_EQ(enc.GetErrorState(), REGDB_E_CLASSNOTREG);
        EXPECT_FALSE(enc.LoadSystemProfiles());
        EXPECT_FALSE(enc.SetOutputFile("/tmp/out.wmv"));
        EXPECT_FALSE(enc.Prepare(true));
        EXPECT_FALSE(enc.Start());
        EXPECT_FALSE(enc.Pause());
        EXPECT_FALSE(enc.Stop());
        CxWMEncGroup* group = NewGroup();
        EXPECT_TRUE(enc.AddSourceGroup(group));
        EXPECT_FALSE(enc.SetupSourceGroup(group, "/videos/clip.mpg", nullptr));
    }
    EXPECT_EQ(CoInitializeCount(), comBefore);
}

TEST_F(CxWMEncoderTest, FirstGroupIsNumberOneAndAGivenNameIsKept)
{
    CxWMEncGroup* first = NewGroup();
    EXPECT_FALSE(enc().AddSourceGroup(nullptr));
    ASSERT_TRUE(enc().AddSourceGroup(first));
    EXPECT_FALSE(enc().AddSourceGroup(first));  // owned once, freed once
    EXPECT_TRUE(enc().SetupSourceGroup(first, "/videos/clip.mpg", ""));
    EXPECT_EQ(std::u16string(first->wszName), u"CxWMEncGrp_1");

    CxWMEncGroup* second = NewGroup();
    std::u16string(u"Mine").copy(second->wszName, 4);
    ASSERT_TRUE(enc().AddSourceGroup(second));
    EXPECT_TRUE(enc().SetupSourceGroup(second, "/videos/talk.vob", "/videos/talk.wav"));
    EXPECT_EQ(std::u16string(second->wszName), u"Mine");

    // A record set up again gives back its old objects and keeps its name.
    EXPECT_TRUE(enc().SetupSourceGroup(first, "/videos/other.avi", nullptr));

    EXPECT_EQ(server.Log(), (Log{"Groups.Add(CxWMEncGrp_1)", "Group.AddSource(2)", "Video.SetInput(/videos/clip.mpg)",
                                 "Group.AddSource(1)", "Audio.SetInput(/videos/clip.mpg)",
                                 "Groups.Add(Mine)", "Group.AddSource(2)", "Video.SetInput(/videos/talk.vob)",
                                 "Group.AddSource(1)", "Audio.SetInput(/videos/talk.wav)",
                                 "Groups.Add(CxWMEncGrp_1)", "Group.AddSource(2)", "Video.SetInput(/videos/other.avi)",
                                 "Group.AddSource(1)", "Audio.SetInput(/videos/other.avi)"}));
    // The names went over as BSTRs whose length prefix matches.
    EXPECT_EQ(server.groupNames, (std::vector<std::u16string>{u"CxWMEncGrp_1", u"Mine", u"CxWMEncGrp_1"}));

    // Removing past the end is no error; removing with release gives the objects back.
    EXPECT_TRUE(enc().RemoveSourceGroup(7, true));
    EXPECT_EQ(enc().Groups().GetCount(), 2u);
    EXPECT_TRUE(enc().RemoveSourceGroup(1, true));
    EXPECT_EQ(enc().Groups().GetCount(), 1u);
    EXPECT_FALSE(enc().ReleaseSourceGroup(nullptr));
    ExpectAllReleased();
}

TEST_F(CxWMEncoderTest, SetupStopsAtTheFirstFailingCallAndLeaksNothing)
{
    const struct {
        const char* fail;
        HRESULT hr;
        std::size_t calls;
    } cases[] = {
        {"Groups.Add", kFailure, 1},
        {"Group.AddSource(2)", kFailure, 2},
        {"Video.QueryInterface", E_NOINTERFACE, 2},
        {"Video.SetInput", kFailure, 3},
        {"Group.AddSource(1)", kFailure, 4},
        {"Audio.QueryInterface", E_NOINTERFACE, 4},
        {"Audio.SetInput", kFailure, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fail);
        FakeEncoderServer local;
        local.Fail(c.fail);
        const int comBefore = CoInitializeCount();
        {
            CxWMEncoder enc;
            CxWMEncGroup* group = NewGroup();
            ASSERT_TRUE(enc.AddSourceGroup(group));
            local.ClearLog();
            EXPECT_FALSE(enc.SetupSourceGroup(group, "/videos/clip.mpg", nullptr));
            EXPECT_EQ(enc.GetLastResult(), c.hr);
            EXPECT_EQ(local.Log().size(), c.calls);
        }
        EXPECT_EQ(local.Alive(), Log{});
        EXPECT_EQ(local.OverReleases(), 0);
        EXPECT_EQ(CoInitializeCount(), comBefore);
    }
}

TEST_F(CxWMEncoderTest, RefusesMissingAndOverlongPaths)
{
    CxWMEncGroup* group = NewGroup();
    ASSERT_TRUE(enc().AddSourceGroup(group));
    EXPECT_FALSE(enc().SetupSourceGroup(nullptr, "/videos/clip.mpg", nullptr));
    EXPECT_FALSE(enc().SetupSourceGroup(group, nullptr, "/videos/clip.wav"));
    EXPECT_FALSE(enc().SetupSourceGroup(group, "", "/videos/clip.wav"));
    EXPECT_FALSE(enc().SetOutputFile(nullptr));
    EXPECT_FALSE(enc().SetOutputFile(""));
    EXPECT_EQ(enc().GetLastResult(), S_OK);

    // 259 characters and the terminator fit; one more would be cut to another file.
    const std::string fits = "/" + std::string(258, 'a');
    const std::string tooLong = fits + "b";
    EXPECT_FALSE(enc().SetupSourceGroup(group, tooLong.c_str(), nullptr));
    EXPECT_EQ(enc().GetLastResult(), E_INVALIDARG);
    EXPECT_FALSE(enc().SetupSourceGroup(group, "/videos/clip.mpg", tooLong.c_str()));
    EXPECT_FALSE(enc().SetOutputFile(tooLong.c_str()));
    EXPECT_FALSE(enc().LoadProfileFile(group, tooLong.c_str()));
    EXPECT_EQ(server.Log(), Log{"WMEncProfile2.create"});
    EXPECT_EQ(enc().Profiles().GetCount(), 0u);
    EXPECT_STREQ(enc().GetOutputFile(), "");

    server.ClearLog();
    EXPECT_TRUE(enc().SetOutputFile(fits.c_str()));
    EXPECT_EQ(enc().GetOutputFile(), fits);
    EXPECT_TRUE(enc().SetupSourceGroup(group, fits.c_str(), nullptr));
    EXPECT_EQ(server.Log().size(), 6u);
    ExpectAllReleased();
}

TEST_F(CxWMEncoderTest, OutputFileIsKeptOnlyWhenTheEncoderTookIt)
{
    EXPECT_TRUE(enc().SetOutputFile("/out/first.wmv"));
    server.Fail("File.put_LocalFileName");
    EXPECT_FALSE(enc().SetOutputFile("/out/second.wmv"));
    EXPECT_EQ(enc().GetLastResult(), kFailure);
    EXPECT_STREQ(enc().GetOutputFile(), "/out/first.wmv");
    EXPECT_EQ(server.Log(), (Log{"File.put_LocalFileName(/out/first.wmv)", "File.put_LocalFileName(/out/second.wmv)"}));
}

TEST_F(CxWMEncoderTest, OutputLimitsGoToTheFileObject)
{
    EXPECT_TRUE(enc().SetOutputLimits(0, 0));
    EXPECT_TRUE(enc().SetOutputLimits(5LL << 30, 90 * 60 * 1000));
    EXPECT_FALSE(enc().SetOutputLimits(-1, 0));
    EXPECT_EQ(enc().GetLastResult(), E_INVALIDARG);
    server.Fail("File.put_MaxFileSize");
    EXPECT_FALSE(enc().SetOutputLimits(1024, 0));
    EXPECT_EQ(server.Log(), (Log{"File.put_MaxFileSize(0)", "File.put_MaxFileDuration(0)",
                                 "File.put_MaxFileSize(5368709120)", "File.put_MaxFileDuration(5400000)",
                                 "File.put_MaxFileSize(1024)"}));
}

TEST_F(CxWMEncoderTest, CroppingPassesOnlyPositiveMarginsInOrder)
{
    CxWMEncGroup* group = SetUpGroup();
    const struct {
        int left, top, right, bottom;
        Log calls;
    } cases[] = {
        {5, 0, -3, 7, {"Video.put_CroppingLeftMargin(5)", "Video.put_CroppingBottomMargin(7)"}},
        {1, 2, 3, 4,
         {"Video.put_CroppingLeftMargin(1)", "Video.put_CroppingTopMargin(2)", "Video.put_CroppingRightMargin(3)",
          "Video.put_CroppingBottomMargin(4)"}},
        {-1, 0, 9, 0, {"Video.put_CroppingRightMargin(9)"}},
    };
    for (const auto& c : cases) {
        server.ClearLog();
        EXPECT_TRUE(enc().SetCropping(group, c.left, c.top, c.right, c.bottom));
        EXPECT_EQ(server.Log(), c.calls);
    }

    // With nothing to pass on, the answer is the status of the last encoder call.
    server.ClearLog();
    server.Fail("Encoder.Pause");
    EXPECT_FALSE(enc().Pause());
    EXPECT_FALSE(enc().SetCropping(group, 0, 0, 0, 0));
    EXPECT_TRUE(enc().Start());
    EXPECT_TRUE(enc().SetCropping(group, 0, -5, 0, 0));
    EXPECT_EQ(server.Log(), (Log{"Encoder.Pause", "Encoder.Start"}));

    // A refused margin is not hidden by a later one that is taken.
    server.ClearLog();
    server.Fail("Video.put_CroppingLeftMargin");
    EXPECT_FALSE(enc().SetCropping(group, 3, 0, 0, 3));
    EXPECT_EQ(enc().GetLastResult(), kFailure);
    EXPECT_EQ(server.Log(), Log{"Video.put_CroppingLeftMargin(3)"});

    CxWMEncGroup empty{};
    EXPECT_FALSE(enc().SetCropping(&empty, 1, 1, 1, 1));
    EXPECT_FALSE(enc().SetCropping(nullptr, 1, 1, 1, 1));
    ExpectAllReleased();
}

TEST_F(CxWMEncoderTest, StatisticsAreTheLow32BitsAsSigned)
{
    const struct {
        LONGLONG value;
        std::int32_t expected;
    } cases[] = {
        {0, 0},
        {1999, 1999},
        {0x7FFFFFFF, 0x7FFFFFFF},
        {0x80000005LL, -2147483643},
        {(1LL << 32) + 1999, 1999},
        {(3LL << 32) | 0xFFFFFFFFLL, -1},
    };
    for (const auto& c : cases) {
        server.fileSize = c.value;
        server.fileDuration = c.value;
        EXPECT_EQ(enc().GetFileSize(), c.expected) << c.value;
        EXPECT_EQ(enc().GetFileDuration(), c.expected) << c.value;
        EXPECT_FALSE(enc().HoldsArchiveStats());
    }
    EXPECT_EQ(server.Log().size(), 4 * std::size(cases));
    EXPECT_EQ(server.Log()[0], "Statistics.get_FileArchiveStats");
    EXPECT_EQ(server.Log()[1], "Archive.get_FileSize");
    EXPECT_EQ(server.Log()[3], "Archive.get_FileDuration");
}

TEST(CxWMEncoderStatistics, AFailedQueryAnswersZeroAndHoldsNothing)
{
    for (const char* fail : {"Statistics.get_FileArchiveStats", "Archive.QueryInterface", "Archive.get_FileSize"}) {
        SCOPED_TRACE(fail);
        FakeEncoderServer local;
        local.fileSize = 4096;
        local.Fail(fail);
        {
            EncoderProbe probe;
            EXPECT_EQ(probe.GetFileSize(), 0);
            EXPECT_TRUE(FAILED(probe.GetLastResult()));
            EXPECT_FALSE(probe.HoldsArchiveStats());
        }
        EXPECT_EQ(local.Alive(), Log{});
    }
}

TEST_F(CxWMEncoderTest, ProfileFileFollowsScreenAndQuality)
{
    const struct {
        int screen, quality;
        const char* file;
    } cases[] = {
        {1001, 2, "QXProf2h.prx"}, {1001, 0, "QXProf2h.prx"}, {1001, 7, "QXProf2h.prx"},
        {1002, 1, "QXProf3x.prx"}, {1000, 3, "QXProf1v.prx"}, {1000, 1, "QXProf3v.prx"},
        {1002, 3, "QXProf1x.prx"}, {1001, 1, "QXProf3h.prx"}, {1000, -1, "QXProf2v.prx"},
    };
    CxWMEncGroup* group = SetUpGroup();
    for (const auto& c : cases) {
        server.ClearLog();
        EXPECT_TRUE(enc().LoadOutputProfile(group, c.screen, c.quality));
        EXPECT_EQ(server.Log(), (Log{"WMEncProfile2.create", "Profile2.LoadFromFile(" + ModuleDir() + c.file + ")",
                                     "Group.put_Profile"}))
            << c.screen << "/" << c.quality;
    }
    server.ClearLog();
    for (int screen : {0, 1, 3, 999, 1003, -1000})
        EXPECT_FALSE(enc().LoadOutputProfile(group, screen, 2)) << screen;
    EXPECT_EQ(server.Log(), Log{});
    ExpectAllReleased();
}

TEST_F(CxWMEncoderTest, TwoLoadsKeepTwoProfilesAndTheSecondIsTheGroups)
{
    CxWMEncGroup* group = SetUpGroup();
    ASSERT_TRUE(enc().LoadProfileFile(group, "/profiles/a.prx"));
    ASSERT_TRUE(enc().LoadProfileFile(group, "/profiles/a.prx"));
    ASSERT_EQ(enc().Profiles().GetCount(), 2u);
    auto* first = static_cast<CxWMEncProfile2*>(enc().Profiles().GetAt(0));
    auto* second = static_cast<CxWMEncProfile2*>(enc().Profiles().GetAt(1));
    EXPECT_NE(first->GetProfile(), second->GetProfile());
    EXPECT_EQ(server.groupProfile, static_cast<IDispatch*>(second->GetProfile()));
    EXPECT_EQ(server.Created("Profile2"), 2);
    ExpectAllReleased();
}

TEST_F(CxWMEncoderTest, AProfileThatFailsToLoadIsDeletedAndItsStatusKept)
{
    CxWMEncGroup* group = SetUpGroup();
    {
        FakeEncoderServer local;  // takes the profile class over for this block
        local.Fail("WMEncProfile2.create");
        EXPECT_FALSE(enc().LoadProfileFile(group, "/profiles/a.prx"));
        EXPECT_EQ(enc().GetLastResult(), kFailure);
    }

    // A record whose set-up failed has no group: the profile is kept, the call fails.
    CxWMEncGroup* bare = NewGroup();
    ASSERT_TRUE(enc().AddSourceGroup(bare));
    EXPECT_FALSE(enc().LoadProfileFile(bare, "/profiles/b.prx"));
    EXPECT_EQ(enc().Profiles().GetCount(), 1u);

    server.Fail("Profile2.LoadFromFile");
    EXPECT_FALSE(enc().LoadOutputProfile(group, 1000, 2));
    EXPECT_EQ(enc().GetLastResult(), kFailure);
    EXPECT_EQ(enc().Profiles().GetCount(), 1u);
    // Of the two profile objects made here, only the kept one is still referenced.
    EXPECT_EQ(server.Created("Profile2"), 2);
    const Log alive = server.Alive();
    EXPECT_EQ(std::count(alive.begin(), alive.end(), "Profile2:1"), 1);
    ExpectAllReleased();
}

TEST(CxWMEncoderDeathTest, GroupProfileNeedsGroupAndProfile)
{
    EXPECT_DEATH(
        {
            CxWMEncoder enc;
            enc.SetGroupProfile(nullptr, nullptr);
        },
        "pGroup && pProfile, in common/multimedia/CxWMEncoder");
    EXPECT_DEATH(
        {
            CxWMEncoder enc;
            CxWMEncGroup group{};
            enc.SetGroupProfile(&group, nullptr);
        },
        "pGroup && pProfile, in common/multimedia/CxWMEncoder");
}

TEST_F(CxWMEncoderTest, InstalledProfilesAreListedWithTheirNames)
{
    server.profileNames = {u"Video 256K", u"Audio 64K", u"Screen 28K \u00e9"};
    server.Fail("Profiles.Item(1)");
    server.Fail("Profile.get_Name(Screen 28K \xC3\xA9)");
    for (int run = 0; run < 2; ++run) {  // a second listing replaces the first
        EXPECT_TRUE(enc().LoadSystemProfiles());
        ASSERT_EQ(enc().Entries().GetCount(), 2u);
        EXPECT_STREQ(enc().Entry(0)->szName, "Video 256K");
        EXPECT_STREQ(enc().Entry(1)->szName, "");
    }
    EXPECT_TRUE(enc().RemoveSystemProfile(5, true));
    EXPECT_TRUE(enc().RemoveSystemProfile(0, true));
    EXPECT_EQ(enc().Entries().GetCount(), 1u);

    server.Fail("Profiles.get_Count");
    EXPECT_FALSE(enc().LoadSystemProfiles());
    EXPECT_EQ(enc().GetLastResult(), kFailure);
    EXPECT_EQ(enc().Entries().GetCount(), 0u);
    ExpectAllReleased();
}

TEST_F(CxWMEncoderTest, PrepareTurnsAutoStopOnFirst)
{
    EXPECT_TRUE(enc().Prepare(false));
    server.Fail("Encoder.put_AutoStop");
    EXPECT_FALSE(enc().Prepare(true));
    EXPECT_EQ(enc().GetLastResult(), kFailure);
    EXPECT_EQ(server.Log(), (Log{"Encoder.put_AutoStop(-1)", "Encoder.PrepareToEncode(0)", "Encoder.put_AutoStop(-1)"}));
}

TEST_F(CxWMEncoderTest, RunStateAndErrorAreReadWithoutLosingTheLastStatus)
{
    server.runState = WMENC_ENCODER_PAUSED;
    server.errorState = NS_E_SOURCE_UNREADABLE;
    server.errorText = u"Cannot read the source: Vid\u00e9o.mpg";
    server.Fail("Encoder.Start");
    EXPECT_FALSE(enc().Start());

    EXPECT_EQ(enc().GetRunState(), WMENC_ENCODER_PAUSED);
    EXPECT_EQ(enc().GetErrorState(), NS_E_SOURCE_UNREADABLE);
    char text[64];
    ASSERT_TRUE(enc().GetErrorText(text, sizeof text));
    EXPECT_STREQ(text, "Cannot read the source: Vid\xC3\xA9o.mpg");
    char small[5];
    ASSERT_TRUE(enc().GetErrorText(small, sizeof small));
    EXPECT_STREQ(small, "Cann");
    EXPECT_FALSE(enc().GetErrorText(nullptr, 10));
    EXPECT_EQ(enc().GetLastResult(), kFailure);

    server.Fail("Encoder.get_ErrorText");
    server.Fail("Encoder.get_RunState");
    server.Fail("Encoder.get_ErrorState");
    EXPECT_FALSE(enc().GetErrorText(text, sizeof text));
    EXPECT_STREQ(text, "");
    EXPECT_EQ(enc().GetRunState(), -1);
    EXPECT_EQ(enc().GetErrorState(), kFailure);
}

TEST(CxWMEncoderSequence, TheEncodingPagesCallsReachTheEncoderInOrder)
{
    FakeEncoderServer server;
    server.profileNames = {u"Video 256K"};
    server.fileDuration = 2500;
    server.fileSize = 70000;
    const std::string src = "/home/me/Vid\xC3\xA9os/clip.VOB";
    const int comBefore = CoInitializeCount();

    auto* enc = new CxWMEncoder;
    ASSERT_TRUE(enc->IsInitialized());
    ASSERT_TRUE(enc->LoadSystemProfiles());
    CxWMEncGroup* group = NewGroup();
    ASSERT_TRUE(enc->AddSourceGroup(group));
    EXPECT_TRUE(enc->SetupSourceGroup(group, src.c_str(), src.c_str()));
    EXPECT_TRUE(enc->SetOutputFile("/home/me/output.wmv"));
    EXPECT_TRUE(enc->LoadOutputProfile(group, 1000, 1));
    EXPECT_TRUE(enc->SetCropping(group, 8, 0, 8, 0));
    EXPECT_TRUE(enc->Prepare(true));
    EXPECT_TRUE(enc->Start());
    EXPECT_EQ(enc->GetFileDuration(), 2500);
    EXPECT_EQ(enc->GetFileSize(), 70000);
    EXPECT_TRUE(enc->Pause());
    EXPECT_TRUE(enc->Start());
    EXPECT_TRUE(enc->Stop());
    delete enc;

    EXPECT_EQ(server.Log(),
              (Log{"WMEncoder.create", "Encoder.get_SourceGroupCollection", "Encoder.get_File",
                   "Encoder.get_ProfileCollection", "Encoder.get_Statistics",
                   "Profiles.get_Count", "Profiles.Item(0)", "Profile.get_Name(Video 256K)",
                   "Groups.Add(CxWMEncGrp_1)", "Group.AddSource(2)", "Video.SetInput(" + src + ")",
                   "Group.AddSource(1)", "Audio.SetInput(" + src + ")",
                   "File.put_LocalFileName(/home/me/output.wmv)",
                   "WMEncProfile2.create", "Profile2.LoadFromFile(" + ModuleDir() + "QXProf3v.prx)",
                   "Group.put_Profile",
                   "Video.put_CroppingLeftMargin(8)", "Video.put_CroppingRightMargin(8)",
                   "Encoder.put_AutoStop(-1)", "Encoder.PrepareToEncode(-1)", "Encoder.Start",
                   "Statistics.get_FileArchiveStats", "Archive.get_FileDuration",
                   "Statistics.get_FileArchiveStats", "Archive.get_FileSize",
                   "Encoder.Pause", "Encoder.Start", "Encoder.Stop"}));
    EXPECT_EQ(server.Alive(), Log{});
    EXPECT_EQ(server.OverReleases(), 0);
    EXPECT_EQ(CoInitializeCount(), comBefore);
}

}  // namespace
