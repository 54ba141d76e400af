#include "skin/SuiError.h"
#include "skin/controls/TsuiCheckGroup.h"
#include "skin/controls/TsuiRadioGroup.h"
#include "skin/controls/TsuiRadioButton.h"

#include "WidgetSupport.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QStringList kFive = {"One", "Two", "Three", "Four", "Five"};

struct Window : qxtest::TestWindow {
    Window() : TestWindow(QSize(400, 300)) {}
};

}  // namespace

TEST(TsuiCheckGroup, FiveLinesInTwoColumnsFillTheLeftColumnFirst)
{
    TsuiCheckGroup group;
    group.resize(210, 120);
    group.SetColumns(2);
    group.SetItems(kFive);
    ASSERT_EQ(group.Count(), 5);
    const QRect client = group.GetClient();
    const int top = client.top() + group.TopMargin();
    const int available = client.top() + client.height() - top;
    const int rowHeight = available / 3;
    const int firstTop = (available % 3) / 2 + top;
    const int columnWidth = (210 - 10) / 2;
    const QPoint expected[] = {
        {8, firstTop},
        {8, firstTop + rowHeight},
        {8, firstTop + 2 * rowHeight},
        {8 + columnWidth, firstTop},
        {8 + columnWidth, firstTop + rowHeight},
    };
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(group.Item(i)->pos(), expected[i]) << i;
        EXPECT_EQ(group.Item(i)->Caption(), kFive[i]);
        EXPECT_TRUE(group.Item(i)->AutoSize());
        EXPECT_FALSE(group.Item(i)->TabStop());
    }
}

TEST(TsuiCheckGroup, RowsShareTheHeightAndCentreTheRest)
{
    TsuiCheckGroup group;
    group.SetItems({"a", "b", "c"});
    group.show();  // resizes reach a hidden widget only when it is shown
    for (const auto& [available, start] : {std::pair{60, 0}, std::pair{62, 1}}) {
        const int clientTop = group.GetClient().top();
        // client bottom is the height less 2
        group.resize(150, clientTop + group.TopMargin() + available + 2);
        const int top = clientTop + group.TopMargin();
        EXPECT_EQ(group.Item(0)->y(), top + start) << available;
        EXPECT_EQ(group.Item(1)->y() - group.Item(0)->y(), 20) << available;
        EXPECT_EQ(group.Item(2)->y() - group.Item(1)->y(), 20) << available;
    }
    group.SetColumns(0);
    group.SetColumns(-1);
    group.SetTopMargin(-3);
    EXPECT_EQ(group.Columns(), 1);
    EXPECT_EQ(group.TopMargin(), 8);
}

TEST(TsuiCheckGroup, ChangingTheLinesKeepsTheItemsThatStay)
{
    TsuiCheckGroup group;
    group.SetItems({"a", "b", "c"});
    TsuiCheckBox* first = group.Item(0);
    group.SetChecked(0, true);
    group.SetChecked(2, true);
    group.SetItems({"x", "y"});
    EXPECT_EQ(group.Count(), 2);
    EXPECT_EQ(group.Item(0), first);
    EXPECT_TRUE(group.Checked(0));
    EXPECT_EQ(group.Item(0)->Caption(), "x");
    EXPECT_FALSE(group.Checked(2));
    EXPECT_FALSE(group.Checked(5)) << "outside the items";
    EXPECT_FALSE(group.ItemEnabled(-1));
    EXPECT_THROW(group.SetChecked(5, true), ESuiError);
    group.SetItemEnabled(1, false);
    EXPECT_FALSE(group.ItemEnabled(1));
}

TEST(TsuiCheckGroup, OnClickForEveryItemChangeButNotWhileLoading)
{
    Window window;
    auto* group = new TsuiCheckGroup(&window.widget);
    auto* radios = new TsuiRadioGroup(&window.widget);
    group->SetItems({"a", "b"});
    radios->SetItems({"a", "b", "c"});
    int checks = 0, selections = 0;
    QObject::connect(group, &TsuiCheckGroup::OnClick, [&] { ++checks; });
    QObject::connect(radios, &TsuiCheckGroup::OnClick, [&] { ++selections; });

    group->SetChecked(0, true);
    group->SetChecked(0, false);
    group->Item(1)->Click();
    EXPECT_EQ(checks, 3);

    radios->SetItemIndex(0);
    radios->Item(2)->Click();
    EXPECT_EQ(selections, 2) << "only the newly checked item counts";
    EXPECT_EQ(radios->ItemIndex(), 2);

    {
        SuiLoadingScope loading(&window.widget);
        group->SetChecked(0, true);
        radios->SetItemIndex(1);
    }
    EXPECT_EQ(checks, 3);
    EXPECT_EQ(selections, 2);
}

TEST(TsuiRadioGroup, ItemIndexRules)
{
    TsuiRadioGroup group;
    group.SetItems({"High", "Medium", "Low"});
    EXPECT_EQ(group.ItemIndex(), -1);
    group.SetItemIndex(1);
    EXPECT_EQ(group.ItemIndex(), 1);
    group.SetItemIndex(2);
    EXPECT_EQ(group.ItemIndex(), 2);
    EXPECT_FALSE(group.Checked(1));
    group.SetItemIndex(7);
    group.SetItemIndex(-2);
    EXPECT_EQ(group.ItemIndex(), 2) << "out of range is ignored";
    group.SetItemIndex(-1);
    EXPECT_EQ(group.ItemIndex(), -1);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(group.Checked(i));
}

TEST(TsuiRadioGroup, FocusGoesToTheSelectionAndArrowsSelect)
{
    Window window;
    auto* group = new TsuiRadioGroup(&window.widget);
    auto* checks = new TsuiCheckGroup(&window.widget);
    checks->move(0, 150);
    group->SetItems({"a", "b", "c"});
    checks->SetItems({"x", "y"});
    group->SetItemIndex(1);
    window.Show();

    group->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(group->Item(1)->hasFocus()) << "the group passes the focus to its selection";
    QTest::keyClick(group->Item(1), Qt::Key_Down);
    EXPECT_TRUE(group->Item(2)->hasFocus());
    EXPECT_EQ(group->ItemIndex(), 2) << "arriving from another item selects";
    QTest::keyClick(group->Item(2), Qt::Key_Down);
    EXPECT_EQ(group->ItemIndex(), 0) << "round the items";

    checks->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(checks->Item(0)->hasFocus());
    QTest::keyClick(checks->Item(0), Qt::Key_Right);
    EXPECT_TRUE(checks->Item(1)->hasFocus());
    EXPECT_FALSE(checks->Checked(1)) << "check items are only focused";
    EXPECT_EQ(group->ItemIndex(), 0) << "focus from elsewhere does not select";
}

TEST(TsuiCheckGroup, ItemsFollowTheGroupsLookAndTransparency)
{
    TsuiRadioGroup group;
    group.SetItems({"a", "b"});
    group.setProperty("UIStyle", QVariant::fromValue(Sui::BlueGlass));
    group.SetTransparent(true);
    group.SetItems({"a", "b", "c"});
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(group.Item(i)->UIStyle(), Sui::BlueGlass) << i;
        EXPECT_TRUE(group.Item(i)->Transparent()) << i;
    }
}
