#include "skin/controls/TsuiStatusBar.h"
#include "skin/controls/TsuiURLLabel.h"

#include "TestSupport.h"
#include "platform/Shell.h"

#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {

QColor GripLine()
{
    return platform::ToQColor(platform::kSystemColorFlag | platform::COLOR_INACTIVECAPTION);
}

struct Bar {
    QWidget window;
    TsuiStatusBar* bar;
    explicit Bar(bool sizeable)
    {
        if (sizeable)
            window.resize(300, 200);
        else
            window.setFixedSize(300, 200);
        bar = new TsuiStatusBar(&window);
        bar->SetUIStyle(Sui::WinXP);
    }
    QImage Shot() const { return bar->grab().toImage(); }
    // Pixels of the bottom-right 16 x 16 corner in the grip's line colour.
    std::vector<QPoint> GripPixels() const
    {
        const QImage shot = Shot();
        std::vector<QPoint> found;
        for (int y = shot.height() - 16; y < shot.height(); ++y)
            for (int x = shot.width() - 16; x < shot.width(); ++x)
                if (shot.pixelColor(x, y) == GripLine())
                    found.push_back({x, y});
        return found;
    }
};

}  // namespace

TEST(TsuiStatusBar, PanelColorIsTheColorOfTheLook)
{
    struct Case {
        TsuiUIStyle look;
        platform::COLORREF color;
    };
    const Case cases[] = {{Sui::MacOS, 0xE7E7E7}, {Sui::WinXP, 0xDEEBEF}, {Sui::DeepBlue, 0xE8E8E8},
                          {Sui::Protein, 0xFBFBFB}, {Sui::BlueGlass, 0xE7E7E7}};
    TsuiStatusBar bar;
    for (const Case& c : cases) {
        ASSERT_TRUE(bar.setProperty("UIStyle", QVariant::fromValue(c.look)));
        EXPECT_EQ(bar.property("PanelColor").toUInt(), c.color);
        EXPECT_EQ(bar.Color(), c.color);
    }
    bar.SetPanelColor(0x010203);
    EXPECT_EQ(bar.Color(), 0x010203u);
    bar.SetColor(0x040506);
    EXPECT_EQ(bar.PanelColor(), 0x040506u);
}

TEST(TsuiStatusBar, OnAFixedWindowNothingIsAddedForTheGrip)
{
    ASSERT_NE(GripLine(), platform::ToQColor(0xDEEBEF));
    Bar fixed(false);
    EXPECT_FALSE(fixed.bar->ParentSizeable());
    EXPECT_EQ(fixed.bar->geometry(), QRect(0, 200 - 19, 300, 19)) << "along the bottom";
    EXPECT_TRUE(fixed.GripPixels().empty());
    const QImage withGrip = fixed.Shot();
    fixed.bar->SetSizeGrip(false);
    EXPECT_EQ(fixed.Shot(), withGrip) << "as without a grip";
    EXPECT_EQ(withGrip.pixelColor(299, 18), platform::ToQColor(0xDEEBEF));
}

TEST(TsuiStatusBar, OnASizeableWindowItDrawsAFlatGrip)
{
    Bar sizeable(true);
    ASSERT_TRUE(sizeable.bar->GripActive());
    const int w = 300, h = 19;
    std::vector<QPoint> expected;
    for (const int offset : {1, 5, 9, 13})
        for (int i = 0; i < 15 - offset; ++i)
            expected.push_back({w - 16 + offset + i, h - 1 - i});
    std::vector<QPoint> found = sizeable.GripPixels();
    const auto order = [](const QPoint& a, const QPoint& b) { return std::pair(a.x(), a.y()) < std::pair(b.x(), b.y()); };
    std::sort(found.begin(), found.end(), order);
    std::sort(expected.begin(), expected.end(), order);
    EXPECT_EQ(found, expected);
    EXPECT_EQ(sizeable.Shot().pixelColor(w - 14, h - 1), platform::ToQColor(0xDEEBEF)) << "between the lines";
}

TEST(TsuiStatusBar, OnAMaximisedWindowTheGripIsAPlainSquareThatSizesNothing)
{
    Bar maximised(true);
    maximised.window.setWindowState(Qt::WindowMaximized);
    EXPECT_TRUE(maximised.bar->ParentSizeable());
    EXPECT_FALSE(maximised.bar->GripActive());
    EXPECT_TRUE(maximised.GripPixels().empty());
    const QImage shot = maximised.Shot();
    const QColor color = platform::ToQColor(0xDEEBEF);
    for (int y = shot.height() - 16; y < shot.height() - 1; ++y)
        for (int x = shot.width() - 16; x < shot.width() - 1; ++x)
            ASSERT_EQ(shot.pixelColor(x, y), color) << x << "," << y;

    maximised.window.setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(maximised.bar->GripActive());
    maximised.bar->SetSizeGrip(false);
    EXPECT_FALSE(maximised.bar->GripActive());
    EXPECT_TRUE(maximised.GripPixels().empty());
}

TEST(TsuiURLLabel, ClickOpensTheURLWithTheDesktopUnlessItIsBlank)
{
    struct Case {
        const char* url;
        const char* opened;  // nullptr: nothing
    };
    const Case cases[] = {{"https://example.org/pocket pc?x=1", "https://example.org/pocket%20pc?x=1"},
                          {"  ", nullptr},
                          {"", nullptr}};
    std::vector<QUrl> opened;
    auto guard = qxtest::Guard(platform::SetShellOpenHandler, platform::ShellOpenHandler([&](const QUrl& url) {
                                   opened.push_back(url);
                                   return false;  // a failure is not reported
                               }));
    for (const Case& c : cases) {
        opened.clear();
        TsuiURLLabel label;
        ASSERT_TRUE(label.setProperty("URL", QString::fromUtf8(c.url)));
        QSignalSpy clicks(&label, &TsuiURLLabel::OnClick);
        QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(2, 2));
        EXPECT_EQ(clicks.count(), 1) << c.url;
        if (!c.opened) {
            EXPECT_TRUE(opened.empty()) << c.url;
            continue;
        }
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened[0].toString(QUrl::FullyEncoded), c.opened);
    }
}

TEST(TsuiURLLabel, HoverAndLinkColours)
{
    TsuiURLLabel label;
    EXPECT_TRUE(label.font().underline());
    EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(label.FontColor(), 0xFF0000u);

    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(&label, &enter);
    EXPECT_EQ(label.FontColor(), 0x0000FFu);
    label.SetLinkColor(0x00FF00);
    EXPECT_EQ(label.FontColor(), 0x00FF00u) << "at once, under the pointer too";
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&label, &leave);
    EXPECT_EQ(label.FontColor(), 0x00FF00u);
    QApplication::sendEvent(&label, &enter);
    EXPECT_EQ(label.FontColor(), 0x0000FFu);
}
