// qxplay FILE: the preview player in a small window of its own, to watch it by hand.
#include "platform/player/TWindowsMediaPlayer.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 2 || args[1].startsWith('-')) {
        QTextStream(stderr) << "usage: qxplay FILE\n";
        return 2;
    }
    platform::TWindowsMediaPlayer player;
    player.setWindowTitle(QFileInfo(args[1]).fileName() + " - qxplay");
    player.resize(player.sizeHint());
    player.show();
    player.setProperty("URL", args[1]);
    return QApplication::exec();
}
