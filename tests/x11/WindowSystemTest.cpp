// Window behaviour that only a real window system shows: run on an X server of its own
// with a window manager (tests/support/x-session.sh), driven by real pointer input.
#include "skin/TsuiForm.h"

#include "TestSupport.h"
#include "WidgetSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include <utility>

namespace {

// Runs xdotool with the arguments while the program goes on handling events.
void Xdo(const QStringList& args)
{
    QProcess xdo;
    xdo.start("xdotool", args);
    ASSERT_TRUE(xdo.waitForStarted(5000));
    QElapsedTimer clock;
    clock.start();
    while (xdo.state() != QProcess::NotRunning && clock.elapsed() < 10000)
        QTest::qWait(20);
    ASSERT_EQ(xdo.exitCode(), 0) << xdo.readAllStandardError().toStdString();
}

QStringList At(QPoint global)
{
    return {"mousemove", QString::number(global.x()), QString::number(global.y())};
}

using qxtest::Eventually;

struct Framed {
    QWidget form;
    TsuiForm* frame;
    explicit Framed(TsuiUIStyle look, QPoint at = QPoint(200, 150))
    {
        form.setWindowTitle("Window system");
        frame = new TsuiForm(&form);
        frame->SetClientSize(QSize(360, 200));
        frame->SetUIStyle(look);
        form.move(at);
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        // Until the window manager has placed it and given it the focus, a click may miss.
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        QPoint last(-1, -1);
        EXPECT_TRUE(Eventually([&] {
            QTest::qWait(100);
            const QPoint now = form.geometry().topLeft();
            return std::exchange(last, now) == now;
        }));
    }
    QPoint Global(QPoint inBar) const { return frame->TitleBar()->mapToGlobal(inBar); }
    QPoint ButtonCentre(TsuiTitleBarBtnType type) const
    {
        TsuiTitleBar* bar = frame->TitleBar();
        for (int i = 0; i < bar->Buttons()->Count(); ++i)
            if (bar->Buttons()->Item(i)->ButtonType() == type)
                return bar->mapToGlobal(bar->ButtonRect(i).center());
        return {};
    }
};

TEST(WindowSystem, DraggingTheTitleBarMovesTheWindow)
{
    Framed w(Sui::WinXP);
    const QPoint before = w.form.pos();
    const QPoint grab = w.Global(QPoint(150, 12));
    // A pointer's first step after the press is a pixel or so; the window keeps the point
    // grabbed under the pointer within that step.
    Xdo(At(grab) + QStringList{"mousedown", "1", "sleep", "0.2"} + At(grab + QPoint(1, 0)) +
        QStringList{"sleep", "0.2"} + At(grab + QPoint(30, 20)) + QStringList{"sleep", "0.2"} +
        At(grab + QPoint(80, 60)) + QStringList{"sleep", "0.3", "mouseup", "1"});
    EXPECT_TRUE(Eventually([&] { return (w.form.pos() - (before + QPoint(80, 60))).manhattanLength() <= 1; }))
        << "at " << w.form.pos().x() << "," << w.form.pos().y();
}

TEST(WindowSystem, MaximiseFillsTheAvailableAreaWithTheBottomEdgeOnePixelHigher)
{
    Framed w(Sui::BlueGlass);
    const QRect normal = w.form.geometry();
    const QPoint caption = w.Global(QPoint(150, 12));
    Xdo(At(caption) + QStringList{"click", "--repeat", "2", "--delay", "80", "1"});
    QRect area = w.form.screen()->availableGeometry();
    area.setHeight(area.height() - 1);
    EXPECT_TRUE(Eventually([&] { return w.form.isMaximized() && w.form.geometry() == area; }))
        << w.form.geometry().width() << "x" << w.form.geometry().height();
    EXPECT_EQ(w.frame->geometry().size(), area.size() - QSize(6, 6));

    // Dragging a maximised window does nothing; a double click restores it.
    const QPoint grab = w.Global(QPoint(150, 12));
    Xdo(At(grab) + QStringList{"mousedown", "1", "sleep", "0.2"} + At(grab + QPoint(60, 60)) +
        QStringList{"sleep", "0.2", "mouseup", "1", "sleep", "0.3"});
    EXPECT_EQ(w.form.geometry(), area);
    Xdo(At(grab) + QStringList{"click", "--repeat", "2", "--delay", "80", "1"});
    EXPECT_TRUE(Eventually([&] { return !w.form.isMaximized() && w.form.geometry() == normal; }));
}

TEST(WindowSystem, MinimiseIconifiesTheWindow)
{
    Framed w(Sui::MacOS);
    Xdo(At(w.ButtonCentre(SuiTitleBar::suiMin)) + QStringList{"click", "1"});
    EXPECT_TRUE(Eventually([&] { return w.form.isMinimized(); }));
}

TEST(WindowSystem, TheMaskCutsTheTopCornersOnTheScreen)
{
    Framed w(Sui::WinXP, QPoint(300, 300));
    const QPoint origin = w.form.geometry().topLeft();
    const QImage drawn = qxtest::Render(&w.form);
    QImage screen;
    const auto at = [&](int x, int y) { return screen.pixel(origin + QPoint(x, y)); };
    // The window is on the screen once its own pixels are.
    ASSERT_TRUE(Eventually([&] {
        screen = w.form.screen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
        return at(4, 0) == drawn.pixel(4, 0) && at(w.form.width() / 2, 1) == drawn.pixel(w.form.width() / 2, 1);
    }));
    const QRgb desktop = screen.pixel(origin - QPoint(20, 20));
    EXPECT_EQ(at(0, 0), desktop) << "the corner shows the desktop";
    EXPECT_EQ(at(w.form.width() - 1, 0), desktop);
    EXPECT_EQ(at(3, 0), desktop) << "row 0 loses four pixels";
    EXPECT_EQ(at(4, 0), drawn.pixel(4, 0));
    EXPECT_EQ(at(0, 4), drawn.pixel(0, 4));
    EXPECT_EQ(at(0, w.form.height() - 1), drawn.pixel(0, w.form.height() - 1)) << "square bottom corners";
}

}  // namespace
