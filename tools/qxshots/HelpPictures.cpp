// The pictures of the help page, made at build time from the real classes so the help
// never shows an old window.
#include "HelpPictures.h"

#include "Shots.h"

#include "app/Settings.h"
#include "app/TfmMain.h"
#include "app/TfmSkin.h"
#include "app/TfmStep1.h"
#include "app/TfmStep3.h"
#include "app/TfmStep4.h"
#include "platform/player/TWindowsMediaPlayer.h"
#include "platform/media/MediaModule.h"
#include "skin/SuiApplication.h"
#include "skin/controls/TsuiButton.h"
#include "skin/controls/TsuiEdit.h"
#include "skin/controls/TsuiRadioButton.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <cstdio>

namespace qxshots {

int writeHelpPictures(const QString& dir)
{
    QDir().mkpath(dir);
    QTemporaryDir work;
    const QString source = MakeSourceVideo(work.path(), 20);
    if (source.isEmpty())
        return 1;
    SuiInstallFontSubstitutes();
    platform::media::RegisterEncoderServer();
    // A settings file of its own: the default look and quality, whatever the build's is.
    const QString settings = work.path() + "/norvane.ini";
    QFile ini(settings);
    if (!ini.open(QIODevice::WriteOnly))
        return 1;
    ini.write(QStringLiteral("[Quorlantix]\r\nSkinType=%1\r\nQuality=%2\r\n")
                  .arg(settings::kDefaultSkinType)
                  .arg(settings::kDefaultQuality)
                  .toLatin1());
    ini.close();

    TfmMain main(settings.toStdString());
    main.show();
    Settle(200);
    const auto save = [&](QWidget* window, const char* name) {
        return Save(Shot(window), QStringLiteral("%1/%2.png").arg(dir, name));
    };
    main.fmStep1->UseSource(source);
    main.fmStep1->edtOutput->setText(QDir::homePath() + "/Videos/holiday.wmv");
    main.fmStep1->rbtnPPCVGA->SetChecked(true);
    Settle(1200);
    if (!save(&main, "page1"))
        return 1;
    main.fmStep1->edtOutput->setText(work.path() + "/holiday.wmv");  // written, but not shown
    main.sbtnNext->Click();
    Settle(1200);
    if (!save(&main, "page2"))
        return 1;
    main.sbtnNext->Click();
    main.fmStep3->sbtnPause->Click();
    // Shown while it converts: the first figures, the bar and the time left.
    if (!WaitFor([&] { return !main.fmStep3->lblProgress->text().isEmpty() || main.CurrentPage() == 3; }, 60000) ||
        main.CurrentPage() != 2) {
        std::fprintf(stderr, "qxshots: the conversion gave no progress to show\n");
        return 1;
    }
    if (!save(&main, "page3"))
        return 1;
    if (!WaitFor([&] { return main.CurrentPage() == 3; }, 120000)) {
        std::fprintf(stderr, "qxshots: the conversion did not finish\n");
        return 1;
    }
    main.fmStep4->lblFile->setText(QDir::homePath() + "/Videos/holiday.wmv");
    main.fmStep4->lblFile->adjustSize();
    Settle(1200);
    if (!save(&main, "page4"))
        return 1;
    TfmSkin chooser(&main);
    chooser.show();
    Settle(200);
    const bool saved = save(&chooser, "skins");
    chooser.reject();
    main.close();
    return saved ? 0 : 1;
}

}  // namespace qxshots
