#include "Media.h"

#include <QDir>
#include <algorithm>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <gtest/gtest.h>
#include <unistd.h>

namespace qxtest {
namespace {

struct Run {
    int exitCode = -1;
    QByteArray out, err;
};

Run Exec(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    Run r;
    if (!p.waitForStarted(10000)) {
        r.err = program.toUtf8() + " cannot be started";
        return r;
    }
    p.waitForFinished(300000);
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

}  // namespace

std::string Media(const std::string& name, const std::string& args)
{
    const QString dir = QStringLiteral(QX_FIXTURE_DIR);
    QDir().mkpath(dir);
    const QString path = dir + "/" + QString::fromStdString(name);
    if (QFile::exists(path))
        return path.toStdString();
    // Made under a private name and renamed, so tests running side by side never see half a file.
    const QString temp = dir + "/." + QString::number(::getpid()) + "." + QString::fromStdString(name);
    QStringList list = QProcess::splitCommand(QString::fromStdString(args));
    list.prepend("-y");
    list.prepend("error");
    list.prepend("-v");
    list.prepend("-nostdin");
    list << temp;
    const Run r = Exec("ffmpeg", list);
    EXPECT_EQ(r.exitCode, 0) << "making fixture " << name << ": " << r.err.toStdString();
    QFile::rename(temp, path);
    return path.toStdString();
}

std::string CopyTurnedQuarterClockwise(const std::string& path)
{
    static const bool displayRotation =
        Exec("ffmpeg", {"-hide_banner", "-h", "full"}).out.contains("-display_rotation");
    // The rotation counts counter-clockwise; the tag counted the player's turn the other way.
    return displayRotation ? "-display_rotation:v:0 -90 -i " + path + " -c copy"
                           : "-i " + path + " -c copy -metadata:s:v:0 rotate=270";
}

QJsonObject Probe(const std::string& path)
{
    const Run r = Exec("ffprobe", {"-v", "error", "-of", "json", "-show_format", "-show_streams",
                                   QString::fromStdString(path)});
    return r.exitCode == 0 ? QJsonDocument::fromJson(r.out).object() : QJsonObject{};
}

QJsonObject StreamOf(const QJsonObject& probe, const QString& type)
{
    for (const QJsonValue& s : probe["streams"].toArray())
        if (s.toObject()["codec_type"].toString() == type)
            return s.toObject();
    return {};
}

double Duration(const QJsonObject& probe)
{
    return probe["format"].toObject()["duration"].toString().toDouble();
}

std::string DecodeErrors(const std::string& path)
{
    const Run r = Exec("ffmpeg", {"-nostdin", "-v", "error", "-i", QString::fromStdString(path), "-f", "null", "-"});
    if (r.exitCode != 0 && r.err.isEmpty())
        return "ffmpeg exited with " + std::to_string(r.exitCode);
    return r.err.toStdString();
}

double PacketSpan(const std::string& path)
{
    const Run r = Exec("ffprobe", {"-v", "error", "-show_entries", "packet=pts_time,duration_time", "-of", "csv=p=0",
                                   QString::fromStdString(path)});
    double first = 1e300, last = -1e300;
    for (const QByteArray& line : r.out.split('\n')) {
        const QList<QByteArray> f = line.trimmed().split(',');
        bool ok = false;
        const double pts = f.value(0).toDouble(&ok);
        if (!ok)
            continue;
        first = std::min(first, pts);
        last = std::max(last, pts + f.value(1).toDouble());  // "N/A" reads 0
    }
    return last > first ? last - first : 0.0;
}

std::vector<double> PacketTimes(const std::string& path, const char* type)
{
    const Run r = Exec("ffprobe", {"-v", "error", "-select_streams", type[0] == 'v' ? "v:0" : "a:0", "-show_entries",
                                   "packet=pts_time", "-of", "csv=p=0", QString::fromStdString(path)});
    std::vector<double> times;
    for (const QByteArray& line : r.out.split('\n'))
        if (!line.trimmed().isEmpty())
            times.push_back(line.trimmed().toDouble());
    return times;
}

QImage FirstPicture(const std::string& path)
{
    const QJsonObject video = StreamOf(Probe(path), "video");
    const int w = video["width"].toInt(), h = video["height"].toInt();
    if (w <= 0 || h <= 0)
        return {};
    const Run r = Exec("ffmpeg", {"-nostdin", "-v", "error", "-i", QString::fromStdString(path), "-frames:v", "1",
                                  "-f", "rawvideo", "-pix_fmt", "rgb24", "-"});
    if (r.exitCode != 0 || r.out.size() != qsizetype(w) * h * 3)
        return {};
    return QImage(reinterpret_cast<const uchar*>(r.out.constData()), w, h, w * 3, QImage::Format_RGB888).copy();
}

QRect LitArea(const QImage& picture)
{
    QRect area;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (const QRgb c = picture.pixel(x, y); std::max({qRed(c), qGreen(c), qBlue(c)}) > 40)
                area |= QRect(x, y, 1, 1);
    return area;
}

}  // namespace qxtest
