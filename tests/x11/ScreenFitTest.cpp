// The program's windows open wholly inside the screen's available area, the desktop's
// panels excluded: at the designed place where they fit there, moved in as little as
// needed where they do not. CTest runs this on a 1280x800 screen, a 1024x600 one and a
// 1600x1200 one at twice the density.
#include "app/TfmAbout.h"
#include "app/TfmMain.h"
#include "app/TfmSkin.h"

#include "TestSupport.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include <utility>

namespace {

bool Xprop(const QStringList& args)
{
    QProcess xprop;
    xprop.start("xprop", args);
    return xprop.waitForFinished(5000) && xprop.exitCode() == 0;
}

using qxtest::Eventually;

// Shown, and left where the window manager put it.
void ShowPlaced(QWidget* window)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QPoint last(-1, -1);
    ASSERT_TRUE(Eventually([&] {
        QTest::qWait(100);
        return std::exchange(last, window->frameGeometry().topLeft()) == last;
    }));
}

// Where one side of a window of this length goes: wanted where it fits, else as near
// to it as the area allows.
int Nearest(int wanted, int length, int start, int room)
{
    if (length >= room)
        return start;
    return std::min(std::max(wanted, start), start + room - length);
}

TEST(ScreenFit, TheWindowsOpenInsideTheAvailableAreaBesideADesktopPanel)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect whole = screen->geometry();
    // A panel along the bottom, as desktops have: the window manager takes it off the
    // available area.
    QWidget panel(nullptr, Qt::FramelessWindowHint);
    panel.setGeometry(0, whole.height() - 40, whole.width(), 40);
    const QString id = QString::number(panel.winId());
    const int strut = int(40 * screen->devicePixelRatio());
    ASSERT_TRUE(Xprop({"-id", id, "-f", "_NET_WM_WINDOW_TYPE", "32a", "-set", "_NET_WM_WINDOW_TYPE",
                       "_NET_WM_WINDOW_TYPE_DOCK"}));
    ASSERT_TRUE(Xprop({"-id", id, "-f", "_NET_WM_STRUT", "32c", "-set", "_NET_WM_STRUT",
                       QString("0,0,0,%1").arg(strut)}));
    panel.show();
    ASSERT_TRUE(Eventually([&] { return screen->availableGeometry().height() == whole.height() - 40; }))
        << "available height " << screen->availableGeometry().height() << " of " << whole.height();
    const QRect area = screen->availableGeometry();

    qxtest::ScratchDir dir;
    TfmMain main(dir.Path("norvane.ini"));
    ShowPlaced(&main);
    const QRect frame = main.frameGeometry();
    EXPECT_TRUE(area.contains(frame)) << "main window at " << frame.x() << "," << frame.y() << " "
                                      << frame.width() << "x" << frame.height();
    EXPECT_EQ(frame.topLeft(), QPoint(Nearest(194, frame.width(), area.left(), area.width()),
                                      Nearest(116, frame.height(), area.top(), area.height())))
        << "the designed place, or as near to it as the area allows";

    TfmSkin chooser(&main);
    ShowPlaced(&chooser);
    EXPECT_TRUE(area.contains(chooser.frameGeometry())) << "the skin chooser";
    chooser.hide();
    TfmAbout about(&main);
    ShowPlaced(&about);
    EXPECT_TRUE(area.contains(about.frameGeometry())) << "the About box";
}

}  // namespace
