// The progress bar: the look's border, background and picture, a fill as long as the
// amount done, and a sweeping block when the amount is not known.
#include "skin/controls/TsuiProgressBar.h"

#include "skin/Themes.h"

#include "WidgetSupport.h"

#include <QImage>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// The columns of a shot whose middle row shows the fill (not the background).
int FilledColumns(const QImage& shot, const QColor& background)
{
    int filled = 0;
    for (int x = 2; x < shot.width() - 2; ++x)
        filled += shot.pixelColor(x, shot.height() / 2) != background;
    return filled;
}

TEST(TsuiProgressBar, EveryLookDrawsItsFrameAndFillsWithItsPicture)
{
    for (const TsuiUIStyle look : qxtest::kLooks) {
        SCOPED_TRACE(qxtest::LookName(look));
        TsuiProgressBar bar;
        bar.resize(204, 14);
        bar.SetUIStyle(look);
        bar.SetMax(1000);
        const QColor border = platform::ToQColor(GetInsideThemeColor(look, SUI_THEME_CONTROL_BORDER_COLOR));
        const QColor background = platform::ToQColor(GetInsideThemeColor(look, SUI_THEME_CONTROL_BACKGROUND_COLOR));
        QImage shot = bar.grab().toImage();
        EXPECT_EQ(shot.pixelColor(0, 0), border);
        EXPECT_EQ(shot.pixelColor(203, 13), border);
        EXPECT_EQ(FilledColumns(shot, background), 0) << "nothing done: no fill";

        bar.SetPosition(500);
        shot = bar.grab().toImage();
        EXPECT_EQ(bar.FillRect(), QRect(2, 2, 100, 10));
        EXPECT_EQ(FilledColumns(shot, background), 100);
        // The fill is the look's picture, row for row (it is 10 rows high, as the fill).
        QImage picture;
        GetInsideThemeBitmap(look, SUI_THEME_PROGRESSBAR_IMAGE, &picture);
        ASSERT_EQ(picture.height(), 10);
        for (int y = 0; y < 10; ++y)
            EXPECT_EQ(shot.pixel(2, 2 + y), picture.pixel(0, y)) << "row " << y;

        bar.SetPosition(5000);
        EXPECT_EQ(bar.Position(), 1000) << "clamped to the maximum";
        EXPECT_EQ(FilledColumns(bar.grab().toImage(), background), 200);
    }
}

TEST(TsuiProgressBar, WithoutAKnownAmountABlockSweepsToAndFro)
{
    TsuiProgressBar bar;
    bar.resize(204, 14);
    bar.SetPosition(70);
    bar.SetMarquee(true);
    std::vector<int> lefts;
    for (int i = 0; i < 80; ++i) {
        const QRect block = bar.FillRect();
        EXPECT_EQ(block.width(), 50) << "a quarter of the bar, whatever the position says";
        EXPECT_GE(block.left(), 2);
        EXPECT_LE(block.right(), 201);
        lefts.push_back(block.left());
        bar.Step();
    }
    EXPECT_EQ(lefts.front(), 2);
    EXPECT_EQ(*std::max_element(lefts.begin(), lefts.end()), 152) << "all the way across";
    EXPECT_EQ(lefts[79], lefts[1]) << "and back";
    bar.SetMarquee(false);
    EXPECT_EQ(bar.FillRect().width(), 140) << "the amount again";
}

}  // namespace
