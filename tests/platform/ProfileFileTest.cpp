#include "platform/wmencoder/ProfileFile.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>
#include <ostream>
#include <set>

namespace platform::wmenc {
// Readable failures for whole-profile comparisons.
void PrintTo(const Profile& p, std::ostream* os)
{
    const VideoProfile& v = p.video;
    *os << '"' << p.name << "\" " << v.codec << ' ' << v.width << 'x' << v.height << ' ' << v.frameRateNum << '/'
        << v.frameRateDen << " fps " << v.bitrate << " bit/s, window " << v.bufferWindowMs << " ms, key every "
        << v.keyFrameSpacingMs << " ms, quality " << v.quality;
    if (p.audio)
        *os << "; " << p.audio->codec << ' ' << p.audio->sampleRate << " Hz x" << p.audio->channels << ' '
            << p.audio->bitrate << " bit/s";
    else
        *os << "; no audio";
}
}  // namespace platform::wmenc

using namespace platform::wmenc;

namespace {

const std::string kHead = R"(<?xml version="1.0" encoding="UTF-8"?>
<profile version="589824" storageformat="1" name="Test" description="A test profile">
)";
const std::string kAudio =
    R"( <streamconfig majortype="{73647561-0000-0010-8000-00AA00389B71}" streamnumber="1" streamname="Audio" bitrate="32000" bufferwindow="5000">
  <wmmediatype subtype="{00000161-0000-0010-8000-00AA00389B71}">
   <waveformatex wFormatTag="353" nChannels="2" nSamplesPerSec="32000" nAvgBytesPerSec="4000" nBlockAlign="256" wBitsPerSample="16"/>
  </wmmediatype>
 </streamconfig>
)";
const std::string kVideo =
    R"( <streamconfig majortype="{73646976-0000-0010-8000-00AA00389B71}" streamnumber="2" streamname="Video" bitrate="160000" bufferwindow="5000">
  <videomediaprops maxkeyframespacing="40000000" quality="70"/>
  <wmmediatype subtype="{32564D57-0000-0010-8000-00AA00389B71}">
   <videoinfoheader dwbitrate="160000" dwbiterrorrate="0" avgtimeperframe="666667">
    <rcsource left="0" top="0" right="208" bottom="160"/>
    <rctarget left="0" top="0" right="208" bottom="160"/>
    <bitmapinfoheader biwidth="208" biheight="160" biplanes="1" bibitcount="24" bicompression="WMV2"/>
   </videoinfoheader>
  </wmmediatype>
 </streamconfig>
)";
const std::string kTail = "</profile>\n";
const std::string kBase = kHead + kAudio + kVideo + kTail;

// kBase with the first `from` replaced; a missing `from` fails the test instead of
// quietly testing the unchanged base.
std::string Edit(const std::string& from, const std::string& to, const std::string& text = kBase)
{
    const auto pos = text.find(from);
    if (pos == std::string::npos) {
        ADD_FAILURE() << "not in the fixture: " << from;
        return text;
    }
    std::string out = text;
    out.replace(pos, from.size(), to);
    return out;
}

std::string Utf16(const std::string& utf8, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const QChar c : QString::fromStdString(utf8)) {
        const char hi = char(c.unicode() >> 8);
        const char lo = char(c.unicode() & 0xFF);
        bytes += bigEndian ? hi : lo;
        bytes += bigEndian ? lo : hi;
    }
    return bytes;
}

Profile Parsed(const std::string& text)
{
    std::string error;
    const auto profile = ParseProfile(text, &error);
    EXPECT_TRUE(profile) << error;
    EXPECT_TRUE(error.empty());
    return profile.value_or(Profile{});
}

std::string InstalledPath(const char* file)
{
    return QCoreApplication::applicationDirPath().toStdString() + "/" + file;
}

struct Installed {
    const char* file;
    int width, height, fps, videoKbps, sampleRate, channels, audioKbps, quality;
};

const Installed kInstalled[] = {
    {"QXProf1v.prx", 208, 160, 15, 100, 22050, 1, 24, 60},   {"QXProf2v.prx", 208, 160, 15, 160, 32000, 2, 32, 75},
    {"QXProf3v.prx", 208, 160, 20, 250, 44100, 2, 48, 90},   {"QXProf1h.prx", 320, 200, 15, 180, 22050, 1, 32, 60},
    {"QXProf2h.prx", 320, 200, 20, 280, 32000, 2, 48, 75},   {"QXProf3h.prx", 320, 200, 25, 420, 44100, 2, 64, 90},
    {"QXProf1x.prx", 640, 480, 20, 500, 32000, 2, 48, 60},   {"QXProf2x.prx", 640, 480, 25, 800, 44100, 2, 64, 75},
    {"QXProf3x.prx", 640, 480, 30, 1200, 44100, 2, 128, 90},
};

TEST(ProfileFile, InstalledProfilesHoldTheirScreenAndQuality)
{
    std::set<std::string> names;
    for (const Installed& row : kInstalled) {
        SCOPED_TRACE(row.file);
        std::string error;
        const auto profile = LoadProfileFile(InstalledPath(row.file), &error);
        ASSERT_TRUE(profile) << error;
        Profile expected;
        expected.name = profile->name;
        expected.description = profile->description;
        expected.video = {"WMV2", row.width, row.height, row.fps, 1, row.videoKbps * 1000, 5000, 4000, row.quality};
        expected.audio = AudioProfile{"WMA2", row.sampleRate, row.channels, row.audioKbps * 1000};
        EXPECT_EQ(*profile, expected);
        EXPECT_FALSE(profile->description.empty());
        EXPECT_TRUE(names.insert(profile->name).second) << "name used twice: " << profile->name;
    }
}

// The BOM decides the encoding, whatever the declaration says; text outside Latin-1 and
// outside the BMP (a surrogate pair) must come through intact.
TEST(ProfileFile, ReadsUtf8AndUtf16InEitherByteOrder)
{
    std::string text = qxtest::ReadFile(InstalledPath("QXProf2h.prx"));
    ASSERT_FALSE(text.empty());
    const std::string name = "Grüße ☃ \xF0\x9D\x84\x9E";
    const auto at = text.find("name=\"") + 6;
    text.replace(at, text.find('"', at) - at, name);
    const Profile utf8 = Parsed(text);
    EXPECT_EQ(utf8.name, name);
    EXPECT_EQ(utf8.video.width, 320);

    const std::string decl8 = R"(<?xml version="1.0" encoding="UTF-8"?>)";
    const std::string decl16 = R"(<?xml version="1.0" encoding="UTF-16"?>)";
    const std::string noDecl = Edit(decl8 + "\n", "", text);
    const struct {
        const char* label;
        std::string bytes;
    } variants[] = {
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + text},
        {"UTF-8 without declaration", noDecl},
        {"UTF-16 LE, declared UTF-16", Utf16(Edit(decl8, decl16, text), false)},
        {"UTF-16 LE, no declaration", Utf16(noDecl, false)},
        {"UTF-16 LE, declared UTF-8", Utf16(text, false)},
        {"UTF-16 BE, declared UTF-16", Utf16(Edit(decl8, decl16, text), true)},
        {"UTF-16 BE, no declaration", Utf16(noDecl, true)},
    };
    for (const auto& v : variants) {
        SCOPED_TRACE(v.label);
        EXPECT_EQ(Parsed(v.bytes), utf8);
    }
}

TEST(ProfileFile, ReadsOptionalPartsAndTimes)
{
    const Profile base = Parsed(kBase);
    EXPECT_EQ(base.video.quality, 70);
    ASSERT_TRUE(base.audio);
    EXPECT_EQ(*base.audio, (AudioProfile{"WMA2", 32000, 2, 32000}));
    EXPECT_EQ(base.description, "A test profile");

    EXPECT_EQ(Parsed(Edit(R"( quality="70")", "")).video.quality, 75) << "default quality";
    EXPECT_FALSE(Parsed(Edit(kAudio, "")).audio) << "video alone is a profile";
    EXPECT_TRUE(Parsed(Edit(R"( description="A test profile")", "")).description.empty());

    const Profile old = Parsed(Edit(R"(wFormatTag="353")", R"(wFormatTag="352")",
                                    Edit(R"(bicompression="WMV2")", R"(bicompression="WMV1")")));
    EXPECT_EQ(old.video.codec, "WMV1");
    EXPECT_EQ(old.audio->codec, "WMA1");

    // Stream types without braces or in lower case are the same GUIDs.
    EXPECT_TRUE(Parsed(Edit("{73646976-0000-0010-8000-00AA00389B71}", "73646976-0000-0010-8000-00aa00389b71"))
                    .audio);

    // Elements we do not know are skipped, even with familiar names at unfamiliar places.
    const Profile skipped = Parsed(Edit("<wmmediatype", R"(<note><waveformatex wFormatTag="1"/></note><wmmediatype)"));
    EXPECT_EQ(skipped.audio->codec, "WMA2");

    const struct {
        const char* frameTime;
        int num, den;
    } rates[] = {
        {"666667", 15, 1},    {"333333", 30, 1},       {"500000", 20, 1},
        {"166667", 60, 1},    {"10000000", 1, 1},      {"333667", 30000, 1001},
        {"417083", 24000, 1001}, {"666666", 5000000, 333333},
    };
    for (const auto& r : rates) {
        SCOPED_TRACE(r.frameTime);
        const Profile p = Parsed(Edit(R"(avgtimeperframe="666667")", std::string("avgtimeperframe=\"") + r.frameTime + '"'));
        EXPECT_EQ(p.video.frameRateNum, r.num);
        EXPECT_EQ(p.video.frameRateDen, r.den);
    }

    // Spacing in 100-ns units, rounded down: key frames never rarer than the profile asks.
    EXPECT_EQ(Parsed(kBase).video.keyFrameSpacingMs, 4000);
    EXPECT_EQ(Parsed(Edit("\"40000000\"", "\"39999999\"")).video.keyFrameSpacingMs, 3999);
}

struct Broken {
    const char* label;
    std::string bytes;
    const char* reason;  // part of the message that names the fault
};

std::vector<Broken> BrokenInputs()
{
    std::string video2 = Edit(R"(streamnumber="2")", R"(streamnumber="3")", kVideo);
    std::string audio2 = Edit(R"(streamnumber="1")", R"(streamnumber="4")", kAudio);
    const std::string bitmap = R"(<bitmapinfoheader biwidth="208" biheight="160" biplanes="1" bibitcount="24" bicompression="WMV2"/>)";
    std::string loneSurrogate = Utf16(kBase, false);
    loneSurrogate.insert(loneSurrogate.find('T', 60), std::string("\x00\xD8", 2));  // a high surrogate alone
    return {
        {"empty input", "", "XML"},
        {"not XML", "hello", "XML"},
        {"cut in half", kBase.substr(0, kBase.size() / 2), "XML"},
        {"mismatched end tag", Edit("</wmmediatype>", "</wmmedia>"), "XML"},
        {"second root element", kBase + "<profile/>", "XML"},
        {"invalid UTF-8", Edit("name=\"Test\"", "name=\"Te\xFF\xFEst\""), "XML"},
        {"UTF-16 with an odd byte count", Utf16(kBase, false) + "x", "odd number"},
        {"UTF-16 with a lone surrogate", loneSurrogate, "surrogate"},
        {"declared legacy encoding", Edit(R"(encoding="UTF-8")", R"(encoding="ISO-8859-1")"), "encoding ISO-8859-1"},
        {"declared UTF-7", Edit(R"(encoding="UTF-8")", R"(encoding="UTF-7")"), "encoding UTF-7"},
        {"larger than the limit", kBase + std::string(kMaxProfileBytes, ' '), "larger"},
        {"root is not <profile>", "<settings name=\"x\"/>", "<profile>"},
        {"document type declaration", Edit("<profile ", "<!DOCTYPE profile [<!ENTITY w \"208\">]>\n<profile "),
         "document type"},
        {"no video stream", Edit(kVideo, ""), "no video"},
        {"no stream at all", kHead + kTail, "no video"},
        {"two video streams", Edit(kTail, video2 + kTail), "second video"},
        {"two audio streams", Edit(kTail, audio2 + kTail), "second audio"},
        {"unknown stream type", Edit("{73647561-", "{73747874-"), "neither audio nor video"},
        {"stream number used twice", Edit(R"(streamnumber="2")", R"(streamnumber="1")"), "streamnumber"},
        {"stream number 0", Edit(R"(streamnumber="2")", R"(streamnumber="0")"), "streamnumber"},
        {"video codec not WMV", Edit(R"("WMV2")", R"("H264")"), "bicompression"},
        {"video codec WMV3", Edit(R"("WMV2")", R"("WMV3")"), "bicompression"},
        {"audio codec PCM", Edit(R"(wFormatTag="353")", R"(wFormatTag="1")"), "wFormatTag"},
        {"audio codec WMA Pro", Edit(R"(wFormatTag="353")", R"(wFormatTag="354")"), "wFormatTag"},
        {"odd width", Edit(R"(biwidth="208")", R"(biwidth="207")"), "207x160"},
        {"odd height", Edit(R"(biheight="160")", R"(biheight="161")"), "208x161"},
        {"zero height", Edit(R"(biheight="160")", R"(biheight="0")"), "biheight"},
        {"negative width", Edit(R"(biwidth="208")", R"(biwidth="-208")"), "biwidth"},
        {"width above 1920", Edit(R"(biwidth="208")", R"(biwidth="1922")"), "biwidth"},
        {"height above 1088", Edit(R"(biheight="160")", R"(biheight="1090")"), "biheight"},
        {"above 60 frames per second", Edit(R"("666667")", R"("166666")"), "avgtimeperframe"},
        {"zero frame time", Edit(R"("666667")", R"("0")"), "avgtimeperframe"},
        {"below 1 frame per second", Edit(R"("666667")", R"("10000001")"), "avgtimeperframe"},
        {"video bit rate 0", Edit(R"( bitrate="160000")", R"( bitrate="0")"), "bitrate"},
        {"video bit rate above 20 Mbit/s", Edit(R"( bitrate="160000")", R"( bitrate="20000001")"), "bitrate"},
        {"audio bit rate above 320 kbit/s", Edit(R"( bitrate="32000")", R"( bitrate="320001")"), "bitrate"},
        {"sample rate not supported", Edit(R"(nSamplesPerSec="32000")", R"(nSamplesPerSec="12345")"), "sample rate"},
        {"three channels", Edit(R"(nChannels="2")", R"(nChannels="3")"), "nChannels"},
        {"no channels", Edit(R"(nChannels="2")", R"(nChannels="0")"), "nChannels"},
        {"buffer window 0", Edit(R"(bufferwindow="5000">)" "\n  <videomediaprops",
                                 R"(bufferwindow="0">)" "\n  <videomediaprops"),
         "bufferwindow"},
        {"key-frame spacing 0", Edit(R"("40000000")", R"("0")"), "maxkeyframespacing"},
        {"quality above 100", Edit(R"(quality="70")", R"(quality="101")"), "quality"},
        {"no name", Edit(R"( name="Test")", ""), "has no name"},
        {"blank name", Edit(R"( name="Test")", R"( name="  ")"), "empty name"},
        {"no majortype", Edit(R"(majortype="{73646976-0000-0010-8000-00AA00389B71}")", ""), "majortype"},
        {"no biwidth", Edit(R"(biwidth="208" )", ""), "has no biwidth"},
        {"no bicompression", Edit(R"( bicompression="WMV2")", ""), "has no bicompression"},
        {"no wFormatTag", Edit(R"(wFormatTag="353" )", ""), "has no wFormatTag"},
        {"no nSamplesPerSec", Edit(R"(nSamplesPerSec="32000" )", ""), "has no nSamplesPerSec"},
        {"no maxkeyframespacing", Edit(R"(maxkeyframespacing="40000000" )", ""), "has no maxkeyframespacing"},
        {"no avgtimeperframe", Edit(R"( avgtimeperframe="666667")", ""), "has no avgtimeperframe"},
        {"no video bufferwindow", Edit(R"( bufferwindow="5000">)" "\n  <videomediaprops", ">\n  <videomediaprops"),
         "has no bufferwindow"},
        {"no <bitmapinfoheader>", Edit(bitmap, ""), "bitmapinfoheader"},
        {"no <waveformatex>", Edit(R"(<waveformatex wFormatTag="353" nChannels="2" nSamplesPerSec="32000" nAvgBytesPerSec="4000" nBlockAlign="256" wBitsPerSample="16"/>)", ""),
         "waveformatex"},
        {"no <videomediaprops>", Edit(R"(<videomediaprops maxkeyframespacing="40000000" quality="70"/>)", ""),
         "videomediaprops"},
        {"two <bitmapinfoheader>", Edit(bitmap, bitmap + bitmap), "second <bitmapinfoheader>"},
        {"number with a unit", Edit(R"(biwidth="208")", R"(biwidth="208px")"), "not a whole number"},
        {"number with blanks", Edit(R"(biwidth="208")", R"(biwidth=" 208")"), "not a whole number"},
        {"number with a plus sign", Edit(R"(biwidth="208")", R"(biwidth="+208")"), "not a whole number"},
        {"number with an exponent", Edit(R"(biwidth="208")", R"(biwidth="2e2")"), "not a whole number"},
        {"empty number", Edit(R"(biwidth="208")", R"(biwidth="")"), "not a whole number"},
        {"number beyond 64 bits", Edit(R"("666667")", R"("18446744073709551617")"), "avgtimeperframe"},
        {"32-bit wrap to a good width", Edit(R"(biwidth="208")", R"(biwidth="4294967504")"), "biwidth"},
    };
}

TEST(ProfileFile, RefusesBrokenInputsWithAReason)
{
    ASSERT_TRUE(ParseProfile(kBase, nullptr)) << "the fixture itself must be good";
    for (const Broken& b : BrokenInputs()) {
        SCOPED_TRACE(b.label);
        std::string error;
        EXPECT_FALSE(ParseProfile(b.bytes, &error));
        EXPECT_NE(error.find(b.reason), std::string::npos) << "reason: " << error;
    }
}

TEST(ProfileFile, SizeLimitIsInclusive)
{
    std::string text = kBase;
    text.resize(kMaxProfileBytes, ' ');
    EXPECT_TRUE(ParseProfile(text, nullptr));
    text += ' ';
    EXPECT_FALSE(ParseProfile(text, nullptr));
}

TEST(ProfileFile, LoadRefusesWhatIsNoProfileFile)
{
    qxtest::ScratchDir dir;
    const std::string big = dir.Path("big.prx");
    {
        QFile file(QString::fromStdString(big));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(qint64(kMaxProfileBytes) * 4));
    }
    const struct {
        const char* label;
        std::string path;
        const char* reason;
    } cases[] = {
        {"no path", "", "no profile file"},
        {"missing file", dir.Path("missing.prx"), "missing.prx"},
        {"folder", dir.Path(), "folder"},
        {"too large", big, "larger"},
        {"endless device", "/dev/zero", "larger"},  // must not be read whole
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::string error;
        EXPECT_FALSE(LoadProfileFile(c.path, &error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << "reason: " << error;
    }

    const std::string good = dir.Path("good.prx");
    qxtest::WriteFile(good, kBase);
    std::string error = "stale";
    EXPECT_EQ(LoadProfileFile(good, &error), ParseProfile(kBase, nullptr));
    EXPECT_TRUE(error.empty());
}

TEST(ProfileFile, BuiltInProfilesAreUsableAndNamed)
{
    const auto profiles = BuiltInProfiles();
    ASSERT_EQ(profiles.size(), 3u);
    std::set<std::string> names;
    for (const Profile& p : profiles) {
        SCOPED_TRACE(p.name);
        std::string error;
        EXPECT_TRUE(CheckProfile(p, &error)) << error;
        EXPECT_TRUE(names.insert(p.name).second);
    }
}

}  // namespace
