// The one opener: which streams it chooses in every kind of source, that page 1's probe
// and the engine take the same ones, and what it says about files that are no source.
#include "platform/player/MediaProbe.h"
#include "platform/source/MediaSource.h"

#include "Media.h"
#include "TestSupport.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <sys/stat.h>
#include <thread>

namespace {

using platform::MediaSource;
using platform::OpenStatus;

// A source with two pictures: a small red one, and a larger blue one marked as the default.
std::string TwoPictures()
{
    return qxtest::Media("source-two-videos.mkv",
                         "-f lavfi -i color=c=red:size=160x120:rate=25:duration=1 "
                         "-f lavfi -i color=c=blue:size=320x240:rate=25:duration=1 -f lavfi -i sine=duration=1 "
                         "-map 0 -map 1 -map 2 -c:v mpeg4 -c:a mp2 -disposition:v:0 0 -disposition:v:1 default");
}

// A music video with its cover picture stored before the moving one.
std::string CoverFirst()
{
    const std::string cover = qxtest::Media("source-cover.png", "-f lavfi -i color=c=red:size=64x64 -frames:v 1");
    return qxtest::Media("source-cover-first.mp4",
                         "-i " + cover + " -f lavfi -i color=c=blue:size=320x240:rate=25:duration=1 "
                         "-f lavfi -i sine=duration=1 -map 0 -map 1 -map 2 -c:v:0 mjpeg -c:v:1 mpeg4 -c:a aac "
                         "-disposition:v:0 attached_pic");
}

// A broadcast recording of two programmes, each with its own picture and sound.
std::string TwoProgrammes()
{
    return qxtest::Media("source-two-programmes.ts",
                         "-f lavfi -i testsrc2=size=320x240:rate=25:duration=1 "
                         "-f lavfi -i testsrc2=size=640x480:rate=25:duration=1 "
                         "-f lavfi -i sine=frequency=300:duration=1 -f lavfi -i sine=frequency=600:duration=1 "
                         "-map 0 -map 1 -map 2 -map 3 -c:v mpeg2video -c:a mp2 "
                         "-program title=A:st=0:st=2 -program title=B:st=1:st=3 -f mpegts");
}

struct Kind {
    const char* name;
    std::string path;
    bool sound;
};

std::vector<Kind> EveryKind()
{
    return {
        {"VCD", qxtest::Media("vcd.dat", "-f lavfi -i testsrc2=size=352x288:rate=25:duration=2 -f lavfi -i "
                                         "sine=frequency=440:duration=2 -c:v mpeg1video -b:v 1M -c:a mp2 -ar 44100 -f mpeg"),
         true},
        {"DVD", qxtest::Media("dvd.VOB", "-f lavfi -i testsrc2=size=720x576:rate=25:duration=2 -f lavfi -i "
                                         "sine=frequency=440:duration=2 -vf setfield=tff -flags +ildct+ilme -top 1 "
                                         "-aspect 16:9 -c:v mpeg2video -b:v 4M -c:a ac3 -ar 48000 -ac 2 -f vob"),
         true},
        {"AVI", qxtest::Media("clip.avi", "-f lavfi -i testsrc2=size=320x240:rate=30:duration=2 -f lavfi -i "
                                          "sine=frequency=300:duration=2 -c:v mpeg4 -c:a libmp3lame -ar 44100"),
         true},
        {"WMV", qxtest::Media("clip.wmv", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=2 -f lavfi -i "
                                          "sine=frequency=500:duration=2 -c:v wmv2 -c:a wmav2 -f asf"),
         true},
        {"silent", qxtest::Media("silent.mkv", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=2 -c:v mpeg4"),
         false},
        {"two pictures", TwoPictures(), true},
        {"cover first", CoverFirst(), true},
        {"two programmes", TwoProgrammes(), true},
    };
}

MediaSource::Options Quick()
{
    MediaSource::Options o;
    o.deadline = std::chrono::milliseconds(5000);
    return o;
}

TEST(MediaSource, ChoosesOneMovingPictureAndTheSoundThatGoesWithIt)
{
    for (const Kind& k : EveryKind()) {
        SCOPED_TRACE(k.name);
        MediaSource source;
        ASSERT_EQ(source.Open(k.path, Quick()), OpenStatus::Opened) << source.Error();
        ASSERT_NE(source.Video(), nullptr);
        EXPECT_FALSE(source.Video()->disposition & AV_DISPOSITION_ATTACHED_PIC) << "never the cover";
        EXPECT_EQ(source.Audio() != nullptr, k.sound);
        if (source.Audio()) {
            // In a recording of several programmes, the sound of the picture's own.
            const AVProgram* program = av_find_program_from_stream(source.Format(), nullptr, source.VideoIndex());
            if (program) {
                bool same = false;
                for (unsigned i = 0; i < program->nb_stream_indexes; ++i)
                    same = same || int(program->stream_index[i]) == source.AudioIndex();
                EXPECT_TRUE(same) << "sound " << source.AudioIndex() << " belongs to another programme";
            }
        }
        EXPECT_TRUE(platform::player::ProbeDecodableVideo(k.path)) << "page 1 approves what opens";
    }
    MediaSource source;
    ASSERT_EQ(source.Open(TwoPictures(), Quick()), OpenStatus::Opened);
    EXPECT_EQ(source.Video()->codecpar->width, 320) << "the default picture";
}

// What the engine converts is the stream page 1 approved and page 2 showed: the blue one.
TEST(MediaSource, TheEngineConvertsTheChosenPicture)
{
    qxtest::ScratchDir dir;
    for (const std::string& path : {TwoPictures(), CoverFirst()}) {
        SCOPED_TRACE(path);
        const std::string out = dir.Path("out.wmv");
        QProcess convert;
        convert.start(QStringLiteral(QX_BIN_DIR "/qxconvert"), {QString::fromStdString(path), QString::fromStdString(out)});
        ASSERT_TRUE(convert.waitForFinished(60000));
        ASSERT_EQ(convert.exitCode(), 0) << convert.readAllStandardError().toStdString();
        const QImage first = qxtest::FirstPicture(out);
        ASSERT_FALSE(first.isNull());
        const QColor middle = first.pixelColor(first.width() / 2, first.height() / 2);
        EXPECT_GT(middle.blue(), 150);
        EXPECT_LT(middle.red(), 80);
    }
}

TEST(MediaSource, WhatIsNoSourceIsRefusedAtOnceWithItsReason)
{
    qxtest::ScratchDir dir;
    std::mt19937 random(17);
    std::string garbage(64 * 1024, '\0');
    for (char& ch : garbage)
        ch = char(random());
    qxtest::WriteFile(dir.Path("garbage.wmv"), garbage);
    qxtest::WriteFile(dir.Path("empty.mpg"), "");
    ASSERT_EQ(::mkfifo(dir.Path("pipe.avi").c_str(), 0600), 0);
    QDir().mkpath(QString::fromStdString(dir.Path("folder.VOB")));
    const std::string real = EveryKind()[2].path;
    // A playlist would have FFmpeg open the files it names: only the file asked for is read.
    qxtest::WriteFile(dir.Path("list.m3u8"),
                      "#EXTM3U\n#EXT-X-TARGETDURATION:2\n#EXTINF:2,\n" + real + "\n#EXT-X-ENDLIST\n");
    const std::string sound = qxtest::Media("sound.mp3", "-f lavfi -i sine=duration=1 -c:a libmp3lame");

    struct Case {
        const char* what;
        std::string path;
        OpenStatus status;
    };
    const Case cases[] = {
        {"missing", dir.Path("missing.wmv"), OpenStatus::NotAFile},
        {"folder", dir.Path("folder.VOB"), OpenStatus::NotAFile},
        {"named pipe", dir.Path("pipe.avi"), OpenStatus::NotAFile},  // never waits for a writer
        {"device", "/dev/zero", OpenStatus::NotAFile},                // never read without end
        {"protocol syntax", "concat:" + real + "|" + real, OpenStatus::NotAFile},
        {"web address", "http://127.0.0.1:9/clip.wmv", OpenStatus::NotAFile},
        {"garbage", dir.Path("garbage.wmv"), OpenStatus::Unreadable},
        {"empty", dir.Path("empty.mpg"), OpenStatus::Unreadable},
        {"playlist", dir.Path("list.m3u8"), OpenStatus::Unreadable},
        {"sound only", sound, OpenStatus::NoStreams},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto began = std::chrono::steady_clock::now();
        MediaSource source;
        const OpenStatus status = source.Open(c.path, Quick());
        if (c.status == OpenStatus::Unreadable)  // a playlist may also open with nothing in it
            EXPECT_TRUE(status == OpenStatus::Unreadable || status == OpenStatus::NoStreams) << int(status);
        else
            EXPECT_EQ(status, c.status);
        EXPECT_FALSE(source.Error().empty());
        EXPECT_EQ(source.Format(), nullptr) << "nothing stays open";
        EXPECT_FALSE(platform::player::ProbeDecodableVideo(c.path));
        EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(3));
    }

    // A sound file is a source where only its sound is wanted.
    MediaSource source;
    MediaSource::Options soundOnly = Quick();
    soundOnly.soundOnly = true;
    EXPECT_EQ(source.Open(sound, soundOnly), OpenStatus::Opened);
    EXPECT_EQ(source.Video(), nullptr);
    EXPECT_NE(source.Audio(), nullptr);
}

TEST(MediaSource, TheCallersAbortAndTheDeadlineCutOpeningShort)
{
    const std::string path = EveryKind()[1].path;
    MediaSource source;
    MediaSource::Options options = Quick();
    options.abort = [] { return true; };
    EXPECT_EQ(source.Open(path, options), OpenStatus::Aborted);
    EXPECT_EQ(source.Format(), nullptr);

    options.abort = nullptr;
    options.deadline = std::chrono::milliseconds(0);
    EXPECT_EQ(source.Open(path, options), OpenStatus::TimedOut);
    EXPECT_FALSE(source.Error().empty());

    // The abort keeps watching the reads after opening (past what opening read ahead).
    const std::string longer = qxtest::Media(
        "source-long.mpg", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=30 -c:v mpeg2video -q:v 5 -f mpeg");
    const auto packets = [&](std::atomic<bool>& stop, bool stopAtOnce) {
        options = Quick();
        options.abort = [&] { return stop.load(); };
        EXPECT_EQ(source.Open(longer, options), OpenStatus::Opened);
        stop = stopAtOnce;
        AVPacket* packet = av_packet_alloc();
        int n = 0;
        while (av_read_frame(source.Format(), packet) >= 0) {
            av_packet_unref(packet);
            ++n;
        }
        av_packet_free(&packet);
        return n;
    };
    std::atomic<bool> never{false}, now{false};
    const int whole = packets(never, false);
    EXPECT_LT(packets(now, true), whole / 2) << "cut short long before the end of the file";
}

}  // namespace
