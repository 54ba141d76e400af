#include "skin/Resources.h"
#include "skin/SuiScreen.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiFormMenuBar.h"

#include "WidgetSupport.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using qxtest::Render;

QColor Rgb(platform::COLORREF color)
{
    return platform::ToQColor(color);
}

// A window with a frame of the look; its client area is client.
struct Framed {
    QWidget form;
    TsuiForm* frame;
    explicit Framed(TsuiUIStyle look, QSize client = QSize(300, 200))
    {
        form.setWindowTitle(QStringLiteral("Framed"));
        frame = new TsuiForm(&form);
        frame->SetClientSize(client);
        frame->SetUIStyle(look);
    }
    int Wf() const { return form.width(); }
    int Hf() const { return form.height(); }
};

// A menu with the main window's three top-level items.
struct ThreeMenus {
    TsuiMenu menu;
    QAction* exit;
    explicit ThreeMenus(QObject* owner = nullptr) : menu(owner)
    {
        exit = menu.AddItem("E&xit", menu.AddSubMenu("&File"));
        menu.AddItem("&Skins ...", menu.AddSubMenu("&Tools"));
        QMenu* help = menu.AddSubMenu("&Help");
        menu.AddItem("&Content", help);
        menu.AddItem("-", help);
        menu.AddItem("&About Quorlantix", help);
    }
};

// A plain child docked to a side of the frame.
QWidget* Docked(QWidget* parent, TAlign align, QSize size)
{
    auto* w = new QWidget(parent);
    w->resize(size);
    (new SuiAligner(w))->SetAlign(align);
    return w;
}

TEST(TsuiForm, TakesOverItsWindowAndPlacesTheClientAreaInsideA3PixelFrame)
{
    QWidget form;
    form.setWindowTitle("Window");
    auto* frame = new TsuiForm(&form);
    frame->SetClientSize(QSize(690, 490));
    EXPECT_TRUE(frame->ServesForm());
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.size(), QSize(696, 496));
    EXPECT_EQ(frame->geometry(), QRect(3, 3, 690, 490));
    auto* control = new QWidget(frame);
    control->move(25, 43);
    EXPECT_EQ(control->mapTo(&form, QPoint(0, 0)), QPoint(28, 46)) << "designed places hold in the client area";
    EXPECT_EQ(frame->Caption(), "Window");
    frame->SetCaption("Renamed");
    EXPECT_EQ(form.windowTitle(), "Renamed");
    EXPECT_EQ(frame->Version(), "5.4");

    auto* second = new TsuiForm(&form);
    EXPECT_FALSE(second->ServesForm()) << "a second frame stays an inert panel";
    EXPECT_EQ(TsuiForm::Of(&form), frame);
    QWidget plain;
    auto* onPanel = new TsuiForm(new QWidget(&plain));
    EXPECT_FALSE(onPanel->ServesForm());
    EXPECT_FALSE(plain.windowFlags() & Qt::FramelessWindowHint);

    form.show();
    form.resize(400, 300);
    EXPECT_EQ(frame->geometry(), QRect(3, 3, 394, 294)) << "the frame follows its window";
}

TEST(TsuiForm, EachLookPaintsItsBorderAndCutsItsTopCorners)
{
    struct Case {
        TsuiUIStyle look;
        int borderWidth;
        QColor border, inner;
        std::vector<int> insets;  // pixels cut from each top row, from row 0; empty: square
    };
    const Case cases[] = {
        {Sui::WinXP, 3, QColor(0x00, 0x2C, 0xC8), QColor(), {4, 2, 1, 1}},
        {Sui::MacOS, 1, QColor(0x7F, 0x7F, 0x7F), QColor(0xE7, 0xE7, 0xE7), {}},
        {Sui::DeepBlue, 1, Qt::black, QColor(0xE8, 0xE8, 0xE8), {}},
        {Sui::Protein, 1, Qt::black, QColor(0xFB, 0xFB, 0xFB), {}},
        {Sui::BlueGlass, 1, Qt::black, QColor(0xE7, 0xE7, 0xE7), {3, 2, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qxtest::LookName(c.look));
        Framed w(c.look);
        const QImage shot = Render(&w.form);
        const int Wf = w.Wf(), Hf = w.Hf(), mid = Hf / 2;
        for (int i = 0; i < 3; ++i) {
            const QColor expected = i < c.borderWidth ? c.border : c.inner;
            EXPECT_EQ(shot.pixelColor(i, mid), expected) << "left column " << i;
            EXPECT_EQ(shot.pixelColor(Wf - 1 - i, mid), expected) << "right column " << i;
            EXPECT_EQ(shot.pixelColor(Wf / 2, Hf - 1 - i), expected) << "bottom row " << i;
        }
        const QRegion mask = w.form.mask();
        EXPECT_EQ(mask.isEmpty(), c.insets.empty());
        if (c.insets.empty())
            continue;
        for (int row = 0; row < 6; ++row) {
            const int inset = row < int(c.insets.size()) ? c.insets[std::size_t(row)] : 0;
            EXPECT_EQ(mask.contains(QPoint(inset, row)) && (inset == 0 || !mask.contains(QPoint(inset - 1, row))), true)
                << "left, row " << row;
            EXPECT_EQ(mask.contains(QPoint(Wf - 1 - inset, row)) && (inset == 0 || !mask.contains(QPoint(Wf - inset, row))),
                      true)
                << "right, row " << row;
        }
        EXPECT_TRUE(mask.contains(QPoint(0, Hf - 1)) && mask.contains(QPoint(Wf - 1, Hf - 1))) << "square bottom corners";
    }
}

// A Wayland compositor shows what is painted and takes the mask for input only: there the
// cut corners are painted clear, by the mask's own rule, and the picture's magenta key
// never shows.
TEST(TsuiForm, WhereNoMaskCutsTheWindowItsCutCornersArePaintedClear)
{
    SetSuiCornersPaintedClear(true);
    for (const TsuiUIStyle look : {Sui::WinXP, Sui::MacOS, Sui::DeepBlue, Sui::Protein, Sui::BlueGlass}) {
        SCOPED_TRACE(qxtest::LookName(look));
        Framed w(look);
        EXPECT_TRUE(w.form.testAttribute(Qt::WA_TranslucentBackground));
        const QImage shot = w.form.grab().toImage().convertToFormat(QImage::Format_ARGB32);
        const QRegion kept = w.form.mask().isEmpty() ? QRegion(w.form.rect()) : w.form.mask();
        int clearInside = 0, shownOutside = 0, magenta = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                const QRgb p = shot.pixel(x, y);
                if (kept.contains(QPoint(x, y)))
                    clearInside += qAlpha(p) != 255;
                else
                    shownOutside += qAlpha(p) != 0;
                magenta += qAlpha(p) != 0 && qRed(p) > 0xF0 && qGreen(p) < 0x10 && qBlue(p) > 0xF0;
            }
        EXPECT_EQ(clearInside, 0) << "every pixel of the window is opaque";
        EXPECT_EQ(shownOutside, 0) << "every cut pixel is clear";
        EXPECT_EQ(magenta, 0);
    }
    SetSuiCornersPaintedClear(std::nullopt);
    Framed onX(Sui::WinXP);
    EXPECT_FALSE(onX.form.testAttribute(Qt::WA_TranslucentBackground)) << "an X server cuts by the mask";
}

TEST(TsuiForm, TheArcsOutlineTheRoundCornersOnlyWithABorderOfOneAndACornerOf11)
{
    const auto arcPixels = [](Framed& w, int fromX) {
        const QImage shot = Render(&w.form);
        int n = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = w.frame->BorderWidth(); x < 8; ++x)
                n += shot.pixelColor(fromX == 0 ? x : w.Wf() - 1 - x, y) == Qt::red;
        return n;
    };
    Framed glass(Sui::BlueGlass);
    glass.frame->SetBorderColor(0x0000FF);  // pure red: no pixel of the artwork
    EXPECT_GE(arcPixels(glass, 0), 4);
    EXPECT_GE(arcPixels(glass, 1), 4);
    glass.frame->SetRoundCorner(12);
    EXPECT_EQ(arcPixels(glass, 0), 0);
    glass.frame->SetRoundCorner(11);
    glass.frame->SetBorderWidth(2);
    EXPECT_EQ(arcPixels(glass, 0), 0) << "only a border of one pixel";
}

TEST(TsuiForm, TheTitlePicturesRunOnIntoTheFrame)
{
    for (const TsuiUIStyle look : {Sui::MacOS, Sui::DeepBlue, Sui::Protein}) {
        SCOPED_TRACE(qxtest::LookName(look));
        Framed w(look, QSize(500, 120));
        const QImage shot = Render(&w.form);
        const QImage left = w.frame->TitleBar()->GetLeftImage().convertToFormat(QImage::Format_RGB32);
        const QImage right = w.frame->TitleBar()->GetRightImage().convertToFormat(QImage::Format_RGB32);
        const int T = w.frame->TitleBar()->height(), Wf = w.Wf(), rw = right.width();
        for (int y = 0; y < 3; ++y)
            for (int x = 2; x < std::min(left.width(), Wf - rw); ++x)
                ASSERT_EQ(shot.pixel(x, y), left.pixel(x, y)) << "top rows, x " << x << " y " << y;
        for (int y = 3; y < T + 3; ++y)
            for (int x = 1; x < 3; ++x)
                ASSERT_EQ(shot.pixel(x, y), left.pixel(x, y)) << "left strip, x " << x << " y " << y;
        if (rw < 3)
            continue;  // a narrow end picture is stretched over the strip instead
        for (int y = 0; y < T + 3; ++y)
            for (int x = Wf - 3; x < Wf - 1; ++x)
                ASSERT_EQ(shot.pixel(x, y), right.pixel(x - (Wf - rw), y)) << "right strip, x " << x << " y " << y;
    }
}

TEST(TsuiForm, TheClientBackgroundIsThePatternOrTheLooksColour)
{
    for (const TsuiUIStyle look : qxtest::kLooks) {
        SCOPED_TRACE(qxtest::LookName(look));
        Framed w(look);
        const QImage client = Render(w.frame);
        const char* pattern = look == Sui::MacOS ? "MACOS_FORM_BACKGROUND" : look == Sui::Protein ? "PROTEIN_FORM_BACKGROUND" : nullptr;
        const QImage tile = pattern ? LoadBitmapResource(pattern).convertToFormat(QImage::Format_RGB32) : QImage();
        for (int y = 100; y < 116; ++y)
            for (int x = 40; x < 56; ++x)
                ASSERT_EQ(client.pixel(x, y),
                          pattern ? tile.pixel(x % 8, y % 8) : Rgb(GetInsideThemeColor(look, SUI_THEME_FORM_BACKGROUND_COLOR)).rgb())
                    << x << "," << y;
    }
}

TEST(TsuiForm, WithoutTitleBarATopLineAndASquareWindow)
{
    Framed w(Sui::WinXP);
    w.form.show();
    EXPECT_EQ(w.frame->RoundCorner(), 13);
    w.frame->SetTitleBarVisible(false);
    EXPECT_EQ(w.frame->RoundCorner(), 0);
    const QImage shot = Render(&w.form);
    EXPECT_EQ(shot.pixelColor(w.Wf() / 2, 0), QColor(0x00, 0x2C, 0xC8));
    EXPECT_EQ(shot.pixelColor(w.Wf() / 2, 1), QColor(0xEF, 0xEB, 0xDE));
    EXPECT_EQ(shot.pixelColor(w.Wf() / 2, 2), QColor(0xEF, 0xEB, 0xDE));
    EXPECT_FALSE(w.form.mask().isEmpty()) << "the region changes with the next size change";
    w.form.resize(w.Wf() + 10, w.Hf());
    EXPECT_TRUE(w.form.mask().isEmpty());
    EXPECT_EQ(w.frame->TitleBar()->isHidden(), true);
}

TEST(TsuiForm, DockedChildrenShareTheClientAreaInSiblingOrder)
{
    Framed w(Sui::MacOS, QSize(400, 300));
    QWidget* top = Docked(w.frame, SuiLayout::alTop, QSize(10, 75));
    QWidget* client = Docked(w.frame, SuiLayout::alClient, QSize(10, 10));
    QWidget* status = Docked(w.frame, SuiLayout::alBottom, QSize(10, 19));
    QWidget* buttons = Docked(w.frame, SuiLayout::alBottom, QSize(10, 47));
    ThreeMenus menus;
    w.frame->SetMenu(&menus.menu);  // made last, shown under the title bar all the same
    const int T = w.frame->TitleBar()->height();
    EXPECT_EQ(T, 20);
    EXPECT_EQ(w.frame->TitleBar()->geometry(), QRect(0, 0, 400, 20));
    EXPECT_EQ(w.frame->MenuBar()->geometry(), QRect(0, 20, 400, 22));
    EXPECT_EQ(top->geometry(), QRect(0, 42, 400, 75));
    EXPECT_EQ(status->geometry(), QRect(0, 281, 400, 19));
    EXPECT_EQ(buttons->geometry(), QRect(0, 234, 400, 47));
    EXPECT_EQ(client->geometry(), QRect(0, 117, 400, 117));

    w.frame->SetUIStyle(Sui::BlueGlass);  // a higher title bar pushes the rest down
    EXPECT_EQ(w.frame->TitleBar()->height(), 30);
    EXPECT_EQ(top->geometry().top(), 52);
    EXPECT_EQ(client->geometry(), QRect(0, 127, 400, 107));

    top->hide();
    EXPECT_EQ(client->geometry().top(), 52) << "a hidden child takes no room";
    top->show();
    QWidget elsewhere;
    elsewhere.resize(200, 100);
    top->setParent(&elsewhere);
    EXPECT_EQ(client->geometry().top(), 52) << "a child that leaves frees its room";
    EXPECT_EQ(top->geometry(), QRect(0, 0, 200, 75)) << "and docks in its new parent";
    delete status;
    EXPECT_EQ(buttons->geometry(), QRect(0, 253, 400, 47));
}

TEST(TsuiForm, TheMenuBarShowsTheTopLevelItemsAndFollowsTheLook)
{
    Framed w(Sui::MacOS);
    auto menus = std::make_unique<ThreeMenus>();
    w.frame->SetMenu(&menus->menu);
    TsuiFormMenuBar* bar = w.frame->MenuBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->ButtonCount(), 3);
    EXPECT_EQ(bar->ButtonCaption(0), "&File");
    EXPECT_EQ(bar->ButtonCaption(2), "&Help");
    EXPECT_EQ(bar->height(), 22);
    EXPECT_EQ(bar->ButtonRect(1).left(), bar->ButtonRect(0).right() + 1) << "in menu order, side by side";

    menus->menu.AddSubMenu("&Extra");
    EXPECT_EQ(bar->ButtonCount(), 4) << "an added item gets its button";
    menus->exit->menu();  // no-op, keeps the item
    QAction* tools = menus->menu.Items()->actions()[1];
    tools->setEnabled(false);
    EXPECT_FALSE(bar->ButtonEnabled(1));
    tools->setText("&Utilities");
    EXPECT_EQ(bar->ButtonCaption(1), "&Utilities");

    // The bar's colour is the look's window colour, beside it too.
    for (const TsuiUIStyle look : {Sui::WinXP, Sui::DeepBlue, Sui::BlueGlass}) {
        SCOPED_TRACE(qxtest::LookName(look));
        w.frame->SetUIStyle(look);
        const QColor colour = Rgb(GetInsideThemeColor(look, SUI_THEME_FORM_BACKGROUND_COLOR));
        EXPECT_EQ(w.frame->MenuBarColor(), GetInsideThemeColor(look, SUI_THEME_FORM_BACKGROUND_COLOR));
        EXPECT_EQ(Render(bar).pixelColor(bar->width() - 5, 10), colour);
        EXPECT_EQ(menus->menu.UIStyle(), look) << "the menu takes the frame's look";
    }
    w.frame->SetMenuBarColor(0x0000FF);
    const QImage shot = Render(&w.form);
    const int barTop = 3 + w.frame->TitleBar()->height();
    for (const int y : {barTop, barTop + 10, barTop + 21}) {
        EXPECT_EQ(shot.pixelColor(1, y), Qt::red) << y;
        EXPECT_EQ(shot.pixelColor(w.Wf() - 2, y), Qt::red) << y;
    }
    EXPECT_NE(shot.pixelColor(1, barTop + 22), Qt::red);

    menus.reset();
    EXPECT_EQ(w.frame->MenuBar(), nullptr) << "the menu went, and its bar with it";
    EXPECT_EQ(w.frame->Menu(), nullptr);
}

TEST(TsuiForm, AMenuBarButtonDropsItsMenuDownUnderIt)
{
    Framed w(Sui::WinXP);
    ThreeMenus menus;
    w.frame->SetMenu(&menus.menu);
    qxtest::ShowActive(&w.form);
    TsuiFormMenuBar* bar = w.frame->MenuBar();
    qxtest::MousePress(bar, bar->ButtonRect(0).center());
    QMenu* file = menus.menu.Items()->actions()[0]->menu();
    ASSERT_TRUE(file->isVisible());
    EXPECT_EQ(bar->OpenIndex(), 0);
    EXPECT_EQ(file->pos(), bar->mapToGlobal(QPoint(bar->ButtonRect(0).left(), bar->height())));
    QTest::keyClick(file, Qt::Key_Right);
    QMenu* tools = menus.menu.Items()->actions()[1]->menu();
    EXPECT_FALSE(file->isVisible());
    EXPECT_TRUE(tools->isVisible()) << "Right moves on to the next menu";
    tools->hide();
    EXPECT_EQ(bar->OpenIndex(), -1);

    QTest::keyClick(&w.form, Qt::Key_H, Qt::AltModifier);
    EXPECT_TRUE(menus.menu.Items()->actions()[2]->menu()->isVisible()) << "Alt and the underlined letter";
    menus.menu.Items()->actions()[2]->menu()->hide();
}

TEST(TsuiForm, ThePanelCannotBeTheFrameItself)
{
    Framed w(Sui::MacOS);
    qxtest::MessageBoxRecorder boxes;
    w.frame->SetPanel(w.frame);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Sorry, you can't select the Form assign to FormPanel property");
    EXPECT_EQ(w.frame->FormPanel(), nullptr);
    auto* panel = new QWidget(w.frame);
    w.frame->SetPanel(panel);
    EXPECT_EQ(w.frame->FormPanel(), panel);
    EXPECT_EQ(panel->geometry(), QRect(0, 20, 300, 180)) << "it fills the client area under the title bar";
}

TEST(TsuiForm, MenuShortcutsRunWhileTheWindowIsActiveAndAltSpaceOpensTheControlMenu)
{
    Framed w(Sui::WinXP);
    ThreeMenus menus;
    menus.exit->setShortcut(QKeySequence("Ctrl+Q"));
    int exits = 0;
    QObject::connect(menus.exit, &QAction::triggered, [&] { ++exits; });
    w.frame->SetMenu(&menus.menu);
    auto* edit = new QWidget(w.frame);
    edit->setFocusPolicy(Qt::StrongFocus);
    qxtest::ShowActive(&w.form);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(exits, 1) << "the window has no native menu, yet the shortcut runs";
    menus.exit->setEnabled(false);
    QTest::keyClick(edit, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(exits, 1) << "not a disabled item";
    menus.exit->setEnabled(true);

    QWidget other;
    other.resize(100, 100);
    qxtest::ShowActive(&other);
    QTest::keyClick(&other, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(exits, 1) << "not while another window is active";

    qxtest::ShowActive(&w.form);
    QTest::keyClick(edit, Qt::Key_Space, Qt::AltModifier);
    QMenu* control = w.frame->TitleBar()->ControlBoxMenu()->Items();
    ASSERT_TRUE(control->isVisible());
    EXPECT_EQ(control->pos(), w.form.mapToGlobal(QPoint(0, 3 + w.frame->TitleBar()->height())));
    control->hide();
}

}  // namespace
