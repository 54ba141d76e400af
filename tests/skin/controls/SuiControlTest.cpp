#include "skin/controls/SuiControl.h"

#include <QWidget>
#include <gtest/gtest.h>

TEST(SuiControl, AcceleratorsAndShownCaptions)
{
    struct Case {
        const char* caption;
        QChar accelerator;
        const char* shown;
    };
    const Case cases[] = {
        {"&Next  >", QChar('N'), "Next  >"},
        {"S&tart", QChar('T'), "Start"},
        {"Fish && Chips", QChar(), "Fish & Chips"},
        {"&&a &b", QChar('B'), "&a b"},
        {"trailing&", QChar(), "trailing"},
        {"", QChar(), ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SuiAccelerator(c.caption), c.accelerator) << c.caption;
        EXPECT_EQ(SuiStripAccelerator(c.caption), c.shown) << c.caption;
    }
}

TEST(SuiControl, LoadedStepsRunWhenTheWindowStands)
{
    QWidget window;
    auto* control = new QWidget(&window);
    int ran = 0;
    SuiOnLoaded(control, [&] { ++ran; });
    EXPECT_EQ(ran, 1) << "outside loading it runs at once";
    {
        SuiLoadingScope loading(&window);
        EXPECT_TRUE(SuiIsLoading(control));
        SuiOnLoaded(control, [&] { ++ran; });
        auto* gone = new QWidget(&window);
        SuiOnLoaded(gone, [&] { ran += 100; });
        delete gone;
        EXPECT_EQ(ran, 1);
    }
    EXPECT_FALSE(SuiIsLoading(control));
    EXPECT_EQ(ran, 2) << "a control deleted meanwhile is skipped";

    // A window destroyed while it loads is forgotten with its steps.
    {
        auto* doomed = new QWidget;
        SuiLoadingScope loading(doomed);
        SuiOnLoaded(new QWidget(doomed), [&] { ran += 1000; });
        delete doomed;
    }
    EXPECT_EQ(ran, 2);
    QWidget next;
    EXPECT_FALSE(SuiIsLoading(&next)) << "even a new window made in its place";
}

TEST(SuiControl, ThemeValuesFollowTheResolvedLook)
{
    EXPECT_EQ(SuiColor(nullptr, Sui::FromThemeFile, SUI_THEME_FORM_BACKGROUND_COLOR),
              GetInsideThemeColor(Sui::DeepBlue, SUI_THEME_FORM_BACKGROUND_COLOR));
    EXPECT_EQ(SuiInt(nullptr, Sui::WinXP, SUI_THEME_FORM_BORDERWIDTH_INT), 3);
    EXPECT_TRUE(SuiBool(nullptr, Sui::BlueGlass, SUI_THEME_BUTTON_TRANSPARENT_BOOL));
    QImage frame;
    SuiBitmap(nullptr, Sui::MacOS, SUI_THEME_BUTTON_IMAGE, &frame, 3, 2);
    EXPECT_EQ(frame.size(), QSize(84, 23));
}

TEST(SuiControl, AFileThemeThatGoesAwayIsForgotten)
{
    int told = 0;
    SuiFileThemeRef ref([&] { ++told; });
    auto* theme = new TsuiFileTheme;
    ref.Set(theme);
    EXPECT_EQ(ref.Get(), theme);
    delete theme;
    EXPECT_EQ(ref.Get(), nullptr);
    EXPECT_EQ(told, 1);
}
