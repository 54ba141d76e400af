// The skinned windows in a Wayland session, seen on the compositor's screenshots: the
// compositor shows what a window paints (a mask only limits input), so the cut corners
// must be painted clear and the pictures' magenta key must never reach the screen.

#include "app/TfmMain.h"
#include "app/TfmSkin.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiFormMenuBar.h"

#include "TestSupport.h"
#include "WidgetSupport.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QTest>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

namespace {

// The whole screen as the compositor shows it.
QImage Screenshot()
{
    qxtest::ScratchDir dir;
    QProcess shooter;
    shooter.setWorkingDirectory(QString::fromStdString(dir.Path()));
    shooter.start("weston-screenshooter", {});
    EXPECT_TRUE(shooter.waitForFinished(10000)) << "weston-screenshooter";
    const QStringList shots = QDir(QString::fromStdString(dir.Path())).entryList({"*.png"});
    EXPECT_EQ(shots.size(), 1) << shooter.readAllStandardError().toStdString();
    if (shots.isEmpty())
        return {};
    return QImage(QString::fromStdString(dir.Path(shots.front().toStdString()))).convertToFormat(QImage::Format_RGB32);
}

// Lets the window's newest frame reach the screen.
void Settle(QWidget* window)
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    for (int i = 0; i < 10; ++i) {
        QCoreApplication::processEvents();
        QTest::qWait(50);
    }
}

bool IsMagenta(QRgb p)
{
    return qRed(p) > 0xF0 && qGreen(p) < 0x10 && qBlue(p) > 0xF0;
}

int MagentaPixels(const QImage& shot)
{
    int n = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            n += IsMagenta(shot.pixel(x, y));
    return n;
}

// The box of the pixels that differ between two screenshots: where a window appeared.
QRect Changed(const QImage& before, const QImage& after)
{
    QRect box;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

// A window shown at box: its cut corners show what was beneath it, the rest is its own.
void ExpectCornersCut(QWidget* window, const QRect& box, const QImage& before, const QImage& after)
{
    ASSERT_EQ(box.size(), window->size()) << "the window is wholly on the screen";
    const QRegion kept = window->mask().isEmpty() ? QRegion(window->rect()) : window->mask();
    int cutShown = 0, cut = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < window->width(); ++x) {
            if (kept.contains(QPoint(x, y)))
                continue;
            ++cut;
            const QPoint at = box.topLeft() + QPoint(x, y);
            cutShown += before.pixel(at) != after.pixel(at);
        }
    EXPECT_EQ(cutShown, 0) << "of " << cut << " cut corner pixels, these show the window";
    if (!window->mask().isEmpty()) {
        EXPECT_GT(cut, 0);
    }
}

TEST(Wayland, EveryLookShowsTheMainWindowAndTheSkinChooserWithCleanCorners)
{
    ASSERT_TRUE(QGuiApplication::platformName().startsWith("wayland")) << QGuiApplication::platformName().toStdString();
    const QImage empty = Screenshot();
    ASSERT_FALSE(empty.isNull());
    EXPECT_EQ(MagentaPixels(empty), 0);
    const char* names[] = {"", "BlueGlass", "DeepBlue", "MacOS", "WinXP", "Protein"};
    for (int skinType = 1; skinType <= 5; ++skinType) {
        SCOPED_TRACE(names[skinType]);
        qxtest::ScratchDir dir;
        const std::string settings = dir.Path("norvane.ini");
        qxtest::WriteFile(settings, "[Quorlantix]\r\nSkinType=" + std::to_string(skinType) + "\r\n");
        TfmMain main(settings);
        main.show();
        Settle(&main);
        const QImage withMain = Screenshot();
        EXPECT_EQ(MagentaPixels(withMain), 0);
        const QRect mainBox = Changed(empty, withMain);
        ExpectCornersCut(&main, mainBox, empty, withMain);

        // The drop-downs belong to the main window: a compositor places them by that. (With
        // no pointer, a headless compositor grants no drop-down its place under the item,
        // so where they open is seen on X.)
        TsuiForm* frame = main.sfmMain;
        ASSERT_TRUE(frame->MenuBar());
        for (const auto& [what, open] : {std::pair<const char*, std::function<void()>>{
                                             "File", [&] { frame->MenuBar()->OpenByAccelerator('F'); }},
                                         {"control box", [&] { frame->PopupSystemMenu(); }}}) {
            SCOPED_TRACE(what);
            open();
            ASSERT_TRUE(qxtest::Eventually([] { return QApplication::activePopupWidget() != nullptr; }));
            QWidget* menu = QApplication::activePopupWidget();
            ASSERT_TRUE(menu->windowHandle());
            EXPECT_EQ(menu->windowHandle()->transientParent(), main.windowHandle());
            menu->close();
        }
        QTest::qWait(300);

        TfmSkin chooser(&main);
        chooser.show();
        Settle(&chooser);
        const QImage withChooser = Screenshot();
        EXPECT_EQ(MagentaPixels(withChooser), 0);
        const QRect chooserBox = Changed(withMain, withChooser);
        ExpectCornersCut(&chooser, chooserBox, withMain, withChooser);
        // Where a dialog goes is the compositor's choice; it learns the dialog's window.
        ASSERT_TRUE(chooser.windowHandle());
        EXPECT_EQ(chooser.windowHandle()->transientParent(), main.windowHandle()) << "the dialog belongs to the main window";
        chooser.hide();
        main.hide();
        QTest::qWait(300);  // gone from the screen before the next look's window comes
    }
}

}  // namespace
