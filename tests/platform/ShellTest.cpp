#include "platform/Shell.h"

#include "TestSupport.h"

#include <gtest/gtest.h>
#include <vector>

using namespace platform;

namespace {

struct Recorder {
    std::vector<QUrl> urls;
    bool answer = true;
    ShellOpenHandler Handler()
    {
        return [this](const QUrl& url) {
            urls.push_back(url);
            return answer;
        };
    }
};

TEST(ShellExecute, HandsTheExactPathToTheDesktop)
{
    Recorder rec;
    auto guard = qxtest::Guard(SetShellOpenHandler, rec.Handler());
    // Nothing in the name is interpreted: no shell ever sees it.
    const char* path = "/tmp/a b/it's \"x\"; rm -rf $HOME `id` #1?.wmv";
    EXPECT_GT(ShellExecuteA(nullptr, "open", path, "", "", SW_SHOW), 32);
    ASSERT_EQ(rec.urls.size(), 1u);
    EXPECT_TRUE(rec.urls[0].isLocalFile());
    EXPECT_EQ(rec.urls[0].toLocalFile().toStdString(), path);
}

TEST(ShellExecute, TargetsBecomeUrls)
{
    struct Case {
        const char* target;
        const char* url;
    };
    const Case cases[] = {
        {"file:///home/me/My Videos/", "file:///home/me/My%20Videos/"},
        {"file:///srv/a#b/", "file:///srv/a%23b/"},
        {"https://example.org/need?x=1", "https://example.org/need?x=1"},
        {"mailto:help@example.org", "mailto:help@example.org"},
        {"/opt/qx/qxhelp.chm", "file:///opt/qx/qxhelp.chm"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShellTargetToUrl(c.target).toString(QUrl::FullyEncoded).toStdString(), c.url) << c.target;
    EXPECT_TRUE(ShellTargetToUrl("relative/name.wmv").toLocalFile().startsWith('/'));
}

TEST(ShellExecute, ReportsWhatTheDesktopSaidAndRefusesOtherVerbs)
{
    Recorder rec;
    rec.answer = false;
    auto guard = qxtest::Guard(SetShellOpenHandler, rec.Handler());
    EXPECT_LE(ShellExecuteA(nullptr, "open", "/x", "", "", SW_SHOW), 32);
    EXPECT_EQ(ShellExecuteA(nullptr, "print", "/x", "", "", SW_SHOW), SE_ERR_NOASSOC);
    EXPECT_EQ(ShellExecuteA(nullptr, "open", "", "", "", SW_SHOW), SE_ERR_FNF);
    EXPECT_EQ(rec.urls.size(), 1u);
}

}  // namespace
