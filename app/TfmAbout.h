#pragma once
// The About box: the program's icon, name, version, rights and a link to its web site,
// in the current look.

#include <QDialog>

class QLabel;
class TsuiButton;
class TsuiForm;
class TsuiThemeManager;
class TsuiURLLabel;

class TfmAbout : public QDialog {
    Q_OBJECT

public:
    explicit TfmAbout(QWidget* owner);

    TsuiForm* sfmAbout;
    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    TsuiURLLabel* suiURLLabel1;
    TsuiButton* sbtnOK;
    TsuiThemeManager* skinMain;
};
