#include "skin/SuiScreen.h"
#include "skin/TsuiForm.h"

#include "WidgetSupport.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

using qxtest::Render;

// A window that counts its close requests.
class Form : public QWidget {
public:
    int closes = 0;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        ++closes;
        QWidget::closeEvent(event);
    }
};

struct Framed {
    Form form;
    TsuiForm* frame;
    TsuiTitleBar* bar;
    explicit Framed(TsuiUIStyle look, QSize client = QSize(300, 100))
    {
        form.setWindowTitle(QStringLiteral("Caption"));
        frame = new TsuiForm(&form);
        frame->SetClientSize(client);
        frame->SetUIStyle(look);
        bar = frame->TitleBar();
        form.show();  // the bar lays its buttons out as it paints
    }
    // The index of the first button of the type.
    int Index(TsuiTitleBarBtnType type) const
    {
        for (int i = 0; i < bar->Buttons()->Count(); ++i)
            if (bar->Buttons()->Item(i)->ButtonType() == type)
                return i;
        return -1;
    }
    TsuiTitleBarButton* Button(TsuiTitleBarBtnType type) const { return bar->Buttons()->Item(Index(type)); }
    QPoint Centre(TsuiTitleBarBtnType type) const
    {
        bar->repaint();
        return bar->ButtonRect(Index(type)).center();
    }
    // The main window's buttons: control box, close and minimise.
    void WithoutMaximise() { Button(SuiTitleBar::suiMax)->SetVisible(false); }
};

TEST(TsuiTitleBar, HeightButtonsAndCaptionColourOfEachLook)
{
    struct Case {
        TsuiUIStyle look;
        int height;
        QColor caption;
    };
    const Case cases[] = {{Sui::MacOS, 20, Qt::black},
                          {Sui::WinXP, 26, Qt::white},
                          {Sui::DeepBlue, 29, Qt::white},
                          {Sui::Protein, 20, Qt::white},
                          {Sui::BlueGlass, 30, Qt::white}};
    for (const Case& c : cases) {
        SCOPED_TRACE(qxtest::LookName(c.look));
        Framed w(c.look);
        EXPECT_EQ(w.bar->height(), c.height);
        EXPECT_EQ(platform::ToQColor(w.bar->FontColor()), c.caption);
        EXPECT_TRUE(w.bar->InForm());
        EXPECT_TRUE(w.bar->CanPaint());
    }

    Framed mac(Sui::MacOS);
    mac.WithoutMaximise();
    const int W = mac.bar->width();
    mac.bar->repaint();
    const QRect close = mac.bar->ButtonRect(mac.Index(SuiTitleBar::suiClose));
    const QRect minimise = mac.bar->ButtonRect(mac.Index(SuiTitleBar::suiMin));
    EXPECT_EQ(close, QRect(W - 19, 1, 17, 17)) << "17 x 17 at y 1, its right edge at W - 2";
    EXPECT_EQ(minimise, QRect(W - 37, 1, 17, 17)) << "left of it, one pixel apart";

    Framed xp(Sui::WinXP);
    xp.bar->repaint();
    const QRect xpClose = xp.bar->ButtonRect(xp.Index(SuiTitleBar::suiClose));
    EXPECT_EQ(xpClose.size(), QSize(21, 21));
    EXPECT_EQ(xpClose.top(), 2);
}

TEST(TsuiTitleBar, ALongCaptionIsShortenedWithDotsAndTheWindowKeepsItsTitle)
{
    Framed w(Sui::WinXP, QSize(200, 60));
    const QString title = QStringLiteral("Quorlantix - Convert Video Files for your Pocket PC");
    w.frame->SetCaption(title);
    w.bar->repaint();
    const QString shown = w.bar->ShownCaption();
    EXPECT_TRUE(shown.endsWith("...")) << shown.toStdString();
    EXPECT_TRUE(title.startsWith(shown.chopped(3)));
    const int room = w.bar->ButtonRect(w.Index(SuiTitleBar::suiMin)).left() -
                     (w.bar->ButtonRect(w.Index(SuiTitleBar::suiControlBox)).right() + 1 + 5);
    EXPECT_LE(QFontMetrics(w.bar->Font()).horizontalAdvance(shown), room);
    EXPECT_EQ(w.form.windowTitle(), title);

    w.bar->SetButtonInterval(60);  // no room even for the dots

    EXPECT_EQ(w.bar->ShownCaption(), "...");
    w.bar->SetButtonInterval(0);
    w.form.resize(600, 60);
    EXPECT_EQ(w.bar->ShownCaption(), title);
}

TEST(TsuiTitleBar, AnInactiveWindowShowsItsCaptionInTheInactiveColour)
{
    Framed w(Sui::WinXP);
    const QRect caption(40, 4, 80, 14);
    const auto count = [&](const QColor& colour) {
        const QImage shot = Render(w.bar);
        int n = 0;
        for (int y = caption.top(); y <= caption.bottom(); ++y)
            for (int x = caption.left(); x <= caption.right(); ++x)
                n += shot.pixelColor(x, y) == colour;
        return n;
    };
    const QColor inactive = platform::ToQColor(platform::kSystemColorFlag | platform::COLOR_INACTIVECAPTION);
    EXPECT_GT(count(Qt::white), 20);
    w.bar->SetActive(false);
    EXPECT_EQ(count(Qt::white), 0);
    EXPECT_GT(count(inactive), 20);
}

TEST(TsuiTitleBar, ButtonsShowTheMouseOverAndPressedPictures)
{
    Framed w(Sui::WinXP);  // opaque button pictures
    TsuiTitleBarButton* close = w.Button(SuiTitleBar::suiClose);
    const QPoint at = w.Centre(SuiTitleBar::suiClose);
    const QRect r = w.bar->ButtonRect(w.Index(SuiTitleBar::suiClose));
    const auto shown = [&] { return Render(w.bar).copy(r); };
    EXPECT_EQ(shown(), close->PicNormal().convertToFormat(QImage::Format_RGB32));
    qxtest::MouseMove(w.bar, at);
    EXPECT_EQ(w.bar->HotIndex(), w.Index(SuiTitleBar::suiClose));
    EXPECT_EQ(shown(), close->PicMouseOn().convertToFormat(QImage::Format_RGB32));
    qxtest::MousePress(w.bar, at);
    EXPECT_EQ(shown(), close->PicMouseDown().convertToFormat(QImage::Format_RGB32));
    qxtest::MouseRelease(w.bar, QPoint(100, 5));
    qxtest::MouseMove(w.bar, QPoint(100, 5));
    EXPECT_EQ(shown(), close->PicNormal().convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(w.form.closes, 0) << "released away from every button: no click";
}

TEST(TsuiTitleBar, TheButtonUnderThePointerAtReleaseIsTheOneClicked)
{
    Framed w(Sui::DeepBlue);
    w.Button(SuiTitleBar::suiMax)->SetButtonType(SuiTitleBar::suiHelp);
    w.Button(SuiTitleBar::suiMin)->SetButtonType(SuiTitleBar::suiCustom);
    std::vector<std::pair<std::string, int>> clicks;
    QObject::connect(w.frame, &TsuiForm::OnTitleBarHelpBtnClick, [&](QObject*, int i) { clicks.emplace_back("help", i); });
    QObject::connect(w.frame, &TsuiForm::OnTitleBarCustomBtnsClick,
                     [&](QObject*, int i) { clicks.emplace_back("custom", i); });
    const QPoint help = w.Centre(SuiTitleBar::suiHelp), custom = w.Centre(SuiTitleBar::suiCustom);
    qxtest::MousePress(w.bar, custom);
    qxtest::MouseMove(w.bar, help, Qt::LeftButton);
    qxtest::MouseRelease(w.bar, help);
    using Click = std::pair<std::string, int>;
    EXPECT_EQ(clicks, (std::vector<Click>{{"help", w.Index(SuiTitleBar::suiHelp)}}));
    qxtest::Click(w.bar, custom);
    EXPECT_EQ(clicks.back(), (Click{"custom", w.Index(SuiTitleBar::suiCustom)}));
}

TEST(TsuiTitleBar, WithoutAMaximiseButtonADoubleClickDoesNothingAndTheMenuSaysSo)
{
    Framed w(Sui::MacOS);
    w.WithoutMaximise();
    qxtest::DoubleClick(w.bar, QPoint(w.bar->width() / 2, 8));
    EXPECT_FALSE(w.form.isMaximized());
    TsuiTitleBarPopupMenu* menu = w.bar->ControlBoxMenu();
    menu->UpdateItems();
    EXPECT_TRUE(menu->MinimizeItem()->isEnabled());
    EXPECT_FALSE(menu->MaximizeItem()->isEnabled());
    EXPECT_TRUE(menu->CloseItem()->isEnabled());
    menu->CloseItem()->trigger();
    EXPECT_EQ(w.form.closes, 1) << "close goes through the window's close query";

    Framed full(Sui::MacOS);
    qxtest::DoubleClick(full.bar, QPoint(full.bar->width() / 2, 8));
    QApplication::processEvents();
    EXPECT_TRUE(full.form.isMaximized());
    qxtest::DoubleClick(full.bar, QPoint(full.bar->width() / 2, 8));
    QApplication::processEvents();
    EXPECT_FALSE(full.form.isMaximized());

    qxtest::Click(full.bar, full.Centre(SuiTitleBar::suiControlBox));
    EXPECT_TRUE(full.bar->ControlBoxMenu()->Items()->isVisible()) << "a click on the control box shows its menu";
    EXPECT_EQ(full.bar->ControlBoxMenu()->Items()->pos(), full.bar->mapToGlobal(QPoint(0, full.bar->height())));
    full.bar->ControlBoxMenu()->Items()->hide();
    qxtest::DoubleClick(full.bar, full.Centre(SuiTitleBar::suiControlBox));
    EXPECT_EQ(full.form.closes, 1) << "a double click on the control box closes the window";
}

TEST(TsuiTitleBar, DraggingTheBarMovesTheWindowUnlessItIsMaximised)
{
    Framed w(Sui::WinXP);
    w.form.move(100, 100);
    // The pointer's screen position, whatever the window does meanwhile.
    const auto drag = [&](QPoint from, QPoint by) {
        const QPoint start = w.bar->mapToGlobal(from);
        const auto send = [&](QEvent::Type type, QPoint global, Qt::MouseButtons held) {
            QMouseEvent e(type, w.bar->mapFromGlobal(global), global, Qt::LeftButton, held, Qt::NoModifier);
            QApplication::sendEvent(w.bar, &e);
        };
        send(QEvent::MouseButtonPress, start, Qt::LeftButton);
        send(QEvent::MouseMove, start + by / 2, Qt::LeftButton);
        send(QEvent::MouseMove, start + by, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, start + by, Qt::NoButton);
    };
    drag(QPoint(w.bar->width() / 2, 10), QPoint(40, 26));
    EXPECT_EQ(w.form.pos(), QPoint(140, 126));

    w.form.showMaximized();
    QApplication::processEvents();
    ASSERT_TRUE(w.form.isMaximized());
    const QPoint placed = w.form.pos();
    drag(QPoint(w.bar->width() / 2, 10), QPoint(40, 26));
    EXPECT_EQ(w.form.pos(), placed);
}

TEST(TsuiTitleBar, MinimiseTakesTheWholeApplicationOnlyFromTheMainWindow)
{
    Framed main(Sui::MacOS), dialog(Sui::MacOS);
    SetSuiMainForm(&main.form);
    qxtest::Click(dialog.bar, dialog.Centre(SuiTitleBar::suiMin));
    EXPECT_TRUE(dialog.form.isMinimized());
    EXPECT_FALSE(main.form.isMinimized());
    dialog.form.showNormal();
    qxtest::Click(main.bar, main.Centre(SuiTitleBar::suiMin));
    EXPECT_TRUE(main.form.isMinimized());
    EXPECT_TRUE(dialog.form.isMinimized());
    SetSuiMainForm(nullptr);
}

TEST(TsuiTitleBar, OneControlBoxAndOneStretchedSectionAtMost)
{
    Framed w(Sui::MacOS);
    qxtest::MessageBoxRecorder boxes;
    TsuiTitleBarButton* extra = w.bar->Buttons()->Add();
    extra->SetButtonType(SuiTitleBar::suiControlBox);
    EXPECT_EQ(extra->ButtonType(), SuiTitleBar::suiCustom);
    w.bar->Sections()->Add()->SetAlign(SuiTitleBar::suiClient);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].Line(), "Error: Sorry, only one button's ButtonType property can be \"suiControlBox\"");
    EXPECT_EQ(boxes.boxes[1].Line(), "Error: Sorry, only one section's Align property can be \"suiClient\"");
    EXPECT_EQ(w.bar->Sections()->Item(3)->Align(), SuiTitleBar::suiLeft);
}

TEST(TsuiTitleBar, TheControlMenuSpeaksTheUsersLanguage)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_EQ(TsuiTitleBarPopupMenu::ItemTexts(), QStringList({"Mi&nimize", "Ma&ximize/Restore", "-", "&Close"}));
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    const QStringList chinese = TsuiTitleBarPopupMenu::ItemTexts();
    EXPECT_EQ(chinese[0], QString::fromUtf8("最小化(&N)"));
    EXPECT_EQ(chinese[3], QString::fromUtf8("关闭(&C)"));
    QLocale::setDefault(saved);
}

}  // namespace
