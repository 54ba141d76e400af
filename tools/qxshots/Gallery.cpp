#include "Gallery.h"

#include "ControlGallery.h"
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
        AddButtonFamily(right, l.look, [right](const QString& title, int y) { Heading(right, title, 8, y); });
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
