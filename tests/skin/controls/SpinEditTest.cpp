#include "skin/controls/TsuiArrowButton.h"
#include "skin/controls/TsuiSpinButtons.h"
#include "skin/controls/TsuiSpinEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct SpinWindow {
    QWidget widget;
    TsuiSpinEdit* spin = new TsuiSpinEdit(&widget);
    QLineEdit* next = new QLineEdit(&widget);
    int beeps = 0;
    std::function<void()> previous = SetSuiBeepHandler([this] { ++beeps; });

    SpinWindow()
    {
        widget.resize(300, 100);
        spin->resize(60, 19);
        next->move(0, 50);
    }
    ~SpinWindow() { SetSuiBeepHandler(previous); }
    void Show()
    {
        widget.show();
        widget.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&widget));
        spin->setFocus();
    }
    void Leave() { next->setFocus(Qt::TabFocusReason); }
};

}  // namespace

TEST(TsuiSpinEdit, ValuesFollowTheRangeUnlessMinEqualsMax)
{
    struct Case {
        int min, max, start, steps;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, 0, -3, "-3"},          // no range: negative too
        {0, 0, 5, 4, "9"},
        {0, 10, 10, 1, "10"},         // the up arrow stays at the top
        {0, 10, 1, -3, "0"},
        {-5, 5, 0, -9, "-5"},
        {0, 0, 2147483646, 3, "2147483647"},  // stops at the end of int instead of wrapping
    };
    for (const Case& c : cases) {
        TsuiSpinEdit spin;
        spin.SetMinValue(c.min);
        spin.SetMaxValue(c.max);
        spin.SetValue(c.start);
        for (int i = 0; i < std::abs(c.steps); ++i)
            c.steps > 0 ? spin.UpClick() : spin.DownClick();
        EXPECT_EQ(spin.text(), c.text) << c.min << ".." << c.max << " from " << c.start;
    }
}

TEST(TsuiSpinEdit, TextThatIsNoNumberReadsAsMinValue)
{
    TsuiSpinEdit spin;
    spin.SetMinValue(3);
    spin.SetMaxValue(9);
    EXPECT_EQ(spin.text(), "0") << "the text starts as 0";
    for (const char* text : {"", "-", "1-2", "abc", "0x10", "12.5"}) {
        spin.setText(text);
        EXPECT_EQ(spin.Value(), 3) << text;
    }
    spin.setText("-7");
    EXPECT_EQ(spin.Value(), -7);
    spin.SetMinValue(-100);
    EXPECT_EQ(spin.text(), "-7") << "a new range does not touch the text";
    spin.SetValue(500);
    EXPECT_EQ(spin.text(), "9");
}

TEST(TsuiSpinEdit, TypingTakesDigitsAndMinusOnly)
{
    SpinWindow w;
    w.Show();
    w.spin->selectAll();
    QTest::keyClicks(w.spin, "1a+.-2");
    EXPECT_EQ(w.spin->text(), "1-2");
    EXPECT_EQ(w.beeps, 3);
    QTest::keyClick(w.spin, Qt::Key_Return);
    EXPECT_EQ(w.beeps, 4) << "Enter without a Default button is refused too";
    QTest::keyClick(w.spin, Qt::Key_Backspace);
    EXPECT_EQ(w.spin->text(), "1-");

    w.spin->SetEditorEnabled(false);
    QTest::keyClicks(w.spin, "5");
    QTest::keyClick(w.spin, Qt::Key_Backspace);
    QTest::keyClick(w.spin, Qt::Key_Home);
    QTest::keyClick(w.spin, Qt::Key_Delete);
    EXPECT_EQ(w.spin->text(), "1-");
    EXPECT_EQ(w.beeps, 7);
    QApplication::clipboard()->setText("99");
    QTest::keyClick(w.spin, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.spin->text(), "1-") << "no paste with the editor off";
    w.spin->setText("4");
    QTest::keyClick(w.spin, Qt::Key_Up);
    EXPECT_EQ(w.spin->text(), "5") << "the arrows still work";
}

TEST(TsuiSpinEdit, ArrowKeysStepAndReadOnlyBeeps)
{
    SpinWindow w;
    w.spin->SetIncrement(5);
    w.Show();
    QTest::keyClick(w.spin, Qt::Key_Up);
    QTest::keyClick(w.spin, Qt::Key_Up);
    QTest::keyClick(w.spin, Qt::Key_Down);
    EXPECT_EQ(w.spin->text(), "5");
    w.spin->setReadOnly(true);
    QTest::keyClick(w.spin, Qt::Key_Up);
    w.spin->Button()->UpButton()->Click();
    EXPECT_EQ(w.spin->text(), "5");
    EXPECT_EQ(w.beeps, 2);
}

TEST(TsuiSpinEdit, LeavingClampsANumberOutOfRangeOnly)
{
    SpinWindow w;
    w.spin->SetMaxValue(10);
    w.Show();
    w.spin->setText("15");
    w.Leave();
    EXPECT_EQ(w.spin->text(), "10");
    w.spin->setFocus();
    w.spin->setText("-");
    w.Leave();
    EXPECT_EQ(w.spin->text(), "-") << "no number: left alone";
    EXPECT_EQ(w.spin->Value(), 0);
    w.spin->setText("7");
    w.spin->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(w.spin->selectedText(), "7") << "entering selects the text";
}

TEST(TsuiSpinEdit, ArrowsSitInsideTheFrameOverlappingByOneRow)
{
    TsuiSpinEdit spin;
    spin.resize(60, 19);
    spin.show();
    TsuiSpinButtons* buttons = spin.Button();
    EXPECT_EQ(buttons->geometry(), QRect(60 - 17, 2, 15, 15));
    EXPECT_EQ(buttons->UpButton()->geometry(), QRect(0, 0, 15, 8));
    EXPECT_EQ(buttons->DownButton()->geometry(), QRect(0, 7, 15, 8));
    EXPECT_FALSE(buttons->UpButton()->TabStop());
    EXPECT_EQ(buttons->UpButton()->MouseContinuouslyDownInterval(), 400);

    buttons->resize(9, 30);
    EXPECT_EQ(buttons->width(), 15) << "never narrower than 15";
}

TEST(TsuiSpinEdit, ALookChangeSetsBorderColourAndReachesTheArrows)
{
    TsuiSpinEdit spin;
    spin.SetBorderColor(0x123456);
    spin.setProperty("UIStyle", QVariant::fromValue(Sui::MacOS));
    EXPECT_EQ(spin.BorderColor(), 0x7F7F7Fu);
    EXPECT_EQ(spin.Button()->UpButton()->UIStyle(), Sui::MacOS);
    EXPECT_EQ(spin.Button()->DownButton()->UIStyle(), Sui::MacOS);
    const QImage image = spin.grab().toImage();
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0x7F7F7Fu);
    EXPECT_EQ(image.pixel(30, spin.height() - 1) & 0xFFFFFF, 0x7F7F7Fu);
    EXPECT_EQ(QColor(image.pixel(1, 1)), spin.palette().color(QPalette::Base)) << "inner line in the edit colour";
}

TEST(TsuiSpinEdit, HoldingAnArrowStepsEvery400msThenOnceOnRelease)
{
    SpinWindow w;
    w.Show();
    TsuiArrowButton* up = w.spin->Button()->UpButton();
    QElapsedTimer held;
    held.start();
    QTest::mousePress(up, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::qWait(1000);
    const qint64 elapsed = held.elapsed();
    const int ticks = w.spin->Value();
    QTest::mouseRelease(up, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_GE(ticks, 1);
    EXPECT_LE(ticks, elapsed / 400);
    EXPECT_EQ(w.spin->Value(), ticks + 1) << "the release adds its step";
}
