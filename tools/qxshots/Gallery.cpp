#include "Gallery.h"

#include "Looks.h"

#include "skin/SuiLook.h"
#include "skin/controls/TsuiEdit.h"
#include "skin/controls/TsuiGroupBox.h"
#include "skin/controls/TsuiImagePanel.h"
#include "skin/controls/TsuiMaskEdit.h"
#include "skin/controls/TsuiNumberEdit.h"
#include "skin/controls/TsuiPanel.h"
#include "skin/controls/TsuiStatusBar.h"
#include "skin/controls/TsuiURLLabel.h"
#include "skin/controls/TsuiArrowButton.h"
#include "skin/controls/TsuiButton.h"
#include "skin/controls/TsuiCheckBox.h"
#include "skin/controls/TsuiCheckGroup.h"
#include "skin/controls/TsuiRadioButton.h"
#include "skin/controls/TsuiRadioGroup.h"
#include "skin/controls/TsuiSpinEdit.h"

#include <QEnterEvent>
#include <QMouseEvent>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPalette>
#include <cstdio>

namespace qxshots {
namespace {

QLabel* Heading(QWidget* parent, const QString& text, int x, int y)
{
    auto* label = new QLabel(text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->move(x, y);
    return label;
}

void AddPanelControls(QWidget* parent, int top)
{
    Heading(parent, "Edits", 10, top);
    auto* edit = new TsuiEdit(parent);
    edit->setGeometry(10, top + 20, 150, 21);
    edit->setText("/home/me/Videos/source.avi");
    auto* off = new TsuiEdit(parent);
    off->setGeometry(170, top + 20, 150, 21);
    off->setText("disabled");
    off->setEnabled(false);
    auto* mask = new TsuiMaskEdit(parent);
    mask->setGeometry(330, top + 20, 100, 21);
    mask->SetEditMask("99/99/9999");
    mask->setText("24121999");
    auto* number = new TsuiNumberEdit(parent);
    number->setGeometry(440, top + 20, 100, 21);
    number->SetValue(1234.5);

    top += 55;
    Heading(parent, "Group boxes", 10, top);
    auto* box = new TsuiGroupBox(parent);
    box->setGeometry(10, top + 20, 200, 90);
    box->SetCaption(" Conversion Status ");
    (new TsuiEdit(box))->setGeometry(10, 30, 120, 21);
    (new TsuiGroupBox(parent))->setGeometry(220, top + 20, 100, 90);
    auto* boxOff = new TsuiGroupBox(parent);
    boxOff->setGeometry(330, top + 20, 150, 90);
    boxOff->SetCaption("Disabled");
    (new QLabel("inside", boxOff))->move(10, 30);
    boxOff->setEnabled(false);

    top += 120;
    Heading(parent, "Panels, picture panel, link", 10, top);
    auto* panel = new TsuiPanel(parent);
    panel->setGeometry(10, top + 20, 200, 100);
    panel->SetCaption("Expanded panel");
    auto* folded = new TsuiPanel(parent);
    folded->setGeometry(220, top + 20, 200, 100);
    folded->SetCaption("Collapsed panel");
    folded->setObjectName("folded");
    auto* header = new TsuiPanel(parent);
    header->setGeometry(10, top + 130, 410, 40);
    header->SetShowButton(false);
    header->SetCaption("Panel without button");
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int i = 0; i < 8; ++i)
        picture.setPixel(i, i, qRgb(40, 90, 200));
    auto* image = new TsuiImagePanel(parent);
    image->setGeometry(430, top + 20, 80, 60);
    image->SetPicture(picture);
    image->SetDrawStyle(TsuiCustomPanel::suiTile);
    image->SetText("Tiled");
    auto* link = new TsuiURLLabel(parent);
    link->move(430, top + 90);
    link->SetCaption("Web site");
    auto* status = new TsuiStatusBar(parent);
    status->SetSimpleText("Ready");
}

void AddButtonControls(QWidget* parent, TsuiUIStyle look)
{
    int y = 0;
    Heading(parent, "Buttons: normal, mouse over, pressed, disabled, focused", 8, y);
    y += 20;
    const char* captions[] = {"&Next  >", "Hover", "Pressed", "Disabled", "Focused"};
    for (int i = 0; i < 5; ++i) {
        auto* b = new TsuiButton(parent);
        b->SetUIStyle(look);
        b->SetCaption(captions[i]);
        b->move(8 + i * 88, y);
        if (i == 1) {
            QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
            QApplication::sendEvent(b, &enter);
        } else if (i == 2) {
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(b, &press);
        } else if (i == 3) {
            b->setEnabled(false);
        } else if (i == 4) {
            b->setObjectName("focused");
        }
    }
    auto* up = new TsuiArrowButton(parent);
    up->SetUIStyle(look);
    up->setGeometry(450, y, 20, 20);
    auto* down = new TsuiArrowButton(parent);
    down->SetUIStyle(look);
    down->SetArrow(TsuiArrowButton::suiDown);
    down->setGeometry(474, y, 20, 20);
    y += 40;
    Heading(parent, "Check boxes and radio buttons: enabled, disabled", 8, y);
    y += 20;
    for (int i = 0; i < 4; ++i) {
        auto* c = new TsuiCheckBox(parent);
        c->SetUIStyle(look);
        c->SetCaption(i % 2 ? "&Checked" : "Unchecked");
        c->SetChecked(i % 2);
        c->setEnabled(i < 2);
        c->move(8 + i * 110, y);
    }
    y += 26;
    for (int i = 0; i < 4; ++i) {
        auto* r = new TsuiRadioButton(parent);
        r->SetUIStyle(look);
        r->SetGroupIndex(i);
        r->SetCaption(i % 2 ? "Checked" : "Unchecked");
        r->SetChecked(i % 2);
        r->setEnabled(i < 2);
        r->move(8 + i * 110, y);
    }
    y += 36;
    Heading(parent, "Spin edit, check group, radio group", 8, y);
    y += 20;
    auto* spin = new TsuiSpinEdit(parent);
    spin->SetUIStyle(look);
    spin->setGeometry(8, y, 60, 19);
    spin->SetValue(42);
    y += 30;
    auto* checks = new TsuiCheckGroup(parent);
    checks->SetUIStyle(look);
    checks->SetCaption("Check group");
    checks->setGeometry(8, y, 220, 100);
    checks->SetColumns(2);
    checks->SetItems({"One", "Two", "Three", "Four", "Five"});
    checks->SetChecked(1, true);
    auto* radios = new TsuiRadioGroup(parent);
    radios->SetUIStyle(look);
    radios->SetCaption("Radio group");
    radios->setGeometry(236, y, 200, 100);
    radios->SetItems({"High", "Medium", "Low"});
    radios->SetItemIndex(1);
}

}  // namespace

int writeGalleries(const QString& dir)
{
    QDir().mkpath(dir);
    for (const Look& l : kLooks) {
        QWidget window;
        window.setWindowTitle(QString("Gallery %1").arg(l.name));
        window.resize(1040, 640);
        QPalette pal = window.palette();
        pal.setColor(QPalette::Window, platform::ToQColor(GetInsideThemeColor(l.look, SUI_THEME_FORM_BACKGROUND_COLOR)));
        window.setPalette(pal);
        window.setAutoFillBackground(true);
        Heading(&window, QString("%1 look").arg(l.name), 10, 6);
        auto* left = new QWidget(&window);
        left->setGeometry(0, 30, 540, 610);
        AddPanelControls(left, 0);
        auto* right = new QWidget(&window);
        right->setGeometry(540, 30, 500, 610);
        AddButtonControls(right, l.look);
        for (QWidget* container : {static_cast<QWidget*>(&window), left, right})
            ContainerApplyUIStyle(container, l.look, nullptr);
        if (auto* folded = window.findChild<TsuiPanel*>("folded"))
            folded->Push();
        window.show();
        window.activateWindow();
        if (auto* focused = window.findChild<QWidget*>("focused"))
            focused->setFocus();
        for (int i = 0; i < 40; ++i)
            QApplication::processEvents();
        const QString path = dir + "/gallery-" + l.name + ".png";
        if (!window.grab().save(path)) {
            std::fprintf(stderr, "qxshots: %s cannot be written\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}

}  // namespace qxshots
