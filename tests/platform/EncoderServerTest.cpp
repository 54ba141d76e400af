// The encoder server on real files: sources of every kind the wizard offers, made with
// the ffmpeg command, converted through the automation objects and checked with ffprobe
// and a full decode.
#include "platform/Strings.h"
#include "platform/wmencoder/WMEncoder.h"

#include "Media.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QImage>
#include <QJsonObject>
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace platform;
using namespace platform::wmenc;

namespace {

std::string ProfilePath(const std::string& name)
{
    return QCoreApplication::applicationDirPath().toStdString() + "/" + name;
}

// One encoder object, driven in the order the program drives it.
class Session {
public:
    Session()
    {
        CoInitialize(nullptr);
        RegisterEncoderClasses();
        EXPECT_EQ(CoCreateInstance(CLSID_WMEncoder, nullptr, CLSCTX_INPROC_SERVER, IWMEncoder::iid,
                                   reinterpret_cast<void**>(&m_encoder)),
                  S_OK);
        m_encoder->get_SourceGroupCollection(&m_groups);
        m_encoder->get_File(&m_file);
        m_encoder->get_Statistics(&m_statistics);
    }
    ~Session()
    {
        for (IUnknown* p : std::initializer_list<IUnknown*>{m_video, m_audio, m_group, m_groups, m_file, m_statistics})
            if (p)
                p->Release();
        if (m_encoder)
            m_encoder->Release();
        CoUninitialize();
    }

    HRESULT Configure(const std::string& source, const std::string& output, const std::string& profile,
                      std::array<LONG, 4> crop = {0, 0, 0, 0})
    {
        BSTR name = SysAllocString(u"Group");
        HRESULT hr = m_groups->Add(name, &m_group);
        SysFreeString(name);
        const std::u16string src = AnsiToWide(source);
        IWMEncSource* plain = nullptr;
        if (SUCCEEDED(hr))
            hr = m_group->AddSource(WMENC_VIDEO, &plain);
        if (SUCCEEDED(hr)) {
            hr = plain->QueryInterface(IWMEncVideoSource2::iid, reinterpret_cast<void**>(&m_video));
            plain->Release();
        }
        if (SUCCEEDED(hr))
            hr = m_video->SetInput(src.c_str(), u"", u"");
        if (SUCCEEDED(hr))
            hr = m_group->AddSource(WMENC_AUDIO, &plain);
        if (SUCCEEDED(hr)) {
            hr = plain->QueryInterface(IWMEncAudioSource::iid, reinterpret_cast<void**>(&m_audio));
            plain->Release();
        }
        if (SUCCEEDED(hr))
            hr = m_audio->SetInput(src.c_str(), u"", u"");
        if (SUCCEEDED(hr))
            hr = m_file->put_LocalFileName(AnsiToWide(output).c_str());
        if (SUCCEEDED(hr))
            hr = LoadProfile(profile);
        const LONG l = crop[0], t = crop[1], r = crop[2], b = crop[3];
        if (SUCCEEDED(hr) && l > 0)
            hr = m_video->put_CroppingLeftMargin(l);
        if (SUCCEEDED(hr) && t > 0)
            hr = m_video->put_CroppingTopMargin(t);
        if (SUCCEEDED(hr) && r > 0)
            hr = m_video->put_CroppingRightMargin(r);
        if (SUCCEEDED(hr) && b > 0)
            hr = m_video->put_CroppingBottomMargin(b);
        return hr;
    }

    HRESULT LoadProfile(const std::string& path)
    {
        IWMEncProfile2* profile = nullptr;
        HRESULT hr = CoCreateInstance(CLSID_WMEncProfile2, nullptr, CLSCTX_INPROC_SERVER, IWMEncProfile2::iid,
                                      reinterpret_cast<void**>(&profile));
        if (SUCCEEDED(hr))
            hr = profile->LoadFromFile(AnsiToWide(path).c_str());
        if (SUCCEEDED(hr)) {
            VARIANT v;
            VariantInit(&v);
            v.vt = VT_DISPATCH;
            v.pdispVal = profile;
            hr = m_group->put_Profile(v);
        }
        if (profile)
            profile->Release();
        return hr;
    }

    void Limit(LONGLONG bytes, LONGLONG ms)
    {
        m_file->put_MaxFileSize(bytes);
        m_file->put_MaxFileDuration(ms);
    }

    HRESULT Prepare()
    {
        m_encoder->put_AutoStop(VARIANT_TRUE);
        return m_encoder->PrepareToEncode(VARIANT_TRUE);
    }

    IWMEncoder* Encoder() { return m_encoder; }

    WMENC_ENCODER_STATE State()
    {
        WMENC_ENCODER_STATE s{};
        m_encoder->get_RunState(&s);
        return s;
    }

    bool WaitForEnd(std::chrono::seconds limit = std::chrono::seconds(120))
    {
        const auto until = std::chrono::steady_clock::now() + limit;
        while (State() != WMENC_ENCODER_STOPPED)
            if (std::chrono::steady_clock::now() > until)
                return false;
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return true;
    }

    std::pair<LONGLONG, LONGLONG> Stats()  // duration ms, size bytes
    {
        IDispatch* disp = nullptr;
        IWMEncFileArchiveStats* stats = nullptr;
        LONGLONG ms = -1, bytes = -1;
        if (SUCCEEDED(m_statistics->get_FileArchiveStats(&disp))
            && SUCCEEDED(disp->QueryInterface(IWMEncFileArchiveStats::iid, reinterpret_cast<void**>(&stats)))) {
            stats->get_FileDuration(&ms);
            stats->get_FileSize(&bytes);
            stats->Release();
        }
        if (disp)
            disp->Release();
        return {ms, bytes};
    }

    struct Progress {
        LONG permille = -2;
        LONGLONG sourceMs = -1;
        RunOutcome outcome = RunOutcome::None;
    };
    Progress RunProgress()
    {
        Progress p;
        IDispatch* disp = nullptr;
        IQxRunProgress* progress = nullptr;
        if (SUCCEEDED(m_statistics->get_FileArchiveStats(&disp))
            && SUCCEEDED(disp->QueryInterface(IQxRunProgress::iid, reinterpret_cast<void**>(&progress)))) {
            LONG outcome = -1;
            progress->get_Progress(&p.permille);
            progress->get_SourceDuration(&p.sourceMs);
            progress->get_Outcome(&outcome);
            p.outcome = RunOutcome(outcome);
            progress->Release();
        }
        if (disp)
            disp->Release();
        return p;
    }

    // Converts source into output with the profile to its end; the outcome.
    RunOutcome ConvertWhole(const std::string& source, const std::string& output, const std::string& profile,
                            LONGLONG maxBytes = 0)
    {
        EXPECT_EQ(Configure(source, output, ProfilePath(profile)), S_OK);
        Limit(maxBytes, 0);
        EXPECT_EQ(Prepare(), S_OK) << ErrorText();
        EXPECT_EQ(Encoder()->Start(), S_OK);
        EXPECT_TRUE(WaitForEnd());
        EXPECT_EQ(ErrorState(), S_OK) << ErrorText();
        return RunProgress().outcome;
    }

    std::string ErrorText()
    {
        BSTR text = nullptr;
        m_encoder->get_ErrorText(&text);
        const std::string s = WideToAnsi(std::u16string_view(text ? text : u""));
        SysFreeString(text);
        return s;
    }

    HRESULT ErrorState()
    {
        HRESULT hr = S_OK;
        m_encoder->get_ErrorState(&hr);
        return hr;
    }

private:
    IWMEncoder* m_encoder = nullptr;
    IWMEncSourceGroupCollection* m_groups = nullptr;
    IWMEncSourceGroup* m_group = nullptr;
    IWMEncVideoSource2* m_video = nullptr;
    IWMEncAudioSource* m_audio = nullptr;
    IWMEncFile* m_file = nullptr;
    IWMEncStatistics* m_statistics = nullptr;
};

struct Source {
    const char* name;
    const char* args;
    bool sound;
    double seconds;
};

// Every kind the wizard offers, and a few it meets in the wild.
const Source kSources[] = {
    {"vcd.dat", "-f lavfi -i testsrc2=size=352x288:rate=25:duration=2 -f lavfi -i sine=frequency=440:duration=2 "
                "-c:v mpeg1video -b:v 1M -c:a mp2 -ar 44100 -f mpeg", true, 2.0},
    {"dvd.VOB", "-f lavfi -i testsrc2=size=720x576:rate=25:duration=2 -f lavfi -i sine=frequency=440:duration=2 "
                "-vf setfield=tff -flags +ildct+ilme -top 1 -aspect 16:9 -c:v mpeg2video -b:v 4M "
                "-c:a ac3 -ar 48000 -ac 2 -f vob", true, 2.0},
    {"clip.avi", "-f lavfi -i testsrc2=size=320x240:rate=30:duration=2 -f lavfi -i sine=frequency=300:duration=2 "
                 "-c:v mpeg4 -c:a libmp3lame -ar 44100", true, 2.0},
    {"clip.wmv", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=2 -f lavfi -i sine=frequency=500:duration=2 "
                 "-c:v wmv2 -c:a wmav2 -f asf", true, 2.0},
    {"clip.mp4", "-f lavfi -i testsrc2=size=640x360:rate=24:duration=2 -f lavfi -i sine=frequency=600:duration=2 "
                 "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -ar 48000", true, 2.0},
    {"silent.mkv", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=2 -c:v mpeg4", false, 2.0},
};

struct Screen {
    const char* profile;
    int width, height;
    double fps;
};

const Screen kScreens[] = {
    {"QXProf2v.prx", 208, 160, 15},
    {"QXProf2h.prx", 320, 200, 20},
    {"QXProf3x.prx", 640, 480, 30},
};

void ExpectCompleteOutput(const std::string& path, const std::string& source, const Source& src, const Screen& screen)
{
    const QJsonObject probe = qxtest::Probe(path);
    ASSERT_FALSE(probe.isEmpty()) << "ffprobe cannot read " << path;
    EXPECT_EQ(probe["format"].toObject()["format_name"].toString(), "asf");
    const QJsonObject video = qxtest::StreamOf(probe, "video");
    EXPECT_EQ(video["codec_name"].toString(), "wmv2");
    EXPECT_EQ(video["width"].toInt(), screen.width);
    EXPECT_EQ(video["height"].toInt(), screen.height);
    const QJsonObject audio = qxtest::StreamOf(probe, "audio");
    if (src.sound)
        EXPECT_EQ(audio["codec_name"].toString(), "wmav2");
    else
        EXPECT_TRUE(audio.isEmpty());
    // Within a frame of the source; the span leaves out the last picture's own length.
    const double frame = 1.0 / std::min(screen.fps, 24.0);
    EXPECT_NEAR(qxtest::PacketSpan(path), qxtest::Duration(qxtest::Probe(source)), frame + 0.02);
    EXPECT_EQ(qxtest::DecodeErrors(path), "");
}

TEST(EncoderServer, ConvertsEverySourceKindForEveryScreen)
{
    qxtest::ScratchDir dir;
    for (const Source& src : kSources) {
        const std::string source = qxtest::Media(src.name, src.args);
        for (const Screen& screen : kScreens) {
            SCOPED_TRACE(std::string(src.name) + " -> " + screen.profile);
            const std::string out = dir.Path(std::string(src.name) + "." + screen.profile + ".wmv");
            Session s;
            ASSERT_EQ(s.Configure(source, out, ProfilePath(screen.profile)), S_OK);
            ASSERT_EQ(s.Prepare(), S_OK) << s.ErrorText();
            ASSERT_EQ(s.Encoder()->Start(), S_OK);
            ASSERT_TRUE(s.WaitForEnd());
            ASSERT_EQ(s.ErrorState(), S_OK) << s.ErrorText();
            const auto [ms, bytes] = s.Stats();
            struct stat st {};
            ASSERT_EQ(::stat(out.c_str(), &st), 0);
            EXPECT_EQ(bytes, st.st_size) << "the size polled at the end is the file's";
            EXPECT_NEAR(double(ms) / 1000.0, src.seconds, 0.2);
            ExpectCompleteOutput(out, source, src, screen);
        }
    }
    EXPECT_EQ(dir.Entries().filter(".part").size(), 0) << "no temporary file stays behind";
}

// A source long enough to stop and limit in the middle of.
std::string LongSource()
{
    return qxtest::Media("long.mpg", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=20 "
                                     "-f lavfi -i sine=frequency=440:duration=20 -c:v mpeg2video -b:v 2M "
                                     "-c:a mp2 -f mpeg");
}

// Video timestamps step by one frame from the first to the last, with no gap or repeat.
void ExpectContinuous(const std::string& path, double fps)
{
    const std::vector<double> times = qxtest::PacketTimes(path, "video");
    ASSERT_GT(times.size(), 2u);
    for (std::size_t i = 1; i < times.size(); ++i)
        ASSERT_NEAR(times[i] - times[i - 1], 1.0 / fps, 0.002) << "at packet " << i;
}

TEST(EncoderServer, PauseHoldsTheRunAndStartResumesTheSameOutput)
{
    qxtest::ScratchDir dir;
    const std::string out = dir.Path("paused.wmv");
    Session s;
    ASSERT_EQ(s.Configure(LongSource(), out, ProfilePath("QXProf2v.prx")), S_OK);
    ASSERT_EQ(s.Prepare(), S_OK) << s.ErrorText();
    ASSERT_EQ(s.Encoder()->Start(), S_OK);
    for (int i = 0; i < 3; ++i) {
        while (s.Stats().first < 1000 * (i + 1) && s.State() == WMENC_ENCODER_RUNNING)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        ASSERT_EQ(s.Encoder()->Pause(), S_OK);
        EXPECT_EQ(s.State(), WMENC_ENCODER_PAUSED);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the stages reach their frame boundary
        const auto held = s.Stats();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_EQ(s.Stats(), held) << "nothing is written while paused";
        ASSERT_EQ(s.Encoder()->Start(), S_OK);
    }
    ASSERT_TRUE(s.WaitForEnd());
    ASSERT_EQ(s.ErrorState(), S_OK) << s.ErrorText();
    ExpectContinuous(out, 15);
    EXPECT_NEAR(qxtest::PacketSpan(out), 20.0, 0.1);
    EXPECT_EQ(qxtest::DecodeErrors(out), "");
}

TEST(EncoderServer, StopInTheMiddleLeavesACompleteFile)
{
    qxtest::ScratchDir dir;
    const std::string out = dir.Path("stopped.wmv");
    Session s;
    ASSERT_EQ(s.Configure(LongSource(), out, ProfilePath("QXProf2h.prx")), S_OK);
    ASSERT_EQ(s.Prepare(), S_OK) << s.ErrorText();
    ASSERT_EQ(s.Encoder()->Start(), S_OK);
    while (s.Stats().first < 2000 && s.State() == WMENC_ENCODER_RUNNING)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_EQ(s.Encoder()->Stop(), S_OK);
    EXPECT_EQ(s.State(), WMENC_ENCODER_STOPPED);
    const QJsonObject probe = qxtest::Probe(out);
    const double length = qxtest::PacketSpan(out);
    EXPECT_GT(length, 1.9);
    EXPECT_LT(length, 15.0) << "stopped well before the end of the source";
    EXPECT_NEAR(qxtest::Duration(probe), length, 0.15) << "the header carries the real duration";
    EXPECT_EQ(qxtest::DecodeErrors(out), "");
    ExpectContinuous(out, 20);
    struct stat st {};
    ASSERT_EQ(::stat(out.c_str(), &st), 0);
    EXPECT_EQ(s.Stats().second, st.st_size);
}

TEST(EncoderServer, OutputLimitsEndTheRunBeforeEitherIsPassed)
{
    struct Case {
        const char* profile;
        LONGLONG maxBytes, maxMs;
    };
    const Case cases[] = {
        {"QXProf3x.prx", 0, 3500},
        {"QXProf2v.prx", 0, 1000},
        {"QXProf3x.prx", 200000, 0},
        {"QXProf1v.prx", 30000, 0},
        {"QXProf2h.prx", 60000, 3000},
    };
    qxtest::ScratchDir dir;
    const std::string source = LongSource();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.profile) + " bytes " + std::to_string(c.maxBytes) + " ms " + std::to_string(c.maxMs));
        const std::string out = dir.Path("limited.wmv");
        Session s;
        ASSERT_EQ(s.Configure(source, out, ProfilePath(c.profile)), S_OK);
        s.Limit(c.maxBytes, c.maxMs);
        ASSERT_EQ(s.Prepare(), S_OK) << s.ErrorText();
        ASSERT_EQ(s.Encoder()->Start(), S_OK);
        ASSERT_TRUE(s.WaitForEnd());
        ASSERT_EQ(s.ErrorState(), S_OK) << s.ErrorText();
        struct stat st {};
        ASSERT_EQ(::stat(out.c_str(), &st), 0);
        const double length = qxtest::Duration(qxtest::Probe(out));
        if (c.maxBytes) {
            EXPECT_LE(st.st_size, c.maxBytes);
            EXPECT_GT(st.st_size, c.maxBytes * 7 / 10) << "the limit is used, not wasted";
        }
        if (c.maxMs) {
            EXPECT_LE(qxtest::PacketSpan(out), c.maxMs / 1000.0 + 0.001);
            if (!c.maxBytes) {
                EXPECT_GT(length, c.maxMs / 1000.0 - 0.2);
            }
        }
        EXPECT_EQ(qxtest::DecodeErrors(out), "");
    }
}

TEST(EncoderServer, RefusalsComeBeforeAnyByteAndLeaveTheOutputAlone)
{
    qxtest::ScratchDir dir;
    const std::string good = qxtest::Media("clip.avi", kSources[2].args);
    const std::string garbage = dir.Path("garbage.mpg");
    std::string noise(50000, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 2654435761u) >> 13);
    qxtest::WriteFile(garbage, noise);
    const std::string soundOnly = qxtest::Media("sound.mp3", "-f lavfi -i sine=duration=1 -c:a libmp3lame");
    const std::string copy = dir.Path("source.avi");
    qxtest::WriteFile(copy, qxtest::ReadFile(good));
    ASSERT_EQ(::symlink(copy.c_str(), dir.Path("link.wmv").c_str()), 0);
    ASSERT_EQ(::mkdir(dir.Path("sub").c_str(), 0755), 0);
    const std::string badProfile = dir.Path("h264.prx");
    qxtest::WriteFile(badProfile, qxtest::ReadFile(ProfilePath("QXProf2v.prx")));

    struct Case {
        const char* what;
        std::string source, output;
        std::array<LONG, 4> crop;
        HRESULT expected;
    };
    const std::string out = dir.Path("out.wmv");
    const Case cases[] = {
        {"missing source", dir.Path("none.avi"), out, {0, 0, 0, 0}, NS_E_SOURCE_UNREADABLE},
        {"garbage source", garbage, out, {0, 0, 0, 0}, NS_E_SOURCE_UNREADABLE},
        {"source without video", soundOnly, out, {0, 0, 0, 0}, NS_E_NO_VIDEO_STREAM},
        {"crop leaves less than 16 wide", good, out, {200, 0, 105, 0}, NS_E_CROP_TOO_LARGE},
        {"crop leaves less than 16 high", good, out, {0, 120, 0, 105}, NS_E_CROP_TOO_LARGE},
        {"output folder missing", good, dir.Path("gone/out.wmv"), {0, 0, 0, 0}, NS_E_OUTPUT_UNWRITABLE},
        {"output is a folder", good, dir.Path("sub"), {0, 0, 0, 0}, NS_E_OUTPUT_UNWRITABLE},
        {"output is the source", copy, copy, {0, 0, 0, 0}, NS_E_OUTPUT_IS_SOURCE},
        {"output is the source spelt otherwise", copy, dir.Path("sub/../source.avi"), {0, 0, 0, 0}, NS_E_OUTPUT_IS_SOURCE},
        {"output is a link to the source", copy, dir.Path("link.wmv"), {0, 0, 0, 0}, NS_E_OUTPUT_IS_SOURCE},
    };
    const std::string keep = "an earlier conversion";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        qxtest::WriteFile(out, keep);
        const std::string before = qxtest::ReadFile(copy);
        Session s;
        ASSERT_EQ(s.Configure(c.source, c.output, ProfilePath("QXProf2v.prx"), c.crop), S_OK);
        EXPECT_EQ(s.Prepare(), c.expected);
        EXPECT_EQ(s.ErrorState(), c.expected);
        EXPECT_FALSE(s.ErrorText().empty());
        EXPECT_NE(s.Encoder()->Start(), S_OK) << "an unprepared encoder does not start";
        EXPECT_EQ(qxtest::ReadFile(out), keep);
        EXPECT_EQ(qxtest::ReadFile(copy), before);
        EXPECT_EQ(dir.Entries().filter(".part").size(), 0);
    }

    // A profile the encoder cannot make is refused when it is given to the group.
    qxtest::WriteFile(badProfile, "<profile><streamconfig/></profile>");
    Session s;
    EXPECT_EQ(s.Configure(good, out, badProfile), NS_E_INVALID_PROFILE);
    EXPECT_EQ(s.Prepare(), NS_E_INVALID_PROFILE) << "a group without a profile is not prepared";
    EXPECT_EQ(qxtest::ReadFile(out), keep);
}

TEST(EncoderServer, JoinedRecordingsWithAClockJumpAndANewPictureSizeConvertWhole)
{
    // Two transport streams back to back: the second starts its clock again and has a
    // larger picture, as joined captures do.
    const std::string first = qxtest::Media("part1.ts", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=1.5 "
                                                        "-f lavfi -i sine=duration=1.5 -c:v mpeg2video -c:a mp2 -f mpegts");
    const std::string second = qxtest::Media("part2.ts", "-f lavfi -i testsrc2=size=640x360:rate=25:duration=1.5 "
                                                         "-f lavfi -i sine=frequency=800:duration=1.5 -c:v mpeg2video "
                                                         "-c:a mp2 -f mpegts");
    qxtest::ScratchDir dir;
    const std::string joined = dir.Path("joined.ts");
    qxtest::WriteFile(joined, qxtest::ReadFile(first) + qxtest::ReadFile(second));
    const std::string out = dir.Path("joined.wmv");
    Session s;
    ASSERT_EQ(s.Configure(joined, out, ProfilePath("QXProf2h.prx")), S_OK);
    ASSERT_EQ(s.Prepare(), S_OK) << s.ErrorText();
    ASSERT_EQ(s.Encoder()->Start(), S_OK);
    ASSERT_TRUE(s.WaitForEnd());
    ASSERT_EQ(s.ErrorState(), S_OK) << s.ErrorText();
    EXPECT_NEAR(qxtest::PacketSpan(out), 3.0, 0.15) << "both parts are in";
    ExpectContinuous(out, 20);
    EXPECT_EQ(qxtest::DecodeErrors(out), "");
}

TEST(EncoderServer, ProgressCountsTheSourceAndSaysWhenItsLengthIsUnknown)
{
    qxtest::ScratchDir dir;
    {
        Session s;
        ASSERT_EQ(s.Configure(LongSource(), dir.Path("progress.wmv"), ProfilePath("QXProf3x.prx")), S_OK);
        ASSERT_EQ(s.Prepare(), S_OK) << s.ErrorText();
        EXPECT_EQ(s.RunProgress().permille, 0) << "known before the run starts";
        EXPECT_NEAR(double(s.RunProgress().sourceMs), 20000, 100);
        ASSERT_EQ(s.Encoder()->Start(), S_OK);
        std::vector<LONG> seen;
        while (s.State() != WMENC_ENCODER_STOPPED) {
            const Session::Progress p = s.RunProgress();
            if (s.State() == WMENC_ENCODER_RUNNING) {
                EXPECT_GE(p.permille, 0);
                EXPECT_LE(p.permille, 999) << "never all done before the run says so";
                const auto [ms, bytes] = s.Stats();
                EXPECT_NEAR(p.permille, ms / 20.0, 10) << "the share of the source written";
            }
            if (seen.empty() || seen.back() != p.permille)
                seen.push_back(p.permille);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        EXPECT_GT(seen.size(), 3u) << "it moves during the run";
        const Session::Progress end = s.RunProgress();
        EXPECT_EQ(end.permille, 1000);
        EXPECT_EQ(end.outcome, RunOutcome::Complete);
    }
    {
        // A raw stream has no length: no number rather than a wrong one.
        const std::string raw =
            qxtest::Media("raw.m2v", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=2 -c:v mpeg2video -f mpeg2video");
        Session s;
        ASSERT_EQ(s.Configure(raw, dir.Path("raw.wmv"), ProfilePath("QXProf2v.prx")), S_OK);
        ASSERT_EQ(s.Prepare(), S_OK) << s.ErrorText();
        ASSERT_EQ(s.Encoder()->Start(), S_OK);
        while (s.State() != WMENC_ENCODER_STOPPED) {
            EXPECT_EQ(s.RunProgress().permille, -1);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        EXPECT_EQ(s.RunProgress().sourceMs, 0);
        EXPECT_EQ(s.RunProgress().outcome, RunOutcome::Complete);
        EXPECT_EQ(s.RunProgress().permille, 1000);
    }
}

TEST(EncoderServer, ASizeLimitLowersTheRateToFitTheWholeSourceOrCutsWhereItCannot)
{
    const std::string source = qxtest::Media("minute.mpg", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=60 "
                                                           "-f lavfi -i sine=frequency=440:duration=60 -c:v mpeg2video "
                                                           "-b:v 3M -c:a mp2 -f mpeg");
    constexpr LONGLONG kLimit = 2000 * 1024;
    qxtest::ScratchDir dir;
    for (const char* profile : {"QXProf3v.prx", "QXProf2h.prx"}) {
        SCOPED_TRACE(profile);
        const std::string out = dir.Path("fitted.wmv");
        Session s;
        EXPECT_EQ(s.ConvertWhole(source, out, profile, kLimit), RunOutcome::Complete);
        struct stat st {};
        ASSERT_EQ(::stat(out.c_str(), &st), 0);
        EXPECT_LE(st.st_size, kLimit) << "the whole file, header and index included";
        EXPECT_GE(st.st_size, kLimit * 9 / 10) << "the limit is used";
        EXPECT_NEAR(qxtest::PacketSpan(out), 60.0, 0.2) << "all of the source";
        EXPECT_EQ(qxtest::DecodeErrors(out), "");
    }
    // VGA at its best quality: even its coarsest pictures at 30 a second take more than
    // the limit leaves, so the sound goes mono and the pictures fewer until all of it fits;
    // in a quarter of the room not even that does, and the stop at the size cuts it.
    for (const auto& [limit, whole] : {std::pair{kLimit, true}, std::pair{kLimit / 4, false}}) {
        SCOPED_TRACE(limit);
        const std::string out = dir.Path("lowered.wmv");
        Session s;
        EXPECT_EQ(s.ConvertWhole(source, out, "QXProf3x.prx", limit), whole ? RunOutcome::Complete : RunOutcome::CutAtSize);
        struct stat st {};
        ASSERT_EQ(::stat(out.c_str(), &st), 0);
        EXPECT_LE(st.st_size, limit);
        EXPECT_GT(st.st_size, limit * 9 / 10);
        if (whole) {
            EXPECT_NEAR(qxtest::PacketSpan(out), 60.0, 0.2);
        } else {
            EXPECT_LT(qxtest::PacketSpan(out), 55.0);
        }
        const QJsonObject probe = qxtest::Probe(out);
        EXPECT_EQ(qxtest::StreamOf(probe, "audio")["channels"].toInt(), 1) << "mono sound";
        const QStringList rate = qxtest::StreamOf(probe, "video")["r_frame_rate"].toString().split('/');
        ASSERT_EQ(rate.size(), 2);
        EXPECT_LE(rate[0].toDouble() / rate[1].toDouble(), 25.0) << "fewer pictures a second";
        EXPECT_EQ(qxtest::DecodeErrors(out), "");
    }
}

// A DVD minute, interlaced MPEG-2 with AC-3, in 2,000 KB at every VGA quality: the
// coarsest pictures at their rates do not fit, so the sound and the frame rate give way,
// and all 60 seconds are there, near the limit.
TEST(EncoderServer, EveryVgaQualityHoldsTheWholeDvdMinuteIn2000KB)
{
    const std::string source = qxtest::Media(
        "dvd-minute.vob", "-f lavfi -i testsrc2=size=720x576:rate=25:duration=60 -f lavfi -i sine=frequency=300:duration=60 "
                          "-vf setfield=tff -flags +ilme+ildct -c:v mpeg2video -b:v 6M -maxrate 8M -bufsize 1835k -g 15 "
                          "-c:a ac3 -b:a 192k -ac 2 -f vob");
    constexpr LONGLONG kLimit = 2000 * 1024;
    qxtest::ScratchDir dir;
    for (const char* profile : {"QXProf1x.prx", "QXProf2x.prx", "QXProf3x.prx"}) {
        SCOPED_TRACE(profile);
        const std::string out = dir.Path("dvd.wmv");
        Session s;
        EXPECT_EQ(s.ConvertWhole(source, out, profile, kLimit), RunOutcome::Complete);
        struct stat st {};
        ASSERT_EQ(::stat(out.c_str(), &st), 0);
        EXPECT_LE(st.st_size, kLimit);
        EXPECT_GE(st.st_size, kLimit * 9 / 10);
        EXPECT_NEAR(qxtest::PacketSpan(out), 60.0, 0.2);
    }
}

TEST(EncoderServer, APhoneClipRecordedOnItsSideComesOutUpright)
{
    // Portrait, red above blue, stored lying on its side (top to the left) with a display
    // matrix saying "turn a quarter clockwise", as phones record.
    const std::string flat = qxtest::Media(
        "portrait-flat.mp4", "-f lavfi -i color=red:size=240x160:rate=25:duration=1 -f lavfi "
                             "-i color=blue:size=240x160:rate=25:duration=1 -filter_complex vstack,transpose=cclock "
                             "-c:v mpeg4 -q:v 2");
    const std::string source = qxtest::Media("portrait.mp4", qxtest::CopyTurnedQuarterClockwise(flat));
    qxtest::ScratchDir dir;
    const std::string out = dir.Path("upright.wmv");
    Session s;
    EXPECT_EQ(s.ConvertWhole(source, out, "QXProf2v.prx"), RunOutcome::Complete);
    const QImage picture = qxtest::FirstPicture(out);
    ASSERT_EQ(picture.size(), QSize(208, 160));
    const QRect lit = qxtest::LitArea(picture);
    EXPECT_GT(lit.height(), lit.width()) << "taller than wide inside the bars";
    EXPECT_NEAR(lit.height(), 160, 2);
    EXPECT_NEAR(lit.width(), 120, 4);
    const QColor top = picture.pixelColor(lit.center().x(), lit.top() + 20);
    const QColor bottom = picture.pixelColor(lit.center().x(), lit.bottom() - 20);
    EXPECT_GT(top.red(), 180) << "red on top";
    EXPECT_LT(top.blue(), 80);
    EXPECT_GT(bottom.blue(), 180) << "blue below";
    EXPECT_LT(bottom.red(), 80);
}

TEST(EncoderServer, ASourceThatBreaksOffIsKeptAndReportedButDamageInTheMiddleIsNot)
{
    const std::string whole = qxtest::Media("thirty.mp4", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=30 "
                                                          "-f lavfi -i sine=duration=30 -c:v mpeg4 -q:v 5 -c:a aac "
                                                          "-movflags +faststart");
    const std::string wholeAvi = qxtest::Media("thirty.avi", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=30 "
                                                             "-f lavfi -i sine=duration=30 -c:v mpeg4 -q:v 5 -c:a mp2");
    qxtest::ScratchDir dir;
    for (const std::string& source : {whole, wholeAvi}) {
        SCOPED_TRACE(source);
        const std::string bytes = qxtest::ReadFile(source);
        const std::string cut = dir.Path("cut" + source.substr(source.rfind('.')));
        qxtest::WriteFile(cut, bytes.substr(0, bytes.size() / 5));
        std::string scarred = bytes;
        for (int k = 3; k <= 7; ++k)  // a few scars in the middle, as a bad sector leaves
            for (std::size_t i = 0; i < 1500; ++i)
                scarred[scarred.size() * std::size_t(k) / 10 + i] = char((i * 7919) & 0xFF);
        const std::string damaged = dir.Path("scarred" + source.substr(source.rfind('.')));
        qxtest::WriteFile(damaged, scarred);

        const std::string out = dir.Path("out.wmv");
        Session s;
        EXPECT_EQ(s.ConvertWhole(cut, out, "QXProf2v.prx"), RunOutcome::SourceDamaged);
        EXPECT_NEAR(double(s.RunProgress().sourceMs), 30000, 200) << "the length the source claims";
        EXPECT_LT(s.Stats().first, 10000);
        EXPECT_EQ(qxtest::DecodeErrors(out), "") << "what was read is kept, complete";

        Session again;
        EXPECT_EQ(again.ConvertWhole(damaged, out, "QXProf2v.prx"), RunOutcome::Complete);
        EXPECT_NEAR(qxtest::PacketSpan(out), 30.0, 0.2);
    }
}

// A download that stopped: ASF and Matroska headers say how big the file should be, and
// an ASF header how long it is, where FFmpeg sees only what arrived.
TEST(EncoderServer, ACutOffDownloadIsReportedWhateverItsContainerAndAWholeFileIsNot)
{
    const std::string wmv = qxtest::Media("thirty.wmv", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=30 "
                                                        "-f lavfi -i sine=duration=30 -c:v wmv2 -b:v 800k -c:a wmav2 -f asf");
    const std::string mkv = qxtest::Media("thirty.mkv", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=30 "
                                                        "-f lavfi -i sine=duration=30 -c:v mpeg4 -q:v 5 -c:a mp2");
    qxtest::ScratchDir dir;
    const std::string out = dir.Path("out.wmv");
    // The first 6,000 bytes, or a fifth.
    for (const auto& [source, fifthOnly] : {std::pair{wmv, false}, std::pair{mkv, true}}) {
        SCOPED_TRACE(source);
        const std::string bytes = qxtest::ReadFile(source);
        for (const std::size_t kept : {std::size_t(6000), bytes.size() / 5}) {
            if (fifthOnly && kept == 6000)
                continue;
            SCOPED_TRACE(kept);
            const std::string cut = dir.Path("cut" + source.substr(source.rfind('.')));
            qxtest::WriteFile(cut, bytes.substr(0, kept));
            Session s;
            EXPECT_EQ(s.ConvertWhole(cut, out, "QXProf2v.prx"), RunOutcome::SourceDamaged);
            EXPECT_NEAR(double(s.RunProgress().sourceMs), 30000, 200) << "the length the header claims";
        }
        Session whole;
        EXPECT_EQ(whole.ConvertWhole(source, out, "QXProf2v.prx"), RunOutcome::Complete);
    }
}

// The size limit is a promise for the file as the file system counts it: every profile,
// still, moving and noisy pictures, a limit that holds it all and limits that cut it.
class SizeLimit : public ::testing::TestWithParam<const char*> {};

TEST_P(SizeLimit, NoOutputIsEverAByteOverIt)
{
    const std::string common = "-f lavfi -i sine=frequency=500:duration=5 -c:v mpeg2video -q:v 2 -c:a mp2 -b:a 192k -t 5";
    const std::pair<const char*, std::string> sources[] = {
        {"still", qxtest::Media("limit-still.mpg", "-f lavfi -i color=c=teal:size=640x480:rate=25 " + common)},
        {"moving", qxtest::Media("limit-moving.mpg", "-f lavfi -i testsrc2=size=640x480:rate=25 " + common)},
        {"noisy", qxtest::Media("limit-noisy.mpg",
                                "-f lavfi -i testsrc2=size=640x480:rate=25,noise=alls=80:allf=t " + common)},
    };
    qxtest::ScratchDir dir;
    for (const auto& [what, source] : sources)
        for (const LONGLONG kb : {24, 150, 2000}) {
            SCOPED_TRACE(std::string(what) + " " + std::to_string(kb) + " KB");
            const std::string out = dir.Path("limited.wmv");
            Session s;
            const RunOutcome outcome = s.ConvertWhole(source, out, GetParam(), kb * 1024);
            const qint64 size = QFileInfo(QString::fromStdString(out)).size();
            EXPECT_LE(size, kb * 1024);
            EXPECT_TRUE(outcome == RunOutcome::Complete || outcome == RunOutcome::CutAtSize) << int(outcome);
            if (outcome == RunOutcome::Complete) {
                EXPECT_NEAR(qxtest::PacketSpan(out), 5.0, 0.2) << "all of it";
            } else if (kb >= 150 && std::string(what) != "noisy") {
                // (A single noisy picture may take more than a small limit leaves.)
                EXPECT_GT(size, kb * 1024 * 8 / 10) << "cut near the limit, not far below it";
            }
            EXPECT_EQ(qxtest::DecodeErrors(out), "");
        }
}

INSTANTIATE_TEST_SUITE_P(EveryProfile, SizeLimit,
                         ::testing::Values("QXProf1v.prx", "QXProf2v.prx", "QXProf3v.prx", "QXProf1h.prx",
                                           "QXProf2h.prx", "QXProf3h.prx", "QXProf1x.prx", "QXProf2x.prx",
                                           "QXProf3x.prx"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param).substr(6, 2);  // QXProf2v.prx -> 2v
                         });

}  // namespace
