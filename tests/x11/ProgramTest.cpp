// The program as a user starts it: from a folder of its own, closed by the window manager.
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

// xdotool's answer, or an empty string when it failed.
QString Xdo(const QStringList& args)
{
    QProcess xdo;
    xdo.start("xdotool", args);
    if (!xdo.waitForFinished(20000) || xdo.exitCode() != 0)
        return {};
    return QString::fromUtf8(xdo.readAllStandardOutput()).trimmed();
}

// Waits for the program's window, closes it as the window manager's close does, and
// expects the program to end with code 0.
void CloseByTheWindowManager(QProcess& program)
{
    const QString window = Xdo({"search", "--sync", "--name", "Convert video files to Pocket PC"});
    ASSERT_FALSE(window.isEmpty()) << "no window";
    // A key that reaches the window manager before it has made the window its active one
    // is lost, so the close is asked again until the program has gone.
    for (int attempt = 0; attempt < 5 && program.state() != QProcess::NotRunning; ++attempt) {
        Xdo({"windowactivate", "--sync", window.section('\n', 0, 0)});
        Xdo({"key", "alt+F4"});
        program.waitForFinished(2000);
    }
    ASSERT_EQ(program.state(), QProcess::NotRunning) << "still running";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

TEST(Program, RunsFromAnyFolderAndTheWindowManagersCloseEndsItWithCodeZero)
{
    qxtest::ScratchDir dir;
    // The program and the files it keeps beside itself, copied elsewhere.
    const QDir bin(QStringLiteral(QX_BIN_DIR));
    QStringList files = bin.entryList({"QXProf*.prx"});
    files << "quorlantix" << "media/libqxmedia.so" << "qxhelp.html";
    ASSERT_TRUE(QDir(QString::fromStdString(dir.Path(""))).mkdir("media"));
    for (const QString& name : files)
        ASSERT_TRUE(QFile::copy(bin.filePath(name), QString::fromStdString(dir.Path(name.toStdString()))))
            << name.toStdString();
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QString::fromStdString(dir.Path("quorlantix")), {});
    ASSERT_TRUE(program.waitForStarted(5000));
    CloseByTheWindowManager(program);
    EXPECT_EQ(qxtest::ReadFile(dir.Path("norvane.ini")), "[Quorlantix]\r\nSkinType=3\r\nQuality=2\r\n")
        << "the settings beside the program";
}

TEST(Program, TheInstalledLauncherStartsItWithAFileAndItKeepsItsSettingsBesideItself)
{
    qxtest::ScratchDir dir;
    const std::string prefix = dir.Path("prefix");
    QProcess install;
    install.start("cmake", {"--install", QStringLiteral(QX_BIN_DIR "/.."), "--prefix", QString::fromStdString(prefix)});
    ASSERT_TRUE(install.waitForFinished(60000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
    const std::string clip = dir.Path("clip.mpg");
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-nostdin", "-v", "error", "-f", "lavfi", "-i", "testsrc2=size=320x240:duration=1", "-f",
                            "mpeg", QString::fromStdString(clip)});
    ASSERT_TRUE(ffmpeg.waitForFinished(60000));

    // Started as the desktop entry starts it: the launcher, with the file to convert.
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.setWorkingDirectory("/");
    program.start(QString::fromStdString(prefix + "/bin/quorlantix"), {QString::fromStdString(clip)});
    ASSERT_TRUE(program.waitForStarted(5000));
    CloseByTheWindowManager(program);
    EXPECT_EQ(qxtest::ReadFile(prefix + "/lib/quorlantix/norvane.ini"), "[Quorlantix]\r\nSkinType=3\r\nQuality=2\r\n")
        << "the settings beside the installed program, which may write there";
}

}  // namespace
