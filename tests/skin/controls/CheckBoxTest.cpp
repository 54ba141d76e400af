#include "skin/SuiPicture.h"
#include "skin/controls/TsuiCheckBox.h"
#include "skin/controls/TsuiRadioButton.h"

#include "WidgetSupport.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <map>

namespace {

using qxtest::DoubleClick;
using qxtest::kLooks;
using Window = qxtest::TestWindow;

QImage Frame(TsuiUIStyle look, int entry, int index)
{
    QImage frame;
    GetInsideThemeBitmap(look, entry, &frame, 4, index);
    return frame.convertToFormat(QImage::Format_RGB32);
}

// OnClick events per control.
struct ClickLog {
    std::map<const TsuiCheckBox*, int> counts;
    void Watch(TsuiCheckBox* box)
    {
        counts[box] = 0;
        QObject::connect(box, &TsuiCheckBox::OnClick, [this, box] { ++counts[box]; });
    }
    int Of(const TsuiCheckBox* box) const { return counts.at(box); }
};

}  // namespace

TEST(TsuiCheckBoxPaint, DrawsTheFrameOfItsStateBesideTheCaption)
{
    struct Case {
        bool checked, enabled;
        int frame;
    };
    const Case cases[] = {{true, true, 1}, {false, true, 2}, {true, false, 3}, {false, false, 4}};
    for (TsuiUIStyle look : kLooks)
        for (const Case& c : cases) {
            Window window;
            auto* box = new TsuiCheckBox(&window.widget);
            box->SetUIStyle(look);
            box->SetCaption("Limit");
            box->SetChecked(c.checked);
            box->setEnabled(c.enabled);
            EXPECT_EQ(box->FrameIndex(), c.frame);
            const QImage image = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QImage frame = Frame(look, SUI_THEME_CHECKBOX_IMAGE, c.frame);
            const QImage drawn = image.copy(1, (box->height() - frame.height()) / 2, frame.width(), frame.height());
            EXPECT_EQ(drawn, frame) << "look " << int(look) << " frame " << c.frame;
            // The caption keeps the font colour when disabled.
            box->setEnabled(!c.enabled);
            const QImage other = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QRect caption = RectLTRB(frame.width() + 4, 0, box->width(), box->height());
            EXPECT_EQ(image.copy(caption), other.copy(caption)) << "look " << int(look);
        }
}

TEST(TsuiCheckBoxPaint, RadioPictureLeavesItsKeyColourOut)
{
    Window window;
    QPalette pal = window.widget.palette();
    pal.setColor(QPalette::Window, QColor(10, 200, 30));
    window.widget.setPalette(pal);
    auto* radio = new TsuiRadioButton(&window.widget);
    radio->SetUIStyle(Sui::WinXP);
    const QImage image = radio->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage frame = Frame(Sui::WinXP, SUI_THEME_RADIOBUTTON_IMAGE, 2);
    const int top = (radio->height() - frame.height()) / 2;
    const QRgb key = frame.pixel(0, frame.height() - 1);
    int keyed = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            const QRgb shown = image.pixel(1 + x, top + y);
            if (frame.pixel(x, y) == key) {
                ++keyed;
                EXPECT_EQ(shown, qRgb(10, 200, 30)) << x << "," << y;
            } else {
                EXPECT_EQ(shown, frame.pixel(x, y)) << x << "," << y;
            }
        }
    EXPECT_GT(keyed, 0);
}

TEST(TsuiCheckBox, AutoSizeFitsPictureAndCaption)
{
    for (TsuiUIStyle look : kLooks) {
        for (bool radio : {false, true}) {
            TsuiCheckBox* box = radio ? new TsuiRadioButton : new TsuiCheckBox;
            box->SetUIStyle(look);
            box->SetCaption("&Wide screen");
            const QImage frame =
                Frame(look, radio ? SUI_THEME_RADIOBUTTON_IMAGE : SUI_THEME_CHECKBOX_IMAGE, 2);
            const QFontMetrics fm(box->font());
            EXPECT_EQ(box->height(), std::max(fm.height() + 2, frame.height()) + 4) << int(look);
            EXPECT_EQ(box->width(), frame.width() + fm.horizontalAdvance("Wide screen") + 8) << int(look);
            box->SetAutoSize(false);
            box->resize(200, 40);
            box->SetCaption("x");
            EXPECT_EQ(box->size(), QSize(200, 40)) << "without AutoSize the size stays";
            delete box;
        }
    }
}

TEST(TsuiCheckBox, OnClickFollowsTheCheckedState)
{
    ClickLog log;
    Window window;
    auto* box = new TsuiCheckBox(&window.widget);
    log.Watch(box);
    box->SetChecked(false);
    EXPECT_EQ(log.Of(box), 0) << "no change, no event";
    box->SetChecked(true);
    box->SetChecked(false);
    EXPECT_EQ(log.Of(box), 2) << "both directions";

    box->setProperty("State", QVariant::fromValue(TsuiCheckBox::cbChecked));
    EXPECT_TRUE(box->Checked());
    box->SetState(TsuiCheckBox::cbGrayed);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(box->State(), TsuiCheckBox::cbUnchecked);
    EXPECT_EQ(log.Of(box), 4);

    {
        SuiLoadingScope loading(&window.widget);
        box->SetChecked(true);
    }
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(log.Of(box), 4) << "never while the window is being built";

    DoubleClick(box);
    EXPECT_EQ(log.Of(box), 6) << "a double click toggles twice";
    EXPECT_TRUE(box->Checked());
}

TEST(TsuiCheckBox, SpaceEnterAndAcceleratorToggleAnEnabledBox)
{
    ClickLog log;
    Window window;
    auto* box = new TsuiCheckBox(&window.widget);
    auto* other = new TsuiCheckBox(&window.widget);
    other->move(0, 50);
    box->SetCaption("&Restrict");
    log.Watch(box);
    window.Show();
    box->setFocus();

    QTest::keyPress(box, Qt::Key_Space);
    EXPECT_FALSE(box->Checked()) << "the toggle comes with the release";
    QTest::keyRelease(box, Qt::Key_Space);
    EXPECT_TRUE(box->Checked());
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_FALSE(box->Checked());

    other->setFocus();
    QTest::keyClick(&window.widget, Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(box->Checked());
    EXPECT_TRUE(box->hasFocus()) << "the accelerator focuses";
    EXPECT_EQ(log.Of(box), 3);

    box->setEnabled(false);
    QTest::keyClick(box, Qt::Key_Space);
    QTest::keyClick(&window.widget, Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(log.Of(box), 3) << "disabled";
}

TEST(TsuiRadioButton, ChecksOnlyOnAClickAndIgnoresSpace)
{
    ClickLog log;
    Window window;
    auto* radio = new TsuiRadioButton(&window.widget);
    radio->SetCaption("&VGA");
    log.Watch(radio);
    window.Show();
    radio->setFocus();
    QTest::keyClick(radio, Qt::Key_Space);
    EXPECT_FALSE(radio->Checked());
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(radio->Checked());
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(radio->Checked()) << "a second click does not uncheck";
    EXPECT_EQ(log.Of(radio), 1);
    radio->SetChecked(false);
    EXPECT_EQ(log.Of(radio), 1) << "unchecking raises nothing";
    DoubleClick(radio);
    EXPECT_TRUE(radio->Checked());
    EXPECT_EQ(log.Of(radio), 2) << "a double click selects once";
    radio->SetChecked(false);
    QTest::keyClick(&window.widget, Qt::Key_V, Qt::AltModifier);
    EXPECT_TRUE(radio->Checked());
}

TEST(TsuiRadioButton, ExcludesSiblingsOfTheSameParentAndGroupIndexOnly)
{
    ClickLog log;
    QWidget window;
    QWidget box(&window);
    QWidget otherBox(&window);
    TsuiRadioButton* a[3];
    for (auto*& r : a)
        r = new TsuiRadioButton(&box);
    auto* indexOne = new TsuiRadioButton(&box);
    indexOne->SetGroupIndex(1);
    auto* elsewhere = new TsuiRadioButton(&otherBox);
    for (TsuiRadioButton* r : {a[0], a[1], indexOne, elsewhere}) {
        r->SetChecked(true);
        log.Watch(r);
    }
    log.Watch(a[2]);
    a[2]->Click();
    EXPECT_FALSE(a[0]->Checked());
    EXPECT_FALSE(a[1]->Checked());
    EXPECT_TRUE(a[2]->Checked());
    EXPECT_TRUE(indexOne->Checked()) << "another GroupIndex";
    EXPECT_TRUE(elsewhere->Checked()) << "another parent";
    EXPECT_EQ(log.Of(a[0]) + log.Of(a[1]), 0) << "only the newly checked one raises OnClick";
    EXPECT_EQ(log.Of(a[2]), 1);

    {
        SuiLoadingScope loading(&window);
        a[0]->SetChecked(true);
    }
    EXPECT_FALSE(a[2]->Checked()) << "exclusion holds while loading too";
    EXPECT_EQ(log.Of(a[0]), 0);
}

TEST(TsuiCheckBox, LooksSetByNameAndAFileThemeThatGoesAway)
{
    TsuiRadioButton radio;
    auto* theme = new TsuiFileTheme;
    EXPECT_TRUE(radio.setProperty("UIStyle", QVariant::fromValue(Sui::MacOS)));
    EXPECT_TRUE(radio.setProperty("FileTheme", QVariant::fromValue(theme)));
    EXPECT_EQ(radio.UIStyle(), Sui::MacOS);
    delete theme;
    EXPECT_EQ(radio.FileTheme(), nullptr);
    EXPECT_EQ(radio.UIStyle(), Sui::DeepBlue);
}
