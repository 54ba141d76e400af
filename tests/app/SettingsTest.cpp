#include "app/Places.h"
#include "app/Settings.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <cstring>
#include <gtest/gtest.h>

using qxtest::ReadFile;
using qxtest::WriteFile;

namespace {

ConversionJob ZeroedJob()
{
    ConversionJob job;
    std::memset(&job, 0, sizeof job);
    return job;
}

// One run of the program as far as the settings go: load at start, save at exit.
ConversionJob LoadAndSave(const std::string& path, int newSkin = 0, int newQuality = 0)
{
    ConversionJob job = ZeroedJob();
    settings::Load(job, path);
    ConversionJob seen = job;
    if (newSkin)
        job.skinType = newSkin;
    if (newQuality)
        job.quality = newQuality;
    settings::Save(job, path);
    return seen;
}

TEST(Settings, FirstRunGivesDefaultsAndCreatesTheFile)
{
    qxtest::ScratchDir dir;
    const std::string path = dir.Path("norvane.ini");
    const ConversionJob seen = LoadAndSave(path);
    EXPECT_EQ(seen.skinType, 3);
    EXPECT_EQ(seen.quality, 2);
    EXPECT_EQ(ReadFile(path), "[Quorlantix]\r\nSkinType=3\r\nQuality=2\r\n");
}

TEST(Settings, ValuesReadAreWrittenBackUnchanged)
{
    qxtest::ScratchDir dir;
    const std::string path = dir.Path("norvane.ini");
    WriteFile(path, "[Quorlantix]\r\nSkinType=abc\r\nQuality=7\r\n");
    const ConversionJob seen = LoadAndSave(path);
    EXPECT_EQ(seen.skinType, 0);
    EXPECT_EQ(seen.quality, 7);
    EXPECT_EQ(ReadFile(path), "[Quorlantix]\r\nSkinType=0\r\nQuality=7\r\n");
}

TEST(Settings, OtherLinesSurviveASaveByteForByte)
{
    qxtest::ScratchDir dir;
    const std::string path = dir.Path("norvane.ini");
    const std::string head = "; written by hand\n[Window]\nLeft=10\n\n";
    const std::string tail = "\n[Recent]\nFile1=/home/me/a b.avi\n";
    WriteFile(path, head + "[quorlantix]\nskintype = 1\nQuality=3\n" + tail);

    LoadAndSave(path);
    EXPECT_EQ(ReadFile(path), head + "[quorlantix]\nskintype = 1\nQuality=3\n" + tail);

    const ConversionJob seen = LoadAndSave(path, 5, 1);
    EXPECT_EQ(seen.skinType, 1);
    EXPECT_EQ(seen.quality, 3);
    EXPECT_EQ(ReadFile(path), head + "[quorlantix]\nskintype = 5\nQuality=1\n" + tail);
}

TEST(Settings, AFailedSaveIsSilentAndTheNextRunReadsTheOldFile)
{
    qxtest::ScratchDir dir;
    const std::string path = dir.Path("gone/norvane.ini");
    const ConversionJob seen = LoadAndSave(path, 4, 1);
    EXPECT_EQ(seen.skinType, 3);
    EXPECT_FALSE(qxtest::Exists(path));
}

TEST(Settings, FileLiesBesideTheProgram)
{
    EXPECT_EQ(settings::FilePath(), QCoreApplication::applicationDirPath().toStdString() + "/norvane.ini");
}

// An installed copy: the program's folder belongs to the system. /proc takes no new files
// whoever asks, so it stands in for a folder the user cannot write.
TEST(Settings, AProgramFolderThatCannotBeWrittenSendsFilesToTheUsersFolders)
{
    QStandardPaths::setTestModeEnabled(true);
    qxtest::ScratchDir dir;
    const std::string writable = dir.Path();
    EXPECT_TRUE(places::CanWriteIn(writable));
    EXPECT_TRUE(dir.Entries().isEmpty()) << "the probe leaves nothing behind";
    for (const std::string& closed : {std::string("/proc/"), dir.Path("missing/")})
        EXPECT_FALSE(places::CanWriteIn(closed)) << closed;

    EXPECT_EQ(places::DefaultOutputFile(writable), writable + "output.wmv");
    EXPECT_EQ(places::SettingsFile(writable, "norvane.ini"), writable + "norvane.ini");
    // The package's copy under /usr, even for root who may write there.
    EXPECT_FALSE(places::KeepsFilesBesideItself("/usr/lib/quorlantix/"));

    const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    EXPECT_EQ(places::DefaultOutputFile("/proc/"), QDir::cleanPath(videos).toStdString() + "/output.wmv");
    EXPECT_TRUE(QDir(videos).exists()) << "made for the user";
    const std::string config = places::SettingsFile("/proc/", "norvane.ini");
    EXPECT_EQ(config, QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).toStdString() +
                          "/norvane.ini");
    // Written there and read from there next time.
    LoadAndSave(config, 5, 1);
    const ConversionJob next = LoadAndSave(places::SettingsFile("/proc/", "norvane.ini"));
    EXPECT_EQ(next.skinType, 5);
    EXPECT_EQ(next.quality, 1);
    QFile::remove(QString::fromStdString(config));
    QStandardPaths::setTestModeEnabled(false);
}

}  // namespace
