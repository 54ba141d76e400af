#include "skin/Resources.h"
#include "skin/TsuiPopupMenu.h"

#include "WidgetSupport.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

QColor Rgb(platform::COLORREF c)
{
    return platform::ToQColor(c);
}

// A popup menu of the look shown on the screen, with a few kinds of items.
struct Shown {
    TsuiPopupMenu menu;
    QAction* open;
    QAction* separator;
    QAction* disabled;
    QAction* checked;
    explicit Shown(TsuiUIStyle look)
    {
        menu.SetUIStyle(look);
        open = menu.AddItem("&Open");
        separator = menu.AddItem("-");
        disabled = menu.AddItem("Disabled");
        disabled->setEnabled(false);
        checked = menu.AddItem("Checked");
        checked->setCheckable(true);
        checked->setChecked(true);
        menu.Popup(100, 100);
    }
    ~Shown() { menu.Items()->hide(); }
    QRect Rect(QAction* a) const { return menu.Items()->actionGeometry(a); }
    QImage Shot() const { return qxtest::Render(menu.Items()); }
};

TEST(TsuiMenu, ItemAndSeparatorHeightsOfEachLook)
{
    for (const TsuiUIStyle look : qxtest::kLooks) {
        SCOPED_TRACE(qxtest::LookName(look));
        Shown s(look);
        const bool mac = look == Sui::MacOS;
        EXPECT_EQ(s.Rect(s.open).height(), mac ? 20 : 21);
        EXPECT_EQ(s.Rect(s.separator).height(), mac ? 12 : 5);
        EXPECT_TRUE(s.separator->isSeparator()) << "a caption \"-\" is a separator";
        EXPECT_EQ(s.menu.BarWidth(), 26);
    }
    TsuiPopupMenu menu;
    menu.SetUIStyle(Sui::MacOS);
    menu.SetHeight(30);
    menu.SetSeparatorHeight(30);
    EXPECT_EQ(menu.MenuItemHeight(), 20) << "MacOS keeps its heights";
    EXPECT_EQ(menu.SeparatorHeight(), 12);
    menu.SetUIStyle(Sui::WinXP);
    EXPECT_EQ(menu.MenuItemHeight(), 21);
    menu.SetHeight(30);
    EXPECT_EQ(menu.MenuItemHeight(), 30);
}

TEST(TsuiMenu, AnItemIsMeasuredWithItsAmpersandAndShortcut)
{
    TsuiPopupMenu menu;
    menu.SetUIStyle(Sui::WinXP);
    QAction* exit = menu.AddItem("E&xit");
    const QFontMetrics metrics(menu.ItemFont());
    EXPECT_EQ(menu.MeasureItem(TsuiMenuItem::Of(exit)),
              QSize(metrics.horizontalAdvance("E&xit") + 26 + 40, 21));
    exit->setShortcut(QKeySequence("Ctrl+Q"));
    const QString shortcut = QKeySequence("Ctrl+Q").toString(QKeySequence::NativeText);
    EXPECT_EQ(menu.MeasureItem(TsuiMenuItem::Of(exit)).width(),
              metrics.horizontalAdvance("E&xit") + metrics.horizontalAdvance(shortcut) + 26 + 40);
    menu.Popup(0, 0);
    EXPECT_GE(menu.Items()->actionGeometry(exit).width(), menu.MeasureItem(TsuiMenuItem::Of(exit)).width());
    menu.Items()->hide();
}

TEST(TsuiMenu, WinXPItemsHaveTheStripAndTheSelectionColours)
{
    Shown s(Sui::WinXP);
    const QRect r = s.Rect(s.open);
    QImage shot = s.Shot();
    const int mid = r.top() + r.height() / 2;
    for (int x = r.left(); x < r.left() + 26; ++x)
        ASSERT_EQ(shot.pixelColor(x, mid), QColor(0xD6, 0xD3, 0xCE)) << x;
    EXPECT_EQ(shot.pixelColor(r.right() - 2, mid), Qt::white);

    s.menu.Items()->setActiveAction(s.open);
    shot = s.Shot();
    EXPECT_EQ(shot.pixelColor(r.left(), mid), QColor(0x31, 0x69, 0xC6)) << "outline";
    EXPECT_EQ(shot.pixelColor(r.left() + 3, mid), QColor(0xC6, 0xD3, 0xEF)) << "fill";
    int black = 0;
    for (int x = r.left() + 30; x < r.left() + 60; ++x)
        for (int y = r.top(); y <= r.bottom(); ++y)
            black += shot.pixelColor(x, y) == Qt::black;
    EXPECT_GT(black, 5) << "black text on the selection";
}

TEST(TsuiMenu, MacOSItemsArePicturesWithWhiteTextWhenSelected)
{
    Shown s(Sui::MacOS);
    const QImage bar = LoadBitmapResource("MACOS_MENU_BAR").convertToFormat(QImage::Format_RGB32);
    const QImage select = LoadBitmapResource("MACOS_MENU_SELECT").convertToFormat(QImage::Format_RGB32);
    const QRect r = s.Rect(s.open);
    QImage shot = s.Shot();
    for (int y = 0; y < 20; ++y)
        ASSERT_EQ(shot.pixel(r.right() - 2, r.top() + y), bar.pixel(0, y)) << y;
    const QRect line = s.Rect(s.separator);
    for (int y = 0; y < 12; ++y)
        ASSERT_EQ(shot.pixel(r.right() - 2, line.top() + y), bar.pixel(0, y)) << "separator row " << y;
    s.menu.Items()->setActiveAction(s.open);
    shot = s.Shot();
    int white = 0;
    for (int y = 0; y < 20; ++y) {
        ASSERT_EQ(shot.pixel(r.right() - 2, r.top() + y), select.pixel(0, y)) << y;
        for (int x = r.left() + 30; x < r.left() + 60; ++x)
            white += shot.pixelColor(x, r.top() + y) == Qt::white;
    }
    EXPECT_GT(white, 5);
}

TEST(TsuiMenu, ADisabledItemIsNeverDrawnSelected)
{
    for (const TsuiUIStyle look : {Sui::MacOS, Sui::WinXP}) {
        SCOPED_TRACE(qxtest::LookName(look));
        TsuiPopupMenu menu;
        menu.SetUIStyle(look);
        QAction* item = menu.AddItem("Disabled");
        item->setEnabled(false);
        const auto draw = [&](bool selected) {
            QImage image(160, 21, QImage::Format_RGB32);
            image.fill(Qt::magenta);
            QPainter p(&image);
            menu.DrawItem(p, image.rect(), TsuiMenuItem::Of(item), selected);
            return image;
        };
        const QImage selected = draw(true);
        EXPECT_EQ(selected, draw(false));
        int grey = 0;
        for (int y = 0; y < 21; ++y)
            for (int x = 30; x < 90; ++x)
                grey += selected.pixelColor(x, y) == QColor(0x80, 0x80, 0x80);
        EXPECT_GT(grey, 5);
    }
    Shown s(Sui::WinXP);
    s.menu.Items()->setActiveAction(s.disabled);
    EXPECT_NE(s.menu.Items()->activeAction(), s.disabled) << "the pointer cannot select it";
}

TEST(TsuiMenu, ACheckedItemShowsTheMarkEvenWithoutAStrip)
{
    TsuiPopupMenu menu;
    menu.SetUIStyle(Sui::DeepBlue);
    menu.SetBarWidth(0);
    QAction* item = menu.AddItem("Checked");
    item->setCheckable(true);
    item->setChecked(true);
    QImage image(160, 21, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter p(&image);
    menu.DrawItem(p, image.rect(), TsuiMenuItem::Of(item), false);
    p.end();
    const QImage mark = menu.CheckMark();
    int checked = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (qAlpha(mark.pixel(x, y)) == 255) {
                ASSERT_EQ(image.pixel(4 + x, 3 + y), mark.pixel(x, y) | 0xFF000000u) << x << "," << y;
                ++checked;
            }
    EXPECT_GT(checked, 5);
}

TEST(TsuiMenu, ASeparatorIsALineAndNoText)
{
    TsuiPopupMenu menu;
    menu.SetUIStyle(Sui::DeepBlue);
    QAction* line = menu.AddItem("-");
    QImage image(100, 5, QImage::Format_RGB32);
    QPainter p(&image);
    menu.DrawItem(p, image.rect(), TsuiMenuItem::Of(line), true);
    p.end();
    for (int x = 0; x < 100; ++x) {
        const QColor expected = x < 26 ? Rgb(0xCED3D6) : x >= 30 && x < 98 ? Rgb(0x848284) : Qt::white;
        ASSERT_EQ(image.pixelColor(x, 2), expected) << x;
        ASSERT_EQ(image.pixelColor(x, 1), x < 26 ? Rgb(0xCED3D6) : QColor(Qt::white)) << x;
    }
}

TEST(TsuiMenu, TheFlatOutlineOfADropDown)
{
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter p(&image);
    Menu_DrawWindowBorder(p, image.rect(), 0x000000, 0x00FF00);
    p.end();
    const QColor line(0, 0xFF, 0);
    EXPECT_EQ(image.pixelColor(5, 0), line) << "top";
    EXPECT_EQ(image.pixelColor(5, 9), line) << "bottom";
    EXPECT_EQ(image.pixelColor(19, 5), line) << "right";
    EXPECT_EQ(image.pixelColor(0, 5), Qt::black) << "left";
    EXPECT_EQ(image.pixelColor(5, 1), Qt::black);
    EXPECT_EQ(image.pixelColor(1, 5), Qt::white);
    EXPECT_EQ(image.pixelColor(5, 2), Qt::white);
    EXPECT_EQ(image.pixelColor(5, 5), Qt::blue);
}

}  // namespace
