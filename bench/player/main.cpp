// bench_player SOURCE [SECONDS] [WIDTHxHEIGHT]: plays SOURCE in the preview player for
// SECONDS of media time (default 10) in a panel of the given size (default the wizard's
// 329x250), in real time, and prints the CPU time the process spent from writing the URL
// to reaching that position: decoding, colour conversion, scaling and painting.
#include "platform/media/MediaModule.h"
#include "platform/player/TWindowsMediaPlayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace {

double CpuSeconds()
{
    rusage u {};
    ::getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Counts the paints of the picture, so the run shows the frames really reached the screen.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(o, e);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_player SOURCE [SECONDS] [WIDTHxHEIGHT]\n");
        return 2;
    }
    const double seconds = argc > 2 ? std::atof(argv[2]) : 10.0;
    int width = 329, height = 250;
    if (argc > 3 && std::sscanf(argv[3], "%dx%d", &width, &height) != 2)
        return 2;

    platform::TWindowsMediaPlayer player;
    PaintCounter counter;
    player.installEventFilter(&counter);
    player.resize(width, height);
    player.show();
    QApplication::processEvents();

    // The media module is loaded first, as the program loads it once its window is up:
    // what is measured is playing, not loading FFmpeg.
    if (!platform::media::Available()) {
        std::fprintf(stderr, "bench_player: the media module cannot be loaded\n");
        return 1;
    }
    const double cpuStart = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    player.setProperty("URL", QString::fromLocal8Bit(argv[1]));
    int code = 0;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        using State = platform::TWindowsMediaPlayer::PlayState;
        const State s = player.State();
        if (s == State::Failed || wall.elapsed() > qint64(seconds * 3000 + 10000)) {
            std::fprintf(stderr, "error: the source did not play\n");
            code = 1;
            QApplication::quit();
        } else if (player.CurrentPosition() >= seconds || s == State::Ended) {
            QApplication::quit();
        }
    });
    poll.start();
    QApplication::exec();
    const double cpu = CpuSeconds() - cpuStart;
    const double elapsed = double(wall.elapsed()) / 1000.0;
    const double position = player.CurrentPosition();
    const bool sound = player.SoundOutputActive();
    const QRect picture = player.PictureRect();
    player.setProperty("URL", QString());
    if (code == 0)
        std::printf("cpu %.3f s, wall %.2f s, media %.2f s, paints %d, picture %dx%d, sound %s\n", cpu, elapsed,
                    position, counter.paints, picture.width(), picture.height(), sound ? "on" : "off");
    return code;
}
