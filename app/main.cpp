// Quorlantix Converter Lite: the wizard that converts one video file for a Pocket PC.
#include "StartupProbe.h"
#include "TfmMain.h"
#include "TfmStep1.h"
#include "platform/MessageBox.h"
#include "platform/media/MediaModule.h"
#include "skin/Resources.h"
#include "skin/SuiApplication.h"

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

}  // namespace

int main(int argc, char** argv)
{
    // Reading the font configuration takes several milliseconds; it runs on the other core
    // while the application and the window are made, before the first text needs it.
    std::jthread fonts([] { FcInit(); });
    TsuiApplication app(argc, argv);
    try {
        QApplication::setApplicationName("quorlantix");
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
