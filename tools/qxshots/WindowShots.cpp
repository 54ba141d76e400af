// The program's windows for review, from the real classes, in every look: the main
// window on each page (a source chosen, a run going and paused, a finished conversion),
// with its File menu open, the skin chooser and the About box.
#include "WindowShots.h"

#include "Looks.h"
#include "Shots.h"

#include "app/TfmAbout.h"
#include "app/TfmMain.h"
#include "app/TfmSkin.h"
#include "app/TfmStep1.h"
#include "app/TfmStep3.h"
#include "app/TfmStep4.h"
#include "platform/player/TWindowsMediaPlayer.h"
#include "platform/media/MediaModule.h"
#include "skin/SuiApplication.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiFormMenuBar.h"
#include "skin/controls/TsuiButton.h"
#include "skin/controls/TsuiEdit.h"
#include "skin/controls/TsuiMainMenu.h"
#include "skin/controls/TsuiRadioButton.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <map>

namespace qxshots {
namespace {

QImage Grid(const std::vector<QImage>& shots)
{
    std::vector<QImage> rows;
    for (std::size_t i = 0; i < shots.size(); i += 2) {
        std::vector<QImage> pair{shots[i]};
        if (i + 1 < shots.size())
            pair.push_back(shots[i + 1]);
        rows.push_back(Row(pair));
    }
    return Column(rows);
}

// Shoots a modal dialog while it is up, then closes it.
QImage ShootDialog(QDialog& dialog)
{
    dialog.show();
    Settle(200);
    const QImage shot = Shot(&dialog);
    dialog.reject();
    return shot;
}

}  // namespace

int writeWindowShots(const QString& dir)
{
    QDir().mkpath(dir);
    QTemporaryDir work;
    const QString source = MakeSourceVideo(work.path(), 60);
    if (source.isEmpty())
        return 1;
    SuiInstallFontSubstitutes();
    platform::media::RegisterEncoderServer();
    int skinType = 0;
    const std::map<TsuiUIStyle, int> skinTypes{
        {Sui::BlueGlass, 1}, {Sui::DeepBlue, 2}, {Sui::MacOS, 3}, {Sui::WinXP, 4}, {Sui::Protein, 5}};
    for (const Look& l : kLooks) {
        skinType = skinTypes.at(l.look);
        const QString settings = work.path() + "/norvane.ini";
        QFile ini(settings);
        if (!ini.open(QIODevice::WriteOnly))
            return 1;
        ini.write(QStringLiteral("[Quorlantix]\r\nSkinType=%1\r\nQuality=1\r\n").arg(skinType).toLatin1());
        ini.close();

        TfmMain main(settings.toStdString());
        main.show();
        Settle(200);
        std::vector<std::pair<QString, QImage>> shots;
        const auto take = [&](const char* name) { shots.emplace_back(name, Shot(&main)); };

        main.fmStep1->edtFile->setText(source);
        main.fmStep1->wmpMain->SetURL(source);
        main.fmStep1->edtOutput->setText(work.path() + "/holiday-" + l.name + ".wmv");
        main.fmStep1->rbtnPPCVGA->SetChecked(true);
        Settle(1200);
        take("1-page1");
        main.sbtnNext->Click();
        Settle(1200);
        take("2-page2");
        main.sbtnNext->Click();
        main.fmStep3->sbtnPause->Click();
        Settle(1100);
        take("3-page3-running");
        main.fmStep3->sbtnPause->Click();
        Settle(300);
        take("4-page3-paused");
        main.fmStep3->sbtnPause->Click();
        if (!WaitFor([&] { return main.CurrentPage() == 3; }, 120000)) {
            std::fprintf(stderr, "qxshots: the conversion did not finish\n");
            return 1;
        }
        main.fmStep4->sbtnPrview->Click();
        Settle(1500);
        take("5-page4");

        main.sfmMain->MenuBar()->OpenButton(0);
        Settle(100);
        QMenu* file = main.mnuMain->Items()->actions().value(0)->menu();
        file->setActiveAction(file->actions().value(0));
        Settle(100);
        shots.emplace_back("6-menu", ShotWithMenu(&main, file));
        file->hide();

        TfmSkin chooser(&main);
        shots.emplace_back("7-skins", ShootDialog(chooser));
        TfmAbout about(&main);
        shots.emplace_back("8-about", ShootDialog(about));

        std::vector<QImage> sheet;
        for (const auto& [name, image] : shots) {
            if (!Save(image, QStringLiteral("%1/window-%2-%3.png").arg(dir, l.name, name)))
                return 1;
            sheet.push_back(image);
        }
        if (!Save(Grid(sheet), QStringLiteral("%1/windows-%2.png").arg(dir, l.name)))
            return 1;
        main.close();
    }
    return 0;
}

}  // namespace qxshots
