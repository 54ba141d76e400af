#include "common/misc/WinUtil.h"

#include "platform/Module.h"
#include "platform/Shell.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <vector>

TEST(WinUtil, ModuleDirIsTheExecutablesFolderWithTrailingSlash)
{
    char dir[platform::MAX_PATH];
    ASSERT_EQ(GetModuleDir(nullptr, dir), 1);
    EXPECT_EQ(std::string(dir), QCoreApplication::applicationDirPath().toStdString() + "/");
    EXPECT_EQ(GetModuleDir(nullptr, nullptr), 0);
}

TEST(WinUtil, PathSplittingTakesBothSeparators)
{
    const auto win = platform::SplitPath("D:\\Tools\\Conv\\qx.exe");
    EXPECT_EQ(win.drive + win.dir, "D:\\Tools\\Conv\\");
    EXPECT_EQ(win.fname, "qx");
    EXPECT_EQ(win.ext, ".exe");
    const auto unix = platform::SplitPath("/home/me/clip.v1.wmv");
    EXPECT_EQ(unix.drive, "");
    EXPECT_EQ(unix.dir, "/home/me/");
    EXPECT_EQ(unix.fname, "clip.v1");
    EXPECT_EQ(unix.ext, ".wmv");
    const auto bare = platform::SplitPath("name");
    EXPECT_EQ(bare.dir, "");
    EXPECT_EQ(bare.fname, "name");
    EXPECT_EQ(bare.ext, "");
}

TEST(WinUtil, ShellOpenAsksTheDesktopOnlyForANonEmptyTarget)
{
    std::vector<QUrl> opened;
    auto guard = qxtest::Guard(platform::SetShellOpenHandler, platform::ShellOpenHandler([&](const QUrl& url) {
        opened.push_back(url);
        return false;  // a failure of the desktop is not reported
    }));
    EXPECT_EQ(ShellOpen(""), 0);
    EXPECT_EQ(ShellOpen(nullptr), 0);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(ShellOpen("file:///home/me/My Videos/"), 1);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].toLocalFile(), "/home/me/My Videos/");
}
