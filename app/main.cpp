// Quorlantix Converter Lite: the wizard that converts one video file for a Pocket PC.
#include "StartupProbe.h"
#include "Settings.h"
#include "Skins.h"
#include "TfmMain.h"
#include "TfmStep1.h"
#include "platform/MessageBox.h"
#include "platform/media/MediaModule.h"
#include "skin/Resources.h"
#include "skin/SuiApplication.h"
#include "skin/Themes.h"

#include <QFileInfo>
#include <QEvent>
#include <QIcon>
#include <QPixmap>
#include <QTimer>
#include <exception>
#include <fontconfig/fontconfig.h>
#include <thread>

namespace {

constexpr char kTitle[] = "Convert video files to Pocket PC";

// Once the window is on the screen, the media module (FFmpeg) is loaded on a thread of
// its own, ready for the first video: the window does not wait for it.
class PreloadAfterFirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, [] { platform::media::Preload(); });
        }
        return QObject::eventFilter(watched, event);
    }
};

// The pictures the window shows first: the icon, the look a new frame starts in, and the
// look the settings file names.
QStringList StartupPictures()
{
    ConversionJob job{};
    settings::Load(job);
    QStringList names{QStringLiteral("MAINICON")};
    for (const TsuiUIStyle look : {Sui::DeepBlue, LookOfSkinType(job.skinType)})
        for (int entry = 1; entry <= SUI_THEME_ENTRY_COUNT; ++entry)
            if (const char* name = ThemeEntryResource(look, entry))
                names << QString::fromLatin1(name);
    names.removeDuplicates();
    return names;
}

}  // namespace

int main(int argc, char** argv)
{
    // The name places the user's settings file (~/.config/quorlantix/), which the warm-up
    // below reads before the application exists.
    QApplication::setApplicationName("quorlantix");
    // Reading the font configuration and decoding the pictures of the window's looks take
    // several milliseconds; they run on the other core while the application and the
    // window are made, before the first text and picture need them.
    std::jthread warmUp([pictures = StartupPictures()] {
        FcInit();
        PreloadBitmapResources(pictures);
    });
    TsuiApplication app(argc, argv);
    try {
        QApplication::setWindowIcon(QIcon(QPixmap::fromImage(LoadBitmapResource("MAINICON"))));
        platform::media::RegisterEncoderServer();
        TfmMain window;
        StartupProbe::Watch(&window);
        window.installEventFilter(new PreloadAfterFirstPaint(&window));
        window.show();
        // A file given on the command line (the desktop's "Open with") is the source.
        if (const QStringList args = QApplication::arguments(); args.size() > 1 && QFileInfo(args[1]).isFile())
            window.fmStep1->UseSource(QFileInfo(args[1]).absoluteFilePath());
        app.exec();
    } catch (const std::exception& error) {
        platform::MessageBoxA(nullptr, error.what(), kTitle, platform::MB_OK | platform::MB_ICONERROR);
    } catch (...) {
        platform::MessageBoxA(nullptr, "", kTitle, platform::MB_OK | platform::MB_ICONERROR);
    }
    return 0;
}
