#include "app/Settings.h"

#include "TestSupport.h"

#include <QCoreApplication>
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

}  // namespace
