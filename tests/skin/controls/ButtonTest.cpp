#include "skin/SuiPicture.h"
#include "skin/TsuiForm.h"
#include "skin/controls/TsuiArrowButton.h"
#include "skin/controls/TsuiButton.h"

#include "WidgetSupport.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

using qxtest::DoubleClick;
using qxtest::Enter;
using qxtest::kLooks;
using qxtest::Render;

// A window with a plain background of one colour.
struct Window : qxtest::TestWindow {
    explicit Window(QColor background = QColor(0x30, 0x60, 0x90)) : TestWindow(QSize(300, 200), background) {}
};

QFont PlainFont()
{
    QFont font = QApplication::font();
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// What the button should look like without caption or focus: the background, then
// the frame stretched over the whole button.
QImage Expected(TsuiButton& button, int frame)
{
    QImage expected(button.size(), QImage::Format_RGB32);
    expected.fill(button.Transparent() ? button.parentWidget()->palette().color(QPalette::Window)
                                       : button.palette().color(QPalette::Window));
    QImage picture;
    GetInsideThemeBitmap(button.UIStyle(), SUI_THEME_BUTTON_IMAGE, &picture, 3, frame);
    QPainter painter(&expected);
    SpitDraw(picture, painter, expected.rect(), button.Transparent());
    painter.end();
    return expected;
}

int CountDifferent(const QImage& a, const QImage& b, const QRect& area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

struct Counter {
    int clicks = 0;
    int repeats = 0;
    void Watch(TsuiCustomButton* button)
    {
        QObject::connect(button, &TsuiCustomButton::OnClick, [this] { ++clicks; });
        QObject::connect(button, &TsuiCustomButton::OnMouseContinuouslyDown, [this] { ++repeats; });
    }
};

}  // namespace

TEST(TsuiButtonPaint, StretchesTheStateFrameOverTheWholeButton)
{
    for (TsuiUIStyle look : kLooks) {
        Window window;
        auto* button = new TsuiButton(&window.widget);
        button->SetUIStyle(look);
        button->resize(88, 27);
        EXPECT_EQ(button->Transparent(), look == Sui::MacOS || look == Sui::BlueGlass) << int(look);

        EXPECT_EQ(Render(button), Expected(*button, 1)) << "normal, look " << int(look);
        Enter(button);
        EXPECT_EQ(Render(button), Expected(*button, 2)) << "mouse over, look " << int(look);
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
        EXPECT_EQ(Render(button), Expected(*button, 3)) << "pressed, look " << int(look);
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, 10));
        button->setEnabled(false);
        EXPECT_EQ(Render(button), Expected(*button, 1)) << "disabled, look " << int(look);
    }
}

TEST(TsuiButtonPaint, FocusIsABoldCaptionInMacOSAndBlueGlassAndADottedFrameElsewhere)
{
    for (TsuiUIStyle look : kLooks) {
        Window window;
        auto* button = new TsuiButton(&window.widget);
        auto* other = new TsuiButton(&window.widget);
        other->move(0, 100);
        button->setFont(PlainFont());
        button->SetCaption("Next");
        button->SetUIStyle(look);
        window.Show();
        other->setFocus();
        const QImage plain = Render(button);
        button->setFocus();
        ASSERT_TRUE(button->hasFocus());
        const QImage focused = Render(button);

        const QRect frameLine = RectLTRB(2, 2, 3, button->height() - 2);
        const QRect caption = RectLTRB(10, 6, button->width() - 10, button->height() - 6);
        const bool bold = look == Sui::MacOS || look == Sui::BlueGlass;
        if (bold) {
            EXPECT_EQ(CountDifferent(plain, focused, frameLine), 0) << int(look);
            EXPECT_GT(CountDifferent(plain, focused, caption), 0) << int(look);
        } else {
            // Dotted: every other pixel of the left side is inverted.
            EXPECT_NEAR(CountDifferent(plain, focused, frameLine), frameLine.height() / 2, 1) << int(look);
            EXPECT_EQ(CountDifferent(plain, focused, caption), 0) << int(look);
        }
    }
}

TEST(TsuiButtonPaint, DisabledCaptionIsGreyOverAWhiteShadow)
{
    Window window;
    auto* button = new TsuiButton(&window.widget);
    button->setFont(PlainFont());
    button->SetUIStyle(Sui::DeepBlue);
    button->SetCaption("WWW");
    button->setEnabled(false);
    const QImage image = Render(button);
    int grey = 0;
    for (int y = 0; y + 1 < image.height(); ++y)
        for (int x = 0; x + 1 < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(0x80, 0x80, 0x80))
                continue;
            ++grey;
            const QRgb below = image.pixel(x + 1, y + 1);
            EXPECT_TRUE(below == qRgb(0xFF, 0xFF, 0xFF) || below == qRgb(0x80, 0x80, 0x80)) << x << "," << y;
        }
    EXPECT_GT(grey, 10);
}

TEST(TsuiButtonPaint, BlankCaptionDrawsNoText)
{
    Window window;
    auto* blank = new TsuiButton(&window.widget);
    auto* none = new TsuiButton(&window.widget);
    blank->SetCaption(" \t ");
    EXPECT_EQ(Render(blank), Render(none));
}

TEST(TsuiButton, AutoSizeTakesOneFrameOfTheStoredLook)
{
    const std::pair<TsuiUIStyle, QSize> cases[] = {
        {Sui::MacOS, {84, 23}},  {Sui::WinXP, {18, 21}},     {Sui::DeepBlue, {74, 21}},
        {Sui::Protein, {74, 21}}, {Sui::BlueGlass, {77, 27}}, {Sui::FromThemeFile, {24, 21}},
    };
    for (const auto& [look, size] : cases) {
        TsuiButton button;
        button.SetUIStyle(look);
        button.SetAutoSize(true);
        EXPECT_EQ(button.size(), size) << int(look);
        button.SetUIStyle(Sui::MacOS);
        EXPECT_EQ(button.size(), size) << "a look change does not resize";
    }
}

TEST(TsuiButton, ALookChangeDecidesTransparency)
{
    TsuiButton button;
    button.SetUIStyle(Sui::WinXP);
    button.SetTransparent(true);
    button.SetUIStyle(Sui::WinXP);
    EXPECT_FALSE(button.Transparent());
    button.SetUIStyle(Sui::MacOS);
    EXPECT_TRUE(button.Transparent());
    EXPECT_TRUE(button.PicTransparent());
    EXPECT_EQ(button.property("ResHandle").toUInt(), 0u);
    button.setProperty("ResHandle", 7u);
    EXPECT_EQ(button.ResHandle(), 0u);
}

TEST(TsuiButton, AFileThemeThatGoesAwayLeavesDeepBlue)
{
    TsuiButton button;
    auto theme = std::make_unique<TsuiFileTheme>();
    button.setProperty("UIStyle", QVariant::fromValue(Sui::MacOS));
    button.setProperty("FileTheme", QVariant::fromValue(theme.get()));
    EXPECT_EQ(button.FileTheme(), theme.get());
    theme.reset();
    EXPECT_EQ(button.FileTheme(), nullptr);
    EXPECT_EQ(button.UIStyle(), Sui::DeepBlue);
}

TEST(TsuiButtonMouse, ClicksOnReleaseOverTheButtonOnly)
{
    Window window;
    auto* button = new TsuiButton(&window.widget);
    Counter count;
    count.Watch(button);
    int entered = 0, left = 0;
    QObject::connect(button, &TsuiCustomButton::OnMouseEnter, [&] { ++entered; });
    QObject::connect(button, &TsuiCustomButton::OnMouseExit, [&] { ++left; });
    window.Show();

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(count.clicks, 1);
    EXPECT_TRUE(button->hasFocus()) << "a press takes the focus";

    QTest::mouseClick(button, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(count.clicks, 1) << "right button";

    // Press, drag out, release outside: the frame is normal again once outside.
    Enter(button);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(button->IsPressed());
    QMouseEvent move(QEvent::MouseMove, QPointF(200, 10), button->mapToGlobal(QPointF(200, 10)), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(button, &move);
    EXPECT_FALSE(button->IsPressed());
    EXPECT_FALSE(button->IsMouseOver());
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(left, 1);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_EQ(count.clicks, 1) << "released outside";
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    EXPECT_EQ(left, 1) << "one exit for one leave";

    // A fast second click is a second click: press, release, double click, release.
    DoubleClick(button);
    EXPECT_EQ(count.clicks, 3);
}

TEST(TsuiButtonMouse, HeldButtonRepeatsAtItsIntervalThenClicksOnce)
{
    Window window;
    auto* button = new TsuiButton(&window.widget);
    Counter count;
    count.Watch(button);
    qint64 firstTick = -1;
    QElapsedTimer held;
    QObject::connect(button, &TsuiCustomButton::OnMouseContinuouslyDown, [&] {
        if (firstTick < 0)
            firstTick = held.elapsed();
    });
    window.Show();

    held.start();
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(count.repeats, 0) << "nothing at the press itself";
    QTest::qWait(350);
    const qint64 elapsed = held.elapsed();
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, 10));
    // Timers can only be late on a loaded machine, never early.
    EXPECT_GE(count.repeats, 1);
    EXPECT_LE(count.repeats, elapsed / 100);
    EXPECT_GE(firstTick, 99);
    EXPECT_EQ(count.clicks, 1);

    const int before = count.repeats;
    QTest::qWait(250);
    EXPECT_EQ(count.repeats, before) << "the timer ends with the click";
}

TEST(TsuiButtonMouse, RepeatIntervalZeroNeverTicksAndLeavingStopsTheTimer)
{
    Window window;
    auto* button = new TsuiButton(&window.widget);
    Counter count;
    count.Watch(button);
    window.Show();

    button->SetMouseContinuouslyDownInterval(-5);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::qWait(100);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(count.repeats, 0);
    EXPECT_EQ(count.clicks, 1);

    button->SetMouseContinuouslyDownInterval(20);
    Enter(button);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    QTest::qWait(150);
    EXPECT_EQ(count.repeats, 0) << "the timer goes when the pointer leaves";
}

TEST(TsuiButtonKeys, SpaceEnterAndAcceleratorClickAnEnabledButton)
{
    Window window;
    auto* button = new TsuiButton(&window.widget);
    button->SetCaption("&Next  >");
    Counter count;
    count.Watch(button);
    window.Show();
    button->setFocus();

    QTest::keyPress(button, Qt::Key_Space);
    EXPECT_TRUE(button->IsPressed());
    EXPECT_EQ(count.clicks, 0) << "the click comes with the release";
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_EQ(count.clicks, 1);

    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(count.clicks, 2) << "Enter clicks the focused button once";

    QTest::keyClick(&window.widget, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(count.clicks, 3) << "Alt+N";
    QTest::keyClick(&window.widget, Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(count.clicks, 3);

    button->setEnabled(false);
    QTest::keyClick(button, Qt::Key_Space);
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(&window.widget, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(count.clicks, 3) << "a disabled button ignores its keys";
}

TEST(TsuiButtonKeys, EnterGoesToTheDefaultButtonOrTheFocusedOneAndEscapeToCancel)
{
    Window window;
    auto* edit = new QLineEdit(&window.widget);
    auto* ok = new TsuiButton(&window.widget);
    auto* other = new TsuiButton(&window.widget);
    auto* cancel = new TsuiButton(&window.widget);
    ok->SetDefault(true);
    cancel->SetCancel(true);
    Counter okCount, otherCount, cancelCount;
    okCount.Watch(ok);
    otherCount.Watch(other);
    cancelCount.Watch(cancel);
    window.Show();

    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(okCount.clicks, 1) << "focus on an edit: the Default button";
    QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(okCount.clicks, 2) << "keypad Enter too";
    QTest::keyClick(edit, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(okCount.clicks, 2) << "not with Shift";

    other->setFocus();
    QTest::keyClick(other, Qt::Key_Return);
    EXPECT_EQ(otherCount.clicks, 1) << "focus on a button: that button";
    EXPECT_EQ(okCount.clicks, 2);
    EXPECT_FALSE(ok->ActiveDefault());

    edit->setFocus();
    EXPECT_TRUE(ok->ActiveDefault());
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(cancelCount.clicks, 1);

    cancel->setEnabled(false);
    ok->SetDefault(false);
    QTest::keyClick(edit, Qt::Key_Escape);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(cancelCount.clicks, 1);
    EXPECT_EQ(okCount.clicks, 2);
}

TEST(TsuiButtonKeys, ModalResultEndsADialog)
{
    QDialog dialog;
    auto* cancel = new TsuiButton(&dialog);
    auto* apply = new TsuiButton(&dialog);
    cancel->SetCancel(true);
    cancel->SetModalResult(QDialog::Rejected + 2);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    apply->Click();
    EXPECT_TRUE(dialog.isVisible()) << "ModalResult 0 leaves the dialog open";
    QTest::keyClick(apply, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 2);

    // On a skinned dialog the buttons sit on panels inside the frame: the same.
    QDialog framed;
    auto* frame = new TsuiForm(&framed);
    auto* ok = new TsuiButton(new QWidget(frame));
    ok->SetModalResult(QDialog::Accepted);
    framed.show();
    ok->Click();
    EXPECT_FALSE(framed.isVisible());
    EXPECT_EQ(framed.result(), QDialog::Accepted);
}

TEST(TsuiArrowButton, DrawsAFilledTriangleAndNoCaption)
{
    Window window;
    auto* arrow = new TsuiArrowButton(&window.widget);
    arrow->SetUIStyle(Sui::WinXP);
    arrow->resize(16, 11);
    arrow->SetCaption("X");
    const int cx = (16 - 6) / 2, cy = (11 - 3) / 2;
    for (auto direction : {TsuiArrowButton::suiUp, TsuiArrowButton::suiDown}) {
        arrow->SetArrow(direction);
        const QImage image = Render(arrow);
        const int tipY = direction == TsuiArrowButton::suiUp ? cy : cy + 3;
        const int baseY = direction == TsuiArrowButton::suiUp ? cy + 3 : cy;
        EXPECT_EQ(image.pixel(cx + 3, tipY), qRgb(0, 0, 0));
        for (int x = cx; x <= cx + 6; ++x)
            EXPECT_EQ(image.pixel(x, baseY), qRgb(0, 0, 0)) << x;
        EXPECT_NE(image.pixel(cx, tipY), qRgb(0, 0, 0));
    }
}

TEST(TsuiButtonPaint, GlyphStandsWhereTheLayoutSaysAndSwapsImagesWhenDisabled)
{
    // Two 16 x 16 images on magenta: a red square, then a green one.
    QImage glyph(32, 16, QImage::Format_RGB32);
    glyph.fill(QColor(255, 0, 255));
    QPainter painter(&glyph);
    painter.fillRect(4, 4, 8, 8, QColor(255, 0, 0));
    painter.fillRect(16 + 4, 4, 8, 8, QColor(0, 255, 0));
    painter.end();

    Window window;
    auto* button = new TsuiButton(&window.widget);
    button->SetUIStyle(Sui::WinXP);
    button->resize(120, 60);
    button->SetCaption("Go");
    button->SetGlyph(glyph);
    const QFontMetrics fm(button->font());
    const int tw = fm.horizontalAdvance("Go"), th = fm.height(), w = 120, h = 60, s = 4;
    struct Case {
        TsuiButton::TsuiButtonLayout layout;
        QPoint glyphAt;
    };
    const Case cases[] = {
        {TsuiButton::blGlyphLeft, {(w - (tw + 16 + s)) / 2, (h - 16) / 2}},
        {TsuiButton::blGlyphRight, {(w + tw + s - 16) / 2, (h - 16) / 2}},
        {TsuiButton::blGlyphTop, {(w - 16) / 2, (h - (th + 16 + s)) / 2}},
        {TsuiButton::blGlyphBottom, {(w - 16) / 2, (h + th + s - 16) / 2}},
    };
    for (const Case& c : cases) {
        button->SetLayout(c.layout);
        button->setEnabled(true);
        QImage image = Render(button);
        EXPECT_EQ(image.pixel(c.glyphAt + QPoint(4, 4)), qRgb(255, 0, 0)) << c.layout;
        EXPECT_EQ(image.pixel(c.glyphAt + QPoint(11, 11)), qRgb(255, 0, 0)) << c.layout;
        EXPECT_NE(image.pixel(c.glyphAt + QPoint(3, 3)), qRgb(255, 0, 255)) << "magenta is keyed out";
        button->setEnabled(false);
        image = Render(button);
        EXPECT_EQ(image.pixel(c.glyphAt + QPoint(4, 4)), qRgb(0, 255, 0)) << "second image while disabled";
    }
    button->setEnabled(true);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(2, 2));
    const QImage pressed = Render(button);
    EXPECT_EQ(pressed.pixel(cases[3].glyphAt + QPoint(12, 12)), qRgb(255, 0, 0)) << "pressed: one down-right";
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(2, 2));
}
