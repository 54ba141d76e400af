#include "Shots.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QPainter>
#include <QProcess>
#include <QWidget>
#include <cstdio>

namespace qxshots {
namespace {

const QColor kSheet(0xB4, 0xB4, 0xB4);

}  // namespace

void Settle(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    do {
        for (int i = 0; i < 20; ++i)
            QApplication::processEvents();
    } while (clock.elapsed() < milliseconds);
}

QImage Shot(QWidget* widget)
{
    QImage image = widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const qreal dpr = image.devicePixelRatio();
    image.setDevicePixelRatio(1);
    const QRegion mask = widget->mask();
    if (!mask.isEmpty()) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (!mask.contains(QPoint(int(x / dpr), int(y / dpr))))
                    image.setPixel(x, y, 0);
    }
    return image;
}

QImage ShotWithMenu(QWidget* window, QMenu* menu)
{
    const QImage form = Shot(window);
    const QImage drop = Shot(menu);
    const QPoint at = (menu->pos() - window->pos()) * window->devicePixelRatioF();
    QImage out(std::max(form.width(), at.x() + drop.width()), std::max(form.height(), at.y() + drop.height()),
               QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.drawImage(0, 0, form);
    p.drawImage(at, drop);
    return out;
}

QImage Row(const std::vector<QImage>& images)
{
    int w = kGap, h = 0;
    for (const QImage& i : images) {
        w += i.width() + kGap;
        h = std::max(h, i.height());
    }
    QImage out(w, h + 2 * kGap, QImage::Format_ARGB32);
    out.fill(kSheet);
    QPainter p(&out);
    int x = kGap;
    for (const QImage& i : images) {
        p.drawImage(x, kGap, i);
        x += i.width() + kGap;
    }
    return out;
}

QImage Column(const std::vector<QImage>& images)
{
    int w = 0, h = 0;
    for (const QImage& i : images) {
        w = std::max(w, i.width());
        h += i.height();
    }
    QImage out(w, h, QImage::Format_ARGB32);
    out.fill(kSheet);
    QPainter p(&out);
    int y = 0;
    for (const QImage& i : images) {
        p.drawImage(0, y, i);
        y += i.height();
    }
    return out;
}

bool Save(const QImage& image, const QString& path)
{
    if (!image.save(path)) {
        std::fprintf(stderr, "qxshots: %s cannot be written\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

bool WaitFor(const std::function<bool()>& condition, int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < milliseconds)
        Settle(20);
    return condition();
}

QString MakeSourceVideo(const QString& dir, int seconds)
{
    const QString path = dir + "/holiday.VOB";
    const QString length = QString::number(seconds);
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                            "testsrc2=size=720x576:rate=25:duration=" + length, "-f", "lavfi", "-i",
                            "sine=frequency=330:duration=" + length, "-c:v", "mpeg2video", "-b:v", "5M", "-c:a", "ac3",
                            "-f", "vob", path});
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0) {
        std::fprintf(stderr, "qxshots: the ffmpeg command could not make a source video\n");
        return {};
    }
    return path;
}

}  // namespace qxshots
