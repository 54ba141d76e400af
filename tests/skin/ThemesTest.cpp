#include "skin/Resources.h"
#include "skin/SuiError.h"
#include "skin/Themes.h"

#include "StandIns.h"
#include "skin/SuiApplication.h"
#include "skin/TsuiForm.h"
#include "WidgetSupport.h"

#include <gtest/gtest.h>
#include <map>

namespace {

TEST(Themes, AccessorsAnswerOnlyForTheirKindInABuiltInLook)
{
    EXPECT_EQ(GetInsideThemeInt(Sui::FromThemeFile, SUI_THEME_TITLEBAR_BUTTON_LEFTOFFSET_INT), -1);
    EXPECT_EQ(GetInsideThemeColor(Sui::FromThemeFile, SUI_THEME_FORM_BACKGROUND_COLOR), 0u);
    EXPECT_FALSE(GetInsideThemeBool(Sui::MacOS, SUI_THEME_FORM_BACKGROUND_COLOR));
    EXPECT_EQ(GetInsideThemeInt(Sui::MacOS, SUI_THEME_FORM_BACKGROUND_COLOR), -1);
    EXPECT_EQ(GetInsideThemeColor(TsuiUIStyle(6), SUI_THEME_FORM_BACKGROUND_COLOR), 0u);
    EXPECT_EQ(GetInsideThemeColor(Sui::WinXP, SUI_THEME_FORM_BORDER_COLOR), 0xC82C00u);
    EXPECT_EQ(GetInsideThemeInt(Sui::BlueGlass, SUI_THEME_FORM_MINWIDTH_INT), 270);
    EXPECT_EQ(GetInsideThemeInt(Sui::MacOS, SUI_THEME_TITLEBAR_BUTTON_RIGHTOFFSET_INT), -2);
    EXPECT_TRUE(GetInsideThemeBool(Sui::Protein, SUI_THEME_TITLEBAR_BUTTON_TRANSPARENT_BOOL));
    EXPECT_TRUE(GetInsideThemeBool(Sui::MacOS, SUI_THEME_BUTTON_TRANSPARENT_BOOL));
    EXPECT_FALSE(GetInsideThemeBool(Sui::WinXP, SUI_THEME_BUTTON_TRANSPARENT_BOOL));
    EXPECT_EQ(GetInsideThemeColor(Sui::DeepBlue, SUI_THEME_MENU_SELECTED_BORDER_COLOR), 0xA04A44u);

    std::map<TsuiEntryKind, int> kinds;
    for (int e = 1; e <= SUI_THEME_ENTRY_COUNT; ++e)
        ++kinds[ThemeEntryKind(e)];
    EXPECT_EQ(kinds[TsuiEntryKind::Picture], 19);
    EXPECT_EQ(kinds[TsuiEntryKind::Color], 15);
    EXPECT_EQ(kinds[TsuiEntryKind::Integer], 6);
    EXPECT_EQ(kinds[TsuiEntryKind::Boolean], 2);
    EXPECT_STREQ(ThemeEntryKeyName(SUI_THEME_SIDECHANNEL_BAR_IMAGE), "SideChannelBarImage");
    EXPECT_STREQ(ThemeEntryKeyName(SUI_THEME_TOOLBAR_BUTTON_DOWN_BACKGROUND_COLOR), "ToolBarButtonDownBackgroundColor");
}

// Every picture entry of every look names a picture of the program with its size.
TEST(Themes, EveryPictureEntryHasItsPictureAtItsSize)
{
    struct Sizes {
        int entry;
        QSize size[5];  // MacOS, WinXP, DeepBlue, Protein, BlueGlass
    };
    const Sizes table[] = {
        {1, {{252, 23}, {54, 21}, {222, 21}, {222, 21}, {231, 27}}},
        {3, {{60, 17}, {52, 13}, {52, 13}, {52, 13}, {52, 13}}},
        {4, {{64, 17}, {52, 13}, {52, 13}, {52, 13}, {52, 13}}},
        {5, {{306, 17}, {378, 21}, {342, 19}, {342, 19}, {342, 19}}},
        {10, {{48, 23}, {35, 29}, {97, 32}, {441, 23}, {162, 33}}},
        {11, {{49, 23}, {37, 29}, {98, 32}, {1, 23}, {179, 33}}},
        {12, {{48, 23}, {35, 29}, {97, 32}, {1, 23}, {101, 33}}},
        {24, {{13, 10}, {6, 10}, {1, 10}, {1, 10}, {1, 10}}},
        {28, {{45, 5}, {45, 8}, {45, 4}, {45, 4}, {45, 4}}},
        {29, {{11, 20}, {11, 21}, {11, 20}, {11, 20}, {11, 20}}},
        {30, {{19, 11}, {22, 11}, {18, 11}, {18, 11}, {18, 11}}},
        {32, {{96, 22}, {96, 17}, {96, 16}, {96, 16}, {102, 16}}},
        {33, {{33, 16}, {21, 16}, {21, 16}, {21, 16}, {21, 16}}},
        {34, {{40, 11}, {44, 11}, {44, 11}, {44, 11}, {44, 11}}},
        {38, {{72, 18}, {72, 18}, {72, 17}, {72, 17}, {72, 17}}},
        {39, {{36, 27}, {18, 18}, {12, 17}, {18, 17}, {18, 17}}},
        {40, {{17, 7}, {8, 1}, {5, 5}, {10, 5}, {10, 5}}},
        {41, {{7, 84}, {8, 86}, {8, 83}, {8, 83}, {8, 86}}},
        {42, {{1, 21}, {1, 21}, {1, 20}, {1, 21}, {1, 21}}},
    };
    for (const Sizes& row : table)
        for (int look = Sui::MacOS; look <= Sui::BlueGlass; ++look) {
            SCOPED_TRACE("entry " + std::to_string(row.entry) + " look " + std::to_string(look));
            QImage picture;
            GetInsideThemeBitmap(TsuiUIStyle(look), row.entry, &picture);
            EXPECT_EQ(picture.size(), row.size[look - 1]);
        }
    EXPECT_STREQ(ThemeEntryResource(Sui::WinXP, SUI_THEME_TITLEBAR_BUTTON_IMAGE), "WINXP_TITLEBTN");
    EXPECT_STREQ(ThemeEntryResource(Sui::BlueGlass, SUI_THEME_TITLEBAR_LEFT_IMAGE), "BLUEGLASS_TITLE_LEFT");
    for (TsuiUIStyle look : {Sui::DeepBlue, Sui::Protein, Sui::BlueGlass})
        EXPECT_STREQ(ThemeEntryResource(look, SUI_THEME_SCROLLBUTTON_IMAGE), "MORE_SCROLLBUTTON");
    EXPECT_STREQ(ThemeEntryResource(Sui::MacOS, SUI_THEME_SCROLLBUTTON_IMAGE), "MACOS_SCROLLBUTTON");
    EXPECT_EQ(ThemeEntryResource(Sui::MacOS, SUI_THEME_FORM_BACKGROUND_COLOR), nullptr);
}

TEST(Themes, FramesAreCutFromThePicture)
{
    QImage whole, close, maximise, restore;
    GetInsideThemeBitmap(Sui::WinXP, SUI_THEME_TITLEBAR_BUTTON_IMAGE, &whole);
    GetInsideThemeBitmap(Sui::WinXP, SUI_THEME_TITLEBAR_BUTTON_IMAGE, &close, 18, 16);
    GetInsideThemeBitmap(Sui::WinXP, SUI_THEME_TITLEBAR_BUTTON_IMAGE, &maximise, 18, 7);
    GetInsideThemeBitmap(Sui::WinXP, SUI_THEME_TITLEBAR_BUTTON_IMAGE, &restore, 18, 10);
    EXPECT_EQ(close.size(), QSize(21, 21));
    EXPECT_EQ(close, whole.copy(15 * 21, 0, 21, 21));
    EXPECT_EQ(maximise, whole.copy(6 * 21, 0, 21, 21));
    EXPECT_EQ(restore, whole.copy(9 * 21, 0, 21, 21));
    EXPECT_NE(maximise, restore);

    // A look without built-in values leaves the bitmap alone, or cuts a frame of nothing.
    QImage kept(3, 3, QImage::Format_RGB32);
    kept.fill(Qt::red);
    QImage bitmap = kept;
    GetInsideThemeBitmap(Sui::FromThemeFile, SUI_THEME_BUTTON_IMAGE, &bitmap);
    EXPECT_EQ(bitmap, kept);
    GetInsideThemeBitmap(Sui::FromThemeFile, SUI_THEME_BUTTON_IMAGE, &bitmap, 3, 1);
    EXPECT_TRUE(bitmap.isNull());
    GetInsideThemeBitmap(Sui::MacOS, SUI_THEME_BUTTON_IMAGE, nullptr);  // nothing to fill
}

TEST(Themes, AMissingPictureRaisesAnErrorNamingIt)
{
    try {
        LoadBitmapResource("NO_SUCH_PICTURE");
        FAIL() << "no error";
    } catch (const ESuiError& e) {
        EXPECT_NE(std::string(e.what()).find("NO_SUCH_PICTURE"), std::string::npos);
    }
    EXPECT_FALSE(HasBitmapResource("NO_SUCH_PICTURE"));
    EXPECT_TRUE(HasBitmapResource("MAINICON"));
}

TEST(Themes, AnErrorRaisedInASlotIsReportedAndGoesNoFurther)
{
    qxtest::MessageBoxRecorder boxes;
    QObject sender;
    QObject::connect(&sender, &QObject::objectNameChanged,
                     [] { SuiGuarded([] { throw ESuiError("Picture MISSING is not there"); }); });
    sender.setObjectName("go");
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].Line(), "Error: Picture MISSING is not there");
}

TEST(Themes, ANewControlTakesTheLookOfItsWindowsFrame)
{
    QWidget window;
    EXPECT_EQ(GetSUIFormStyle(&window), Sui::DeepBlue);
    QWidget panel(&window);
    auto* nested = new TsuiForm(&panel);
    nested->SetUIStyle(Sui::WinXP);
    EXPECT_EQ(GetSUIFormStyle(&window), Sui::DeepBlue) << "a frame inside a panel is not the window's";
    auto* frame = new TsuiForm(&window);
    frame->SetUIStyle(Sui::MacOS);
    EXPECT_EQ(GetSUIFormStyle(&window), Sui::MacOS);
    // Controls are made on the frame, on panels and pages inside it: all take its look.
    auto* page = new QWidget(frame);
    EXPECT_EQ(GetSUIFormStyle(new QWidget(page)), Sui::MacOS);
    EXPECT_EQ(GetSUIFormStyle(&panel), Sui::MacOS) << "the panel lies on the frame's window";
    EXPECT_EQ(GetSUIFormStyle(nullptr), Sui::DeepBlue);
    QObject module;
    EXPECT_EQ(GetSUIFormStyle(&module), Sui::DeepBlue);
}

}  // namespace
