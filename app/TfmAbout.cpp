#include "TfmAbout.h"

#include "Links.h"
#include "Skins.h"
#include "skin/DrawUtil.h"
#include "skin/Resources.h"
#include "skin/ThemeManager.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiTitleBar.h"
#include "skin/controls/TsuiButton.h"
#include "skin/controls/TsuiURLLabel.h"

#include <QLabel>

namespace {

QLabel* Label(QWidget* parent, const char* name, const QString& text, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->move(x, y);
    label->adjustSize();
    return label;
}

}  // namespace

TfmAbout::TfmAbout(QWidget* owner) : QDialog(owner)
{
    setObjectName("fmAbout");
    setWindowTitle("About Quorlantix Converter");
    setFont(QFont("MS Sans Serif", 8));
    sfmAbout = new TsuiForm(this);
    sfmAbout->setObjectName("sfmAbout");
    sfmAbout->SetClientSize(QSize(372, 180));
    setFixedSize(size());
    CentreOnScreen(this);
    // A control box and a close button.
    TsuiTitleBarButtons* buttons = sfmAbout->TitleBarButtons();
    for (int i = 0; i < buttons->Count(); ++i) {
        const TsuiTitleBarBtnType type = buttons->Item(i)->ButtonType();
        buttons->Item(i)->SetVisible(type == SuiTitleBar::suiControlBox || type == SuiTitleBar::suiClose);
    }

    Image1 = Label(sfmAbout, "Image1", QString(), 39, 54);
    Image1->setPixmap(QPixmap::fromImage(LoadBitmapResource("MAINICON")));
    Image1->setGeometry(39, 54, 32, 32);
    Label1 = Label(sfmAbout, "Label1", "Quorlantix Converter Lite ", 104, 54);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->adjustSize();
    Label2 = Label(sfmAbout, "Label2", "( version 2.2.0.1120 )", 106, 75);
    Label3 = Label(sfmAbout, "Label3", QString::fromUtf8("Copyright © 2026 Quorlantix. All rights reserved."), 107, 97);
    suiURLLabel1 = new TsuiURLLabel(sfmAbout);
    suiURLLabel1->setObjectName("suiURLLabel1");
    suiURLLabel1->move(108, 118);
    suiURLLabel1->SetCaption("Visit Quorlantix Converter web site..");
    suiURLLabel1->SetURL(QString::fromLatin1(links::kWebSite));
    sbtnOK = new TsuiButton(sfmAbout);
    sbtnOK->setObjectName("sbtnOK");
    sbtnOK->setGeometry(268, 141, 80, 27);
    sbtnOK->SetCaption("&OK");
    sbtnOK->SetModalResult(QDialog::Accepted);
    sbtnOK->SetDefault(true);

    skinMain = new TsuiThemeManager(this);
    skinMain->setObjectName("skinMain");
    skinMain->SetList({"sfmAbout", "sbtnOK"});
    ApplyCurrentSkin(skinMain);
}
