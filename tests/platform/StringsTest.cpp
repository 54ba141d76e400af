#include "platform/Strings.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Strings, Utf8AndUtf16RoundTrip)
{
    const std::string text = "C:/Vid\xC3\xA9os/\xE6\x97\xA5\xE6\x9C\xAC/\xF0\x9F\x8E\xAC.wmv";  // é, 日本, a clapper board
    const std::u16string wide = AnsiToWide(text);
    EXPECT_EQ(wide, u"C:/Vid\u00e9os/\u65e5\u672c/\U0001F3AC.wmv");
    EXPECT_EQ(WideToAnsi(wide), text);
    EXPECT_EQ(AnsiToWide(""), u"");
}

TEST(Strings, InvalidInputBecomesReplacementCharacters)
{
    EXPECT_EQ(AnsiToWide("a\xFF" "b"), u"a\uFFFDb");
    const char16_t loneSurrogate[] = {u'a', 0xD800, u'b', 0};
    EXPECT_EQ(WideToAnsi(loneSurrogate), "a?b");
}

TEST(Strings, CopiesCutBetweenCharacters)
{
    char buf[5];
    EXPECT_EQ(CopyUtf8("abcdef", buf, sizeof buf), 4u);
    EXPECT_STREQ(buf, "abcd");
    EXPECT_EQ(CopyUtf8("ab\xE6\x97\xA5", buf, sizeof buf), 2u);  // the three-byte character does not fit
    EXPECT_STREQ(buf, "ab");
    EXPECT_EQ(WideToAnsi(u"\u00e9\u00e9\u00e9", buf, sizeof buf), 4u);
    EXPECT_STREQ(buf, "\xC3\xA9\xC3\xA9");
    EXPECT_EQ(CopyUtf8("x", nullptr, 4), 0u);
}
