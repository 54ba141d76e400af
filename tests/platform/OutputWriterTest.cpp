// The output writer on its own: the file renamed into place only when complete, and the
// size and time limits, fed with made-up pictures and sound.
#include "platform/wmencoder/OutputWriter.h"

#include "Media.h"
#include "TestSupport.h"

extern "C" {
#include <libavutil/frame.h>
}

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <sys/file.h>
#include <unistd.h>

namespace {

using namespace platform::wmenc;

Profile SmallProfile()
{
    Profile p;
    p.name = "test";
    p.video = {"WMV2", 208, 160, 15, 1, 160000, 3000, 5000, 75};
    p.audio = AudioProfile{"WMA2", 32000, 2, 32000};
    return p;
}

// A writer prepared for the output file, with the run's shared state around it.
struct Writer {
    EngineSettings settings;
    RunStats stats;
    RunControl run;
    std::unique_ptr<OutputWriter> writer;
    std::mt19937 noise{7};
    std::int64_t pictures = 0, samples = 0;

    explicit Writer(const std::string& output, std::int64_t maxBytes = 0, std::int64_t maxMs = 0)
    {
        settings.output = output;
        settings.profile = SmallProfile();
        settings.maxBytes = maxBytes;
        settings.maxMilliseconds = maxMs;
        writer = std::make_unique<OutputWriter>(settings, stats, run);
        std::string text;
        EXPECT_EQ(writer->PrepareFile(text), platform::S_OK) << text;
        EXPECT_EQ(writer->PrepareEncoders(av_make_q(15, 1), true, 0, text), platform::S_OK) << text;
    }

    // Moving pictures with some grain (so the encoder has something to spend bits on)
    // and the sound that goes with them.
    bool PutSecondsWorth(double seconds)
    {
        const std::int64_t until = std::int64_t(std::lround(seconds * 15));
        while (pictures < until && !run.StopRequested()) {
            platform::FramePtr picture(av_frame_alloc());
            picture->format = AV_PIX_FMT_YUV420P;
            picture->width = 208;
            picture->height = 160;
            av_frame_get_buffer(picture.get(), 0);
            for (int plane = 0; plane < 3; ++plane)
                for (int y = 0; y < (plane ? 80 : 160); ++y)
                    for (int x = 0; x < (plane ? 104 : 208); ++x)
                        picture->data[plane][y * picture->linesize[plane] + x] =
                            plane ? std::uint8_t(128 + (x + int(pictures)) % 32)
                                  : std::uint8_t((x + y + 4 * pictures) % 200 + noise() % 24);
            picture->pts = pictures++;
            if (!writer->PutVideo(picture.get()))
                return false;
            const AVCodecContext* audio = writer->AudioEncoder();
            while (samples * 15 < pictures * audio->sample_rate && !run.StopRequested()) {
                platform::FramePtr sound(av_frame_alloc());
                sound->format = AV_SAMPLE_FMT_FLTP;
                sound->sample_rate = audio->sample_rate;
                av_channel_layout_copy(&sound->ch_layout, &audio->ch_layout);
                sound->nb_samples = audio->frame_size;
                av_frame_get_buffer(sound.get(), 0);
                for (int c = 0; c < 2; ++c)
                    for (int i = 0; i < sound->nb_samples; ++i)
                        reinterpret_cast<float*>(sound->data[c])[i] =
                            0.3f * float(std::sin(2 * M_PI * 440.0 * double(samples + i) / audio->sample_rate));
                sound->pts = samples;
                samples += sound->nb_samples;
                if (!writer->PutAudio(sound.get()))
                    return false;
            }
        }
        return true;
    }
};

TEST(OutputWriter, TheFileReplacesTheOutputOnlyWhenComplete)
{
    qxtest::ScratchDir dir;
    const std::string output = dir.Path("out.wmv");
    qxtest::WriteFile(output, "the user's old file");
    {
        Writer w(output);
        const QFileInfo temp(QString::fromStdString(w.writer->TemporaryPath()));
        EXPECT_TRUE(QFileInfo::exists(temp.filePath()));
        EXPECT_TRUE(temp.fileName().startsWith(".out.wmv.")) << "hidden, beside the output";
        EXPECT_EQ(temp.absolutePath(), QDir(QString::fromStdString(dir.Path())).absolutePath());
        ASSERT_TRUE(w.writer->Begin());
        ASSERT_TRUE(w.PutSecondsWorth(1.0));
        EXPECT_EQ(qxtest::ReadFile(output), "the user's old file") << "untouched while the run goes on";
        ASSERT_TRUE(w.writer->Complete());
        EXPECT_TRUE(w.writer->Done());
        EXPECT_FALSE(QFileInfo::exists(temp.filePath()));
        EXPECT_EQ(w.stats.bytes.load(), QFileInfo(QString::fromStdString(output)).size());
    }
    const QJsonObject probe = qxtest::Probe(output);
    EXPECT_EQ(probe["format"].toObject()["format_name"].toString(), "asf");
    EXPECT_NEAR(qxtest::Duration(probe), 1.0, 0.15);
    EXPECT_EQ(qxtest::DecodeErrors(output), "");

    // A run that does not finish leaves no file and the output as it was.
    const std::string before = qxtest::ReadFile(output);
    std::string temp;
    {
        Writer broken(output);
        temp = broken.writer->TemporaryPath();
        ASSERT_TRUE(broken.writer->Begin());
        ASSERT_TRUE(broken.PutSecondsWorth(0.5));
    }
    EXPECT_FALSE(qxtest::Exists(temp));
    EXPECT_EQ(qxtest::ReadFile(output), before);
    EXPECT_EQ(QDir(QString::fromStdString(dir.Path())).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// The hidden files of an output name in its folder.
QStringList TemporaryFiles(const qxtest::ScratchDir& dir)
{
    return QDir(QString::fromStdString(dir.Path())).entryList({".out.wmv.*.part"}, QDir::Files | QDir::Hidden);
}

bool LockedElsewhere(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool locked = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    if (fd >= 0)
        ::close(fd);
    return locked;
}

// A conversion killed on the way (a power cut, kill -9) leaves its temporary file; the
// next run for that output removes it, and leaves the one another run holds.
TEST(OutputWriter, AKilledRunsTemporaryFileGoesWithTheNextRunAndARunningOnesStays)
{
    qxtest::ScratchDir dir;
    const std::string output = dir.Path("out.wmv");
    const std::string source = qxtest::Media(
        "writer-long.mpg", "-f lavfi -i testsrc2=size=640x480:rate=25:duration=60 -c:v mpeg2video -q:v 2");
    QProcess child;
    child.start(QStringLiteral(QX_BIN_DIR "/qxconvert"),
                {QString::fromStdString(source), QString::fromStdString(output), "--screen", "vga", "--quality", "high"});
    ASSERT_TRUE(child.waitForStarted(5000));
    ASSERT_TRUE(qxtest::Eventually([&] { return !TemporaryFiles(dir).isEmpty(); })) << "the run's file";
    const std::string killed = dir.Path(TemporaryFiles(dir).front().toStdString());
    // (Made, then locked a moment later.)
    EXPECT_TRUE(qxtest::Eventually([&] { return LockedElsewhere(killed); })) << "held while the run writes";
    child.kill();
    ASSERT_TRUE(child.waitForFinished(5000));
    ASSERT_TRUE(qxtest::Exists(killed)) << "a killed run cannot clean up";
    EXPECT_FALSE(LockedElsewhere(killed)) << "the system let its lock go";

    // Another conversion of the same output name, running in another program.
    const std::string running = dir.Path(".out.wmv.000001.part");
    qxtest::WriteFile(running, "another run's pictures");
    const int held = ::open(running.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    const std::string unrelated = dir.Path(".out.wmv.notours.part");
    qxtest::WriteFile(unrelated, "the user's");

    Writer next(output);
    EXPECT_FALSE(qxtest::Exists(killed)) << "the killed run's leftover went";
    EXPECT_TRUE(qxtest::Exists(running)) << "a running conversion keeps its file";
    EXPECT_TRUE(qxtest::Exists(unrelated)) << "only the run's own names are touched";
    EXPECT_TRUE(LockedElsewhere(next.writer->TemporaryPath()));
    ::close(held);
}

TEST(OutputWriter, TheSizeLimitHoldsForTheWholeFile)
{
    qxtest::ScratchDir dir;
    const std::string output = dir.Path("small.wmv");
    constexpr std::int64_t kLimit = 40 * 1024;
    Writer w(output, kLimit);
    ASSERT_TRUE(w.writer->Begin());
    ASSERT_TRUE(w.PutSecondsWorth(10.0));
    EXPECT_TRUE(w.run.StopRequested()) << "the limit ends the run";
    const std::int64_t projected = w.writer->ProjectedFileSize(0);
    ASSERT_TRUE(w.writer->Complete());
    const qint64 size = QFileInfo(QString::fromStdString(output)).size();
    EXPECT_LE(size, kLimit) << "header, data and index";
    EXPECT_LE(size, projected) << "the projection is never short of the file";
    EXPECT_GT(size, kLimit * 7 / 10) << "and not far below it";
    EXPECT_LT(qxtest::Duration(qxtest::Probe(output)), 10.0);
    EXPECT_EQ(qxtest::DecodeErrors(output), "");
}

TEST(OutputWriter, TheTimeLimitEndsAtTheLastFrameWithinIt)
{
    qxtest::ScratchDir dir;
    const std::string output = dir.Path("short.wmv");
    Writer w(output, 0, 2000);
    ASSERT_TRUE(w.writer->Begin());
    ASSERT_TRUE(w.PutSecondsWorth(5.0));
    EXPECT_TRUE(w.run.StopRequested());
    ASSERT_TRUE(w.writer->Complete());
    EXPECT_LE(qxtest::PacketSpan(output), 2.001);
    EXPECT_GE(qxtest::Duration(qxtest::Probe(output)), 1.8);
    EXPECT_EQ(qxtest::DecodeErrors(output), "");
}

TEST(OutputWriter, TheFittedRateLowersTheVideoOnlyAsFarAsTheLimitNeeds)
{
    Profile p = SmallProfile();  // 160 kbit/s of video, 32 of sound, 15 pictures a second
    const AVRational fps = av_make_q(15, 1);
    struct Case {
        const char* what;
        std::int64_t maxBytes, ms;
        int low, high;
    } cases[] = {
        {"no limit", 0, 60000, 160000, 160000},
        {"no known length", 2000 * 1024, 0, 160000, 160000},
        {"room to spare", 100 * 1024 * 1024, 60000, 160000, 160000},
        {"a tight limit", 1000 * 1024, 60000, 60000, 100000},
        {"an impossible limit: a third of the profile", 100 * 1024, 60000, 53333, 53334},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int rate = FittedVideoBitrate(p, fps, c.maxBytes, c.ms);
        EXPECT_GE(rate, c.low);
        EXPECT_LE(rate, c.high);
    }
    // What it aims at, with the sound and every overhead, stays under the limit.
    const int rate = FittedVideoBitrate(p, fps, 1000 * 1024, 60000);
    const double bytes = (rate + 32000) / 8.0 * 60;
    EXPECT_LT(bytes, 1000 * 1024 * 0.95);
    EXPECT_GT(bytes, 1000 * 1024 * 0.85);
    // Without sound the pictures get its share.
    p.audio.reset();
    EXPECT_GT(FittedVideoBitrate(p, fps, 1000 * 1024, 60000), rate + 30000);
}

}  // namespace
