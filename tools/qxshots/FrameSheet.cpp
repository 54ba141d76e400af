// Window frames for review: per look a small window with its skinned frame, caption,
// the main window's menu and a few controls, as it stands and with the File menu down
// and an item under the pointer; and one sheet of every look's title bar in its states.
#include "FrameSheet.h"

#include "Looks.h"
#include "Shots.h"

#include "skin/SuiLook.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiFormMenuBar.h"
#include "skin/controls/TsuiButton.h"
#include "skin/controls/TsuiCheckBox.h"
#include "skin/controls/TsuiEdit.h"
#include "skin/controls/TsuiGroupBox.h"
#include "skin/controls/TsuiMainMenu.h"
#include "skin/controls/TsuiRadioButton.h"
#include "skin/controls/TsuiStatusBar.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <cstdio>

namespace qxshots {
namespace {

void SendMouse(QWidget* target, QEvent::Type type, const QPoint& at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, target->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

struct SampleWindow {
    QWidget form;
    TsuiForm* frame;
    TsuiMainMenu* menu;

    explicit SampleWindow(TsuiUIStyle look)
    {
        form.setWindowTitle(QStringLiteral("Quorlantix - Convert Video Files for your Pocket PC"));
        frame = new TsuiForm(&form);
        frame->SetClientSize(QSize(420, 250));
        frame->setObjectName("sfmMain");
        menu = new TsuiMainMenu(&form);
        QMenu* file = menu->AddSubMenu("&File");
        menu->AddItem("&Open source video...", file)->setShortcut(QKeySequence("Ctrl+O"));
        menu->AddItem("-", file);
        menu->AddItem("E&xit", file);
        QAction* disabled = menu->AddItem("Disabled item", file);
        disabled->setEnabled(false);
        QAction* checked = menu->AddItem("Checked item", file);
        checked->setCheckable(true);
        checked->setChecked(true);
        menu->AddItem("&Skins ...", menu->AddSubMenu("&Tools"));
        QMenu* help = menu->AddSubMenu("&Help");
        menu->AddItem("&Content", help);
        menu->AddItem("-", help);
        menu->AddItem("&About Quorlantix", help);

        auto* box = new TsuiGroupBox(frame);
        box->setGeometry(16, 62, 250, 110);
        box->SetCaption(" Convert this video to ");
        auto* edit = new TsuiEdit(box);
        edit->setGeometry(12, 24, 226, 19);
        edit->setText("/home/me/Videos/output.wmv");
        auto* r1 = new TsuiRadioButton(box);
        r1->move(11, 52);
        r1->SetCaption("Pocket PC Standard Video (208*160)");
        r1->SetChecked(true);
        auto* r2 = new TsuiRadioButton(box);
        r2->move(11, 76);
        r2->SetCaption("Pocket PC VGA Video (640*480)");
        auto* check = new TsuiCheckBox(frame);
        check->move(280, 70);
        check->SetCaption("Enable");
        check->SetChecked(true);
        auto* prev = new TsuiButton(frame);
        prev->setGeometry(230, 190, 88, 27);
        prev->SetCaption("<  &Prev");
        prev->setEnabled(false);
        auto* next = new TsuiButton(frame);
        next->setGeometry(324, 190, 89, 27);
        next->SetCaption("&Next  >");
        auto* status = new TsuiStatusBar(frame);
        status->SetSimpleText("Ready");
        frame->SetUIStyle(look);
        menu->SetUIStyle(look);
        ContainerApplyUIStyle(frame, look, nullptr);
        ContainerApplyUIStyle(box, look, nullptr);
        form.move(40, 40);
        form.show();
        form.activateWindow();
        Settle();
    }
};

// The window with its File menu down and the pointer on its first item.
QImage WithMenuOpen(SampleWindow& window)
{
    window.frame->MenuBar()->OpenButton(0);
    Settle();
    QMenu* menu = window.menu->Items()->actions().value(0)->menu();
    menu->setActiveAction(menu->actions().value(0));
    Settle();
    const QImage out = ShotWithMenu(&window.form, menu);
    menu->hide();
    Settle();
    return out;
}

// One look's title bar: active, inactive, the pointer on the close button, pressed.
std::vector<QImage> TitleBarStates(TsuiUIStyle look)
{
    std::vector<QImage> states;
    for (int state = 0; state < 4; ++state) {
        QWidget form;
        form.setWindowTitle(QStringLiteral("A caption long enough to be shortened in a narrow window"));
        auto* frame = new TsuiForm(&form);
        frame->SetClientSize(QSize(300, 40));
        frame->SetUIStyle(look);
        form.show();
        Settle();
        TsuiTitleBar* bar = frame->TitleBar();
        bar->SetActive(state != 1);
        if (state >= 2) {
            bar->repaint();
            const QPoint close = bar->ButtonRect(1).center();
            SendMouse(bar, QEvent::MouseMove, close, Qt::NoButton);
            if (state == 3)
                SendMouse(bar, QEvent::MouseButtonPress, close, Qt::LeftButton);
        }
        Settle();
        const QImage shot = Shot(&form);
        const int rows = int((bar->height() + 2 * TsuiForm::kFrameWidth) * form.devicePixelRatioF());
        states.push_back(shot.copy(0, 0, shot.width(), rows));
        if (state == 3)
            SendMouse(bar, QEvent::MouseButtonRelease, QPoint(-50, -50), Qt::NoButton);
    }
    return states;
}

}  // namespace

int writeFrameSheets(const QString& dir)
{
    QDir().mkpath(dir);
    std::vector<QImage> bars;
    for (const Look& l : kLooks) {
        SampleWindow window(l.look);
        const QImage standing = Shot(&window.form);
        const QImage open = WithMenuOpen(window);
        if (!Save(Row({standing, open}), dir + "/frame-" + l.name + ".png"))
            return 1;
        const std::vector<QImage> states = TitleBarStates(l.look);
        bars.push_back(Row(states));
    }
    const QImage sheet = Column(bars);
    return Save(sheet, dir + "/titlebars.png") ? 0 : 1;
}

}  // namespace qxshots
