#include "Places.h"

#include <QDir>
#include <QStandardPaths>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace places {
namespace {

std::string WithSlash(const QString& dir)
{
    std::string path = QFile::encodeName(QDir::cleanPath(dir)).toStdString();
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

}  // namespace

bool CanWriteIn(const std::string& dir)
{
    if (dir.empty())
        return false;
    std::string probe = dir;
    if (probe.back() != '/')
        probe += '/';
    probe += ".quorlantix-probe-" + std::to_string(::getpid());
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno == EEXIST;  // a probe left by a crashed run still proves the folder writable
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

bool KeepsFilesBesideItself(const std::string& programDir)
{
    return programDir.rfind("/usr/", 0) != 0 && CanWriteIn(programDir);
}

std::string DefaultOutputFile(const std::string& programDir)
{
    if (KeepsFilesBesideItself(programDir))
        return programDir + "output.wmv";
    QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (videos.isEmpty() || !QDir().mkpath(videos))
        videos = QDir::homePath();
    return WithSlash(videos) + "output.wmv";
}

std::string SettingsFile(const std::string& programDir, const std::string& fileName)
{
    if (KeepsFilesBesideItself(programDir))
        return programDir + fileName;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(config);  // the settings writer makes files, not folders
    return WithSlash(config) + fileName;
}

}  // namespace places
