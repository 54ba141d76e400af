#include "platform/PrivateProfile.h"

#include "TestSupport.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;
using qxtest::ReadFile;
using qxtest::WriteFile;

namespace {

struct ReadCase {
    const char* name;
    const char* file;  // null: no file at all
    const char* section;
    const char* key;
    int expected;
};

const ReadCase kReadCases[] = {
    {"missing file gives default", nullptr, "S", "K", 9},
    {"missing section gives default", "[T]\r\nK=1\r\n", "S", "K", 9},
    {"missing key gives default", "[S]\r\nJ=1\r\n", "S", "K", 9},
    {"plain value", "[S]\r\nK=42\r\n", "S", "K", 42},
    {"names without regard to case", "[s]\r\nk=5\r\n", "S", "K", 5},
    {"blanks around names and values", "  [ S ]  \r\n  K  =  7  \r\n", "S", "K", 7},
    {"first duplicate section wins", "[S]\r\nJ=1\r\n[S]\r\nK=2\r\n", "S", "K", 9},
    {"first duplicate key wins", "[S]\r\nK=1\r\nK=2\r\n", "S", "K", 1},
    {"comment line is no key", "[S]\r\n;K=3\r\n", "S", "K", 9},
    {"LF line ends", "[S]\nJ=1\nK=4\n", "S", "K", 4},
    {"CR line ends", "[S]\rJ=1\rK=4\r", "S", "K", 4},
    {"last line without line end", "[S]\r\nK=12", "S", "K", 12},
    {"lines before the first section ignored", "K=1\r\n[S]\r\n", "S", "K", 9},
    {"key of an earlier section not seen", "[T]\r\nK=1\r\n[S]\r\n", "S", "K", 9},
    {"leading digits only", "[S]\r\nK=12abc\r\n", "S", "K", 12},
    {"no leading digit reads 0", "[S]\r\nK=abc\r\n", "S", "K", 0},
    {"minus sign", "[S]\r\nK=-5\r\n", "S", "K", -5},
    {"plus sign", "[S]\r\nK=+6\r\n", "S", "K", 6},
    {"wraps to 32 bits", "[S]\r\nK=4294967297\r\n", "S", "K", 1},
    {"empty value gives default", "[S]\r\nK=\r\n", "S", "K", 9},
    {"key without '=' gives default", "[S]\r\nK\r\n", "S", "K", 9},
    {"quotes removed", "[S]\r\nK=\"8\"\r\n", "S", "K", 8},
    {"section header without ']' starts no section", "[S\r\nK=3\r\n", "S", "K", 9},
    {"nor does it end the section before", "[S]\r\n[T\r\nK=3\r\n", "S", "K", 3},
    {"a UTF-8 byte-order mark before the first section", "\xEF\xBB\xBF[S]\r\nK=6\r\n", "S", "K", 6},
};

TEST(ProfileRead, ReadsIntegersAsThePlatformDoes)
{
    for (const ReadCase& c : kReadCases) {
        SCOPED_TRACE(c.name);
        qxtest::ScratchDir dir;
        const std::string path = dir.Path("t.ini");
        if (c.file)
            WriteFile(path, c.file);
        EXPECT_EQ(int(GetPrivateProfileIntA(c.section, c.key, 9, path.c_str())), c.expected);
    }
}

struct WriteCase {
    const char* name;
    const char* before;  // null: no file
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

const WriteCase kWriteCases[] = {
    {"creates file and section", nullptr, "S", "K", "1", "[S]\r\nK=1\r\n"},
    {"appends section after a blank line", "[T]\r\nA=1\r\n", "S", "K", "1", "[T]\r\nA=1\r\n\r\n[S]\r\nK=1\r\n"},
    {"appends section to a file without last line end", "[T]\r\nA=1", "S", "K", "1", "[T]\r\nA=1\r\n\r\n[S]\r\nK=1\r\n"},
    {"lines added to an LF file end in LF", "[T]\nA=1", "S", "K", "1", "[T]\nA=1\n\n[S]\nK=1\n"},
    {"a byte-order mark stays and its section is found", "\xEF\xBB\xBF[S]\r\nK=1\r\n", "S", "K", "2",
     "\xEF\xBB\xBF[S]\r\nK=2\r\n"},
    {"replaces in place keeping spelling and blanks", "; c\n[s]\n  skintype = 7  \nQ=2\n", "S", "SkinType", "3",
     "; c\n[s]\n  skintype = 3\nQ=2\n"},
    {"new key after the last key of its section", "[S]\r\nA=1\r\n\r\n; note\r\n[T]\r\nB=2\r\n", "S", "K", "5",
     "[S]\r\nA=1\r\nK=5\r\n\r\n; note\r\n[T]\r\nB=2\r\n"},
    {"new key in a section without keys", "[S]\n; only a comment\n", "S", "K", "5",
     "[S]\nK=5\n; only a comment\n"},
    {"first of duplicate keys replaced", "[S]\nK=1\nK=2\n", "S", "K", "9", "[S]\nK=9\nK=2\n"},
    {"key of the first duplicate section", "[S]\nA=1\n[S]\nK=2\n", "S", "K", "9", "[S]\nA=1\nK=9\n[S]\nK=2\n"},
    {"bare key gets its value", "[S]\nK\n", "S", "K", "4", "[S]\nK=4\n"},
    {"null value deletes the key", "[S]\nA=1\nK=2\nB=3\n", "S", "K", nullptr, "[S]\nA=1\nB=3\n"},
    {"null key deletes the section", "[T]\nA=1\n[S]\nK=2\n[U]\nB=3\n", "S", nullptr, nullptr, "[T]\nA=1\n[U]\nB=3\n"},
    {"lines before the first section kept", "loose line\r\n", "S", "K", "1", "loose line\r\n\r\n[S]\r\nK=1\r\n"},
};

TEST(ProfileWrite, ChangesOnlyTheLinesItMust)
{
    for (const WriteCase& c : kWriteCases) {
        SCOPED_TRACE(c.name);
        qxtest::ScratchDir dir;
        const std::string path = dir.Path("t.ini");
        if (c.before)
            WriteFile(path, c.before);
        ASSERT_TRUE(WritePrivateProfileStringA(c.section, c.key, c.value, path.c_str()));
        EXPECT_EQ(ReadFile(path), c.after);
        EXPECT_EQ(dir.Entries(), QStringList{"t.ini"}) << "no temporary file stays behind";
    }
}

TEST(ProfileWrite, RefusesNamesAndValuesThatWouldBreakTheFile)
{
    qxtest::ScratchDir dir;
    const std::string path = dir.Path("t.ini");
    const std::string original = "[S]\r\nK=1\r\n";
    WriteFile(path, original);
    EXPECT_FALSE(WritePrivateProfileStringA("S", "K", "1\r\n[X]", path.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringA("S", "A=B", "1", path.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringA("S]x", "K", "1", path.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringA("", "K", "1", path.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringA("S", "  ", "1", path.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringA(nullptr, "K", "1", path.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringA("S", "K", "1", nullptr));
    EXPECT_EQ(ReadFile(path), original);
}

TEST(ProfileWrite, FailsWithoutChangingAnythingWhereItCannotWrite)
{
    qxtest::ScratchDir dir;
    // A missing folder, a folder no one can create files in, and a path that is a folder.
    EXPECT_FALSE(WritePrivateProfileStringA("S", "K", "1", dir.Path("missing/t.ini").c_str()));
    EXPECT_FALSE(qxtest::Exists(dir.Path("missing")));
    EXPECT_FALSE(WritePrivateProfileStringA("S", "K", "1", "/proc/self/qx-test.ini"));
    ASSERT_EQ(::mkdir(dir.Path("folder.ini").c_str(), 0755), 0);
    EXPECT_FALSE(WritePrivateProfileStringA("S", "K", "1", dir.Path("folder.ini").c_str()));
    EXPECT_EQ(dir.Entries(), QStringList{"folder.ini"});
}

bool ReadOnlyFolderAndFileRefuseTheWrite()
{
    qxtest::ScratchDir dir;
    const std::string folder = dir.Path("ro");
    const std::string path = folder + "/t.ini";
    if (::mkdir(folder.c_str(), 0755) != 0)
        return false;
    qxtest::WriteFile(path, "[S]\nK=1\n");
    ::chmod(folder.c_str(), 0555);
    const bool folderRefused = !WritePrivateProfileStringA("S", "K", "2", path.c_str());
    ::chmod(folder.c_str(), 0755);
    ::chmod(path.c_str(), 0444);
    const bool fileRefused = !WritePrivateProfileStringA("S", "K", "2", path.c_str());
    return folderRefused && fileRefused && ReadFile(path) == "[S]\nK=1\n";
}

TEST(ProfileWrite, ReadOnlyFolderAndFileAreLeftAlone)
{
    if (!qxtest::PermissionsIgnored()) {
        EXPECT_TRUE(ReadOnlyFolderAndFileRefuseTheWrite());
        return;
    }
    if (::geteuid() != 0)
        GTEST_SKIP() << "file permissions do not bind this user";
    // Root ignores write bits: check as an ordinary user in a child process.
    EXPECT_EXIT(
        {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                std::_Exit(3);
            std::_Exit(ReadOnlyFolderAndFileRefuseTheWrite() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(ProfileWrite, KeepsModeAndWritesThroughLinks)
{
    qxtest::ScratchDir dir;
    const std::string target = dir.Path("real.ini");
    const std::string link = dir.Path("link.ini");
    WriteFile(target, "[S]\nK=1\n");
    ::chmod(target.c_str(), 0640);
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    ASSERT_TRUE(WritePrivateProfileStringA("S", "K", "2", link.c_str()));
    struct stat st {};
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadFile(target), "[S]\nK=2\n");
}

TEST(ProfileString, CopiesValueOrDefaultCutAtACharacter)
{
    qxtest::ScratchDir dir;
    const std::string path = dir.Path("t.ini");
    WriteFile(path, "[S]\r\nName = 'quoted' \r\nWide=\xC3\xA9\xC3\xA9\r\n");
    char buf[8];
    EXPECT_EQ(GetPrivateProfileStringA("S", "name", "d", buf, sizeof buf, path.c_str()), 6u);
    EXPECT_STREQ(buf, "quoted");
    EXPECT_EQ(GetPrivateProfileStringA("S", "none", "dflt", buf, sizeof buf, path.c_str()), 4u);
    EXPECT_STREQ(buf, "dflt");
    char small[4];  // room for one two-byte character, not two
    EXPECT_EQ(GetPrivateProfileStringA("S", "Wide", "", small, sizeof small, path.c_str()), 2u);
    EXPECT_STREQ(small, "\xC3\xA9");
    EXPECT_EQ(GetPrivateProfileStringA("S", "name", "d", buf, 0, path.c_str()), 0u);
}

}  // namespace
