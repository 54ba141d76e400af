// Window frames for review: per look a small window with its skinned frame, caption,
// the main window's menu and a few controls, as it stands and with the File menu down
// and an item under the pointer; and one sheet of every look's title bar in its states.
#include "FrameSheet.h"

#include "Looks.h"

#include "skin/DrawUtil.h"
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

const QColor kSheet(0xB4, 0xB4, 0xB4);
constexpr int kGap = 24;

void Settle()
{
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
}

// The window as the screen shows it, in device pixels: its mask cut out of the grab.
QImage Shot(QWidget* widget)
{
    QImage image = widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const qreal dpr = image.devicePixelRatio();
    image.setDevicePixelRatio(1);
    const QRegion mask = widget->mask();
    if (!mask.isEmpty()) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (!mask.contains(QPoint(int(x / dpr), int(y / dpr))))
                    image.setPixel(x, y, 0);
    }
    return image;
}

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
    TsuiFormMenuBar* bar = window.frame->MenuBar();
    bar->OpenButton(0);
    Settle();
    QMenu* menu = window.menu->Items()->actions().value(0)->menu();
    menu->setActiveAction(menu->actions().value(0));
    Settle();
    const QImage form = Shot(&window.form);
    const QImage drop = Shot(menu);
    const QPoint at = (menu->pos() - window.form.pos()) * window.form.devicePixelRatioF();
    QImage out(std::max(form.width(), at.x() + drop.width()), std::max(form.height(), at.y() + drop.height()),
               QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.drawImage(0, 0, form);
    p.drawImage(at, drop);
    p.end();
    menu->hide();
    Settle();
    return out;
}

QImage Row(const std::vector<QImage>& images)
{
    int w = kGap, h = 0;
    for (const QImage& i : images) {
        w += i.width() + kGap;
        h = std::max(h, i.height());
    }
    QImage out(w, h + 2 * kGap, QImage::Format_ARGB32);
    out.fill(kSheet);
    QPainter p(&out);
    int x = kGap;
    for (const QImage& i : images) {
        p.drawImage(x, kGap, i);
        x += i.width() + kGap;
    }
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

bool Save(const QImage& image, const QString& path)
{
    if (!image.save(path)) {
        std::fprintf(stderr, "qxshots: %s cannot be written\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
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
    int w = 0, h = 0;
    for (const QImage& b : bars) {
        w = std::max(w, b.width());
        h += b.height();
    }
    QImage sheet(w, h, QImage::Format_ARGB32);
    sheet.fill(kSheet);
    QPainter p(&sheet);
    int y = 0;
    for (const QImage& b : bars) {
        p.drawImage(0, y, b);
        y += b.height();
    }
    p.end();
    return Save(sheet, dir + "/titlebars.png") ? 0 : 1;
}

}  // namespace qxshots
