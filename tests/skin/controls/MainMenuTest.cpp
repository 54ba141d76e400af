#include "skin/TsuiForm.h"
#include "skin/TsuiFormMenuBar.h"
#include "skin/controls/TsuiMainMenu.h"

#include "WidgetSupport.h"

#include <QMenu>
#include <gtest/gtest.h>

namespace {

TEST(TsuiMainMenu, ItPutsItselfIntoItsWindowsFrameWhichFollowsItsItems)
{
    QWidget form;
    auto* frame = new TsuiForm(&form);
    frame->SetClientSize(QSize(400, 200));
    frame->SetUIStyle(Sui::MacOS);
    auto* menu = new TsuiMainMenu(&form);
    EXPECT_EQ(frame->Menu(), menu);
    EXPECT_EQ(menu->Frame(), frame);
    EXPECT_EQ(menu->UIStyle(), Sui::MacOS) << "it starts in the look of its window's frame";
    menu->AddItem("E&xit", menu->AddSubMenu("&File"));
    menu->AddSubMenu("&Help");
    ASSERT_NE(frame->MenuBar(), nullptr);
    EXPECT_EQ(frame->MenuBar()->ButtonCount(), 2);

    frame->SetUIStyle(Sui::WinXP);
    EXPECT_EQ(menu->UIStyle(), Sui::WinXP);
    EXPECT_EQ(menu->MenuItemHeight(), 21);

    // A font of its own widens the bar's buttons.
    const int width = frame->MenuBar()->ButtonRect(0).width();
    menu->SetFontName(QStringLiteral("DejaVu Sans"));
    menu->SetFontSize(20);
    menu->SetUseSystemFont(false);
    EXPECT_GT(frame->MenuBar()->ButtonRect(0).width(), width);

    auto* other = new TsuiMainMenu(&form);
    frame->SetMenu(other);
    EXPECT_EQ(menu->Frame(), nullptr) << "told that the frame no longer shows it";
    delete other;
    EXPECT_EQ(frame->MenuBar(), nullptr);
}

}  // namespace
