#include "skin/FileTheme.h"
#include "skin/SuiError.h"
#include "skin/ThemeManager.h"

#include "StandIns.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

struct Window {
    QWidget form;
    TsuiThemeManager* manager = new TsuiThemeManager(&form);
    TsuiStandIn* frame = new TsuiStandIn(&form, "sfSkin");
    QWidget* panel = new QWidget(&form);
    TsuiStandIn* ok = new TsuiStandIn(panel, "sbtnOK");  // nested: still the window's
    TsuiStandIn* third = new TsuiStandIn(&form, "sbtnThird");
    Window() { manager->SetList({"sfSkin", "sbtnOK", "nobody"}); }
};

TEST(ThemeManager, PutsTheLookOnListedControlsOnly)
{
    Window w;
    QSignalSpy changed(w.manager, &TsuiThemeManager::OnUIStyleChanged);
    w.manager->SetUIStyle(Sui::WinXP);
    EXPECT_EQ(w.frame->UIStyle(), Sui::WinXP);
    EXPECT_EQ(w.ok->UIStyle(), Sui::WinXP);
    EXPECT_EQ(w.third->UIStyle(), Sui::DeepBlue);
    EXPECT_EQ(w.ok->calls, (std::vector<std::string>{"UIStyle", "FileTheme"}));
    EXPECT_EQ(changed.count(), 1);

    w.manager->SetUIStyle(Sui::WinXP);  // the same again: applied again, no event
    EXPECT_EQ(w.ok->calls.size(), 4u);
    EXPECT_EQ(changed.count(), 1);

    TsuiFileTheme theme;
    w.manager->SetFileTheme(&theme);
    EXPECT_EQ(w.frame->FileTheme(), &theme);
    EXPECT_EQ(changed.count(), 1);
}

TEST(ThemeManager, APageWithAManagerOfItsOwnKeepsItsControls)
{
    Window w;
    // A page shown inside the window, with its own manager and a control of the same name
    // made before the window's own.
    auto* page = new QWidget(w.panel);
    auto* pageManager = new TsuiThemeManager(page);
    auto* pageClose = new TsuiStandIn(page, "sbtnClose");
    auto* close = new TsuiStandIn(&w.form, "sbtnClose");
    w.manager->SetList({"sbtnClose"});
    pageManager->SetList({"sbtnClose"});
    w.manager->SetUIStyle(Sui::WinXP);
    EXPECT_EQ(close->UIStyle(), Sui::WinXP);
    EXPECT_EQ(pageClose->UIStyle(), Sui::DeepBlue);
    pageManager->SetUIStyle(Sui::Protein);
    EXPECT_EQ(pageClose->UIStyle(), Sui::Protein);
    EXPECT_EQ(close->UIStyle(), Sui::WinXP);
}

TEST(ThemeManager, ADeletedControlLeavesTheList)
{
    Window w;
    delete w.ok;
    EXPECT_EQ(w.manager->CompList(), (QStringList{"sfSkin", "nobody"}));
    w.manager->SetUIStyle(Sui::Protein);
    EXPECT_EQ(w.frame->UIStyle(), Sui::Protein);
}

TEST(ThemeManager, AListedComponentWithoutTheLookRaisesAndStopsThere)
{
    Window w;
    auto* bare = new QWidget(&w.form);
    bare->setObjectName("bare");
    w.manager->SetList({"sfSkin", "bare", "sbtnOK"});
    try {
        w.manager->SetUIStyle(Sui::MacOS);
        FAIL() << "no error";
    } catch (const ESuiError& e) {
        EXPECT_STREQ(e.what(), "Property UIStyle does not exist");
    }
    EXPECT_EQ(w.frame->UIStyle(), Sui::MacOS);
    EXPECT_EQ(w.ok->UIStyle(), Sui::DeepBlue) << "those after it keep their look";
    EXPECT_TRUE(bare->dynamicPropertyNames().isEmpty()) << "no property is made up";
}

TEST(ThemeManager, LosingItsFileThemeFallsBackQuietly)
{
    Window w;
    auto* theme = new TsuiFileTheme;
    w.manager->SetFileTheme(theme);
    w.manager->SetUIStyle(Sui::FromThemeFile);
    QSignalSpy changed(w.manager, &TsuiThemeManager::OnUIStyleChanged);
    const auto before = w.ok->calls.size();
    delete theme;
    EXPECT_EQ(w.manager->FileTheme(), nullptr);
    EXPECT_EQ(w.manager->UIStyle(), Sui::DeepBlue);
    EXPECT_EQ(w.ok->calls.size(), before) << "no update";
    EXPECT_EQ(changed.count(), 0);
}

TEST(ThemeManager, WithoutAWindowItUpdatesNothing)
{
    TsuiThemeManager loose;
    loose.SetList({"anything"});
    loose.SetUIStyle(Sui::MacOS);
    EXPECT_EQ(loose.UIStyle(), Sui::MacOS);
}

}  // namespace
