// Quorlantix Converter Lite: the wizard that converts one video file for a Pocket PC.
#include "TfmMain.h"
#include "TfmStep1.h"
#include "platform/MessageBox.h"
#include "platform/wmencoder/WMEncoder.h"
#include "skin/Resources.h"
#include "skin/SuiApplication.h"

#include <QFileInfo>
#include <QIcon>
#include <QPixmap>
#include <exception>

namespace {

constexpr char kTitle[] = "Convert video files to Pocket PC";

}  // namespace

int main(int argc, char** argv)
{
    TsuiApplication app(argc, argv);
    try {
        QApplication::setApplicationName("quorlantix");
        QApplication::setWindowIcon(QIcon(QPixmap::fromImage(LoadBitmapResource("MAINICON"))));
        platform::wmenc::RegisterEncoderClasses();
        TfmMain window;
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
