// Review shots of the button family in every look; with QX_SHOTS_DIR=DIR the sheet is
// written to DIR/buttons.png for a look at it.
#include "tools/qxshots/ControlGallery.h"

#include "WidgetSupport.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPalette>
#include <QTest>
#include <gtest/gtest.h>

TEST(ButtonShots, EveryLook)
{
    const QString dir = qEnvironmentVariable("QX_SHOTS_DIR");
    constexpr int kWidth = 520, kHeight = 340;
    QImage sheet(kWidth * 2, 5 * kHeight * 2, QImage::Format_RGB32);
    QPainter sheetPainter(&sheet);
    int row = 0;
    for (TsuiUIStyle look : {Sui::MacOS, Sui::WinXP, Sui::DeepBlue, Sui::Protein, Sui::BlueGlass}) {
        QWidget window;
        window.resize(kWidth, kHeight);
        QPalette pal = window.palette();
        pal.setColor(QPalette::Window, platform::ToQColor(GetInsideThemeColor(look, SUI_THEME_FORM_BACKGROUND_COLOR)));
        window.setPalette(pal);
        window.setAutoFillBackground(true);
        qxshots::AddButtonFamily(&window, look);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        window.findChild<QWidget*>("focused")->setFocus();
        QApplication::processEvents();
        // Every control paints itself whole: no pixel of its area is left undrawn.
        for (QWidget* control : window.findChildren<QWidget*>())
            EXPECT_EQ(qxtest::UnpaintedPixels(control), 0) << control->metaObject()->className();
        sheetPainter.drawPixmap(0, kHeight * 2 * row++, window.grab().scaled(kWidth * 2, kHeight * 2));
    }
    sheetPainter.end();
    if (!dir.isEmpty()) {
        EXPECT_TRUE(sheet.save(QDir(dir).filePath("buttons.png")));
    }
}
