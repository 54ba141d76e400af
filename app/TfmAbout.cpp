#include "TfmAbout.h"

#include "DesignControls.h"
#include "Links.h"
#include "Skins.h"
#include "skin/SuiScreen.h"
#include "skin/Resources.h"
#include "skin/ThemeManager.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiTitleBar.h"
#include "skin/controls/TsuiButton.h"
#include "skin/controls/TsuiURLLabel.h"

#include <QLabel>

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

    Image1 = DesignLabel(sfmAbout, "Image1", QString(), 39, 54);
    Image1->setPixmap(QPixmap::fromImage(LoadBitmapResource("MAINICON")));
    Image1->setGeometry(39, 54, 32, 32);
    Label1 = DesignLabel(sfmAbout, "Label1", "Quorlantix Converter Lite ", 104, 54);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->adjustSize();
    Label2 = DesignLabel(sfmAbout, "Label2", "( version 2.2.0.1120 )", 106, 75);
    Label3 = DesignLabel(sfmAbout, "Label3", QString::fromUtf8("Copyright © 2026 Quorlantix. All rights reserved."), 107, 97);
    // The labels lie on the frame's background.
    for (QLabel* label : {Label1, Label2, Label3})
        label->setAttribute(Qt::WA_TranslucentBackground);
    suiURLLabel1 = new TsuiURLLabel(sfmAbout);
    suiURLLabel1->setObjectName("suiURLLabel1");
    suiURLLabel1->move(108, 118);
    suiURLLabel1->SetCaption("Visit Quorlantix Converter web site..");
    suiURLLabel1->SetURL(QString::fromLatin1(links::kWebSite));
    sbtnOK = DesignButton(sfmAbout, "sbtnOK", "&OK", QRect(268, 141, 80, 27));
    sbtnOK->SetModalResult(QDialog::Accepted);
    sbtnOK->SetDefault(true);

    skinMain = new TsuiThemeManager(this);
    skinMain->setObjectName("skinMain");
    skinMain->SetList({"sfmAbout", "sbtnOK"});
    ApplyCurrentSkin(skinMain);
}
