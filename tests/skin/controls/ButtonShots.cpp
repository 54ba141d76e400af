// Review shots of the button family in every look; with QX_SHOTS_DIR=DIR the sheet is
// written to DIR/buttons.png for a look at it.
#include "skin/controls/TsuiArrowButton.h"
#include "skin/controls/TsuiButton.h"
#include "skin/controls/TsuiProgressBar.h"
#include "skin/controls/TsuiCheckBox.h"
#include "skin/controls/TsuiCheckGroup.h"
#include "skin/controls/TsuiRadioGroup.h"
#include "skin/controls/TsuiRadioButton.h"
#include "skin/controls/TsuiSpinEdit.h"

#include "WidgetSupport.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void Gallery(QWidget* parent, TsuiUIStyle look)
{
    int y = 8;
    const char* captions[] = {"&Next  >", "Hover", "Pressed", "Disabled", "Focused"};
    for (int i = 0; i < 5; ++i) {
        auto* b = new TsuiButton(parent);
        b->SetUIStyle(look);
        b->SetCaption(captions[i]);
        b->move(8 + i * 84, y);
        if (i == 1) {
            QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
            QApplication::sendEvent(b, &enter);
        }
        if (i == 2)
            QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
        if (i == 3)
            b->setEnabled(false);
        if (i == 4)
            b->setFocus();
    }
    y += 36;
    for (int i = 0; i < 4; ++i) {
        auto* c = new TsuiCheckBox(parent);
        c->SetUIStyle(look);
        c->SetCaption(i % 2 ? "&Checked" : "Unchecked");
        c->SetChecked(i % 2);
        c->setEnabled(i < 2);
        c->move(8 + i * 100, y);
    }
    y += 26;
    for (int i = 0; i < 4; ++i) {
        auto* r = new TsuiRadioButton(parent);
        r->SetUIStyle(look);
        r->SetGroupIndex(i);
        r->SetCaption(i % 2 ? "Checked" : "Unchecked");
        r->SetChecked(i % 2);
        r->setEnabled(i < 2);
        r->move(8 + i * 100, y);
    }
    y += 26;
    auto* s = new TsuiSpinEdit(parent);
    s->SetUIStyle(look);
    s->resize(60, 19);
    s->SetValue(42);
    s->move(8, y);
    auto* up = new TsuiArrowButton(parent);
    up->SetUIStyle(look);
    up->resize(15, 8);
    up->move(90, y);
    auto* down = new TsuiArrowButton(parent);
    down->SetUIStyle(look);
    down->SetArrow(TsuiArrowButton::suiDown);
    down->resize(15, 8);
    down->move(90, y + 9);

    y += 30;
    auto* checks = new TsuiCheckGroup(parent);
    checks->SetUIStyle(look);
    checks->SetCaption("Check group");
    checks->setGeometry(8, y, 200, 90);
    checks->SetColumns(2);
    checks->SetItems({"One", "Two", "Three", "Four", "Five"});
    checks->SetChecked(1, true);
    auto* radios = new TsuiRadioGroup(parent);
    radios->SetUIStyle(look);
    radios->SetCaption("Radio group");
    radios->setGeometry(216, y, 200, 90);
    radios->SetItems({"High", "Medium", "Low"});
    radios->SetItemIndex(1);
    auto* progress = new TsuiProgressBar(parent);
    progress->SetUIStyle(look);
    progress->setGeometry(8, y + 100, 200, 14);
    progress->SetPosition(60);
}

}  // namespace

TEST(ButtonShots, EveryLook)
{
    const QString dir = qEnvironmentVariable("QX_SHOTS_DIR");
    QImage sheet(880, 5 * 520, QImage::Format_RGB32);
    QPainter sheetPainter(&sheet);
    int row = 0;
    for (TsuiUIStyle look : {Sui::MacOS, Sui::WinXP, Sui::DeepBlue, Sui::Protein, Sui::BlueGlass}) {
        QWidget window;
        window.resize(440, 260);
        QPalette pal = window.palette();
        pal.setColor(QPalette::Window, platform::ToQColor(GetInsideThemeColor(look, SUI_THEME_FORM_BACKGROUND_COLOR)));
        window.setPalette(pal);
        window.setAutoFillBackground(true);
        Gallery(&window, look);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QApplication::processEvents();
        // Every control paints itself whole: no pixel of its area is left undrawn.
        for (QWidget* control : window.findChildren<QWidget*>())
            EXPECT_EQ(qxtest::UnpaintedPixels(control), 0) << control->metaObject()->className();
        sheetPainter.drawPixmap(0, 520 * row++, window.grab().scaled(880, 520));
    }
    sheetPainter.end();
    if (!dir.isEmpty()) {
        EXPECT_TRUE(sheet.save(QDir(dir).filePath("buttons.png")));
    }
}
