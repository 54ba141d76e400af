#include "skin/controls/TsuiEdit.h"
#include "skin/controls/TsuiMaskEdit.h"
#include "skin/controls/TsuiNumberEdit.h"

#include "TestSupport.h"
#include "platform/MessageBox.h"

#include <QFocusEvent>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

QColor At(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

void Enter(QWidget* widget, Qt::FocusReason reason = Qt::TabFocusReason)
{
    QFocusEvent in(QEvent::FocusIn, reason);
    QApplication::sendEvent(widget, &in);
}

void Leave(QWidget* widget)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(widget, &out);
}

QString Local(const char* text)
{
    // Texts written with '.' and ',' as they read in the running locale.
    QString out = QString::fromLatin1(text);
    const QLocale locale;
    for (QChar& c : out) {
        if (c == QLatin1Char('.'))
            c = locale.decimalPoint().at(0);
        else if (c == QLatin1Char(','))
            c = locale.groupSeparator().at(0);
    }
    return out;
}

}  // namespace

TEST(TsuiEdit, EveryLookSetsTheFlatFrameOverAColourSetByHand)
{
    struct Case {
        TsuiUIStyle look;
        platform::COLORREF border;
    };
    const Case cases[] = {{Sui::MacOS, 0x7F7F7F}, {Sui::WinXP, 0x686868}, {Sui::DeepBlue, 0x000000},
                          {Sui::Protein, 0x000000}, {Sui::BlueGlass, 0x000000}, {Sui::FromThemeFile, 0x000000}};
    QWidget window;
    for (const Case& c : cases) {
        auto* edit = new TsuiEdit(&window);
        edit->resize(120, 21);
        edit->SetColor(0x00FFFF);  // yellow, so the inner pixel is told from the text area
        edit->SetBorderColor(0x123456);
        ASSERT_TRUE(edit->setProperty("UIStyle", QVariant::fromValue(c.look)));
        EXPECT_EQ(edit->BorderColor(), c.border) << int(c.look);
        const QImage shot = edit->grab().toImage();
        const QColor border = platform::ToQColor(c.border), inner = platform::ToQColor(0x00FFFF);
        for (const QPoint p : {QPoint(0, 0), QPoint(119, 20), QPoint(60, 0), QPoint(0, 10), QPoint(119, 10)})
            EXPECT_EQ(At(shot, p.x(), p.y()), border) << int(c.look) << " at " << p.x() << "," << p.y();
        for (const QPoint p : {QPoint(1, 1), QPoint(118, 19), QPoint(60, 1), QPoint(1, 10)})
            EXPECT_EQ(At(shot, p.x(), p.y()), inner) << int(c.look) << " at " << p.x() << "," << p.y();
        delete edit;
    }
}

TEST(TsuiEdit, AFileThemeThatGoesAwayLeavesDeepBlue)
{
    auto* theme = new TsuiFileTheme;
    TsuiMaskEdit edit;
    ASSERT_TRUE(edit.setProperty("FileTheme", QVariant::fromValue(theme)));
    edit.SetUIStyle(Sui::MacOS);
    EXPECT_EQ(edit.FileTheme(), theme);
    delete theme;
    EXPECT_EQ(edit.FileTheme(), nullptr);
    EXPECT_EQ(edit.UIStyle(), Sui::DeepBlue);
    EXPECT_EQ(edit.BorderColor(), 0x000000u);
}

TEST(TsuiMaskEdit, TakesItsMaskByName)
{
    TsuiMaskEdit edit;
    ASSERT_TRUE(edit.setProperty("EditMask", QStringLiteral("99-99")));
    QTest::keyClicks(&edit, "12a34");
    EXPECT_EQ(edit.text(), "12-34");
}

TEST(TsuiNumberEdit, FormatsWithItsMask)
{
    struct Case {
        double value;
        const char* mask;
        const char* text;
    };
    const Case cases[] = {
        {3, "0.00", "3.00"},          {1234.5, "#,##0.00", "1,234.50"}, {1234567, "#,##0", "1,234,567"},
        {-2, "0.00", "-2.00"},        {-0.001, "0.00", "0.00"},         {0.5, "#.##", ".5"},
        {2.5, "0.0#", "2.5"},         {2.25, "0.0#", "2.25"},           {7, "000", "007"},
        {0, "#", "0"},                {12.75, "0", "13"},               {999.999, "0.00", "1000.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TsuiNumberEdit::FormatValue(c.value, c.mask), Local(c.text)) << c.value << " " << c.mask;
}

TEST(TsuiNumberEdit, EnteringSelectsTheDecimals)
{
    QWidget window;
    auto* edit = new TsuiNumberEdit(&window);
    edit->SetValue(3);
    EXPECT_EQ(edit->text(), Local("3.00"));
    EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    Enter(edit);
    EXPECT_EQ(edit->selectedText(), "00");
    edit->SetAutoSelectSigns(0);
    edit->deselect();
    Enter(edit);
    EXPECT_EQ(edit->selectedText(), edit->text()) << "without signs to select, the whole text as any edit";
    edit->SetAutoSelectSigns(9);
    Enter(edit, Qt::MouseFocusReason);
    EXPECT_EQ(edit->selectedText(), edit->text()) << "more signs than the text has";
}

TEST(TsuiNumberEdit, TypingAcceptsOnlyWhatTheMaskAllows)
{
    struct Case {
        const char* mask;
        const char* before;
        int caret;
        char typed;
        const char* after;
    };
    const Case cases[] = {
        {"0.00", "12", 2, '5', "125"},    {"0.00", "12", 2, 'a', "12"},     {"0.00", "12", 2, '+', "12"},
        {"0.00", "12", 2, '.', "12."},    {"0.00", "1.2", 3, '.', "1.2"},   {"0", "12", 2, '.', "12"},
        {"0.00", "12", 0, '-', "12"},     {"-0.00", "12", 0, '-', "-12"},   {"-0.00", "12", 1, '-', "12"},
        {"-0.00", "-12", 0, '-', "-12"},  {"0.00", "12", 2, ' ', "12"},
    };
    for (const Case& c : cases) {
        TsuiNumberEdit edit;
        edit.SetMask(c.mask);
        edit.setText(Local(c.before));
        edit.setCursorPosition(c.caret);
        const QString typed = c.typed == '.' ? QLocale().decimalPoint() : QString(QLatin1Char(c.typed));
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, typed);
        QApplication::sendEvent(&edit, &press);
        EXPECT_EQ(edit.text(), Local(c.after)) << c.mask << " '" << c.before << "' + '" << c.typed << "'";
    }
    TsuiNumberEdit edit;
    edit.setText(QStringLiteral("12"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "1");
}

TEST(TsuiNumberEdit, ATextThatIsNoNumberBringsThePreviousValueBack)
{
    std::vector<std::string> shown;
    auto guard = qxtest::Guard(platform::SetMessageBoxHandler,
                               platform::MessageBoxHandler([&](platform::HWND, const std::string& text, const std::string& caption,
                                                               platform::UINT) {
                                   shown.push_back(caption + ": " + text);
                                   return platform::IDOK;
                               }));
    TsuiNumberEdit edit;
    edit.SetValue(2.5);
    QSignalSpy changes(&edit, &TsuiNumberEdit::OnChange);

    edit.setText(Local("1,234.5"));
    EXPECT_DOUBLE_EQ(edit.Value(), 1234.5) << "thousands separators are ignored";
    edit.setText(QStringLiteral("-"));
    EXPECT_DOUBLE_EQ(edit.Value(), 1234.5);
    EXPECT_EQ(changes.count(), 2);
    EXPECT_TRUE(shown.empty());

    edit.setText(QStringLiteral("3-5"));
    EXPECT_EQ(edit.text(), Local("1234.50"));
    EXPECT_DOUBLE_EQ(edit.Value(), 1234.5);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Error: '3-5' is not a valid floating point value");
    EXPECT_EQ(changes.count(), 3) << "only the restored text counts as a change";
}

TEST(TsuiNumberEdit, LeavingReformatsTheText)
{
    struct Case {
        const char* typed;
        const char* shown;
        double value;
    };
    const Case cases[] = {{"-", "0.00", 0}, {"", "0.00", 0}, {"7", "7.00", 7}, {"1.5", "1.50", 1.5},
                          {"1.257", "1.26", 1.26}};
    for (const Case& c : cases) {
        TsuiNumberEdit edit;
        edit.SetValue(9);
        edit.setText(Local(c.typed));
        Leave(&edit);
        EXPECT_EQ(edit.text(), Local(c.shown)) << c.typed;
        EXPECT_DOUBLE_EQ(edit.Value(), c.value) << c.typed;
    }
}
