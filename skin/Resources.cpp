#include "Resources.h"

#include "SuiError.h"

#include <QFile>
#include <QHash>
#include <QMutex>

namespace {

QString PathOf(const QString& name)
{
    return QStringLiteral(":/art/") + name + QStringLiteral(".png");
}

}  // namespace

bool HasBitmapResource(const QString& name)
{
    return QFile::exists(PathOf(name));
}

namespace {

// Decoded pictures by name: each is decoded once. Any thread may decode; the cache is
// shared under a lock, held only to look up and to store.
QMutex g_cacheLock;
QHash<QString, QImage>& Cache()
{
    static QHash<QString, QImage> cache;
    return cache;
}

QImage Decode(const QString& name)
{
    QImage image(PathOf(name));
    if (!image.isNull() && (image.format() != QImage::Format_ARGB32 || !image.hasAlphaChannel()))
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    return image;
}

}  // namespace

QImage LoadBitmapResource(const QString& name)
{
    {
        QMutexLocker lock(&g_cacheLock);
        if (const auto it = Cache().constFind(name); it != Cache().constEnd())
            return *it;
    }
    const QImage image = Decode(name);
    if (image.isNull())
        throw ESuiError("Bitmap resource " + name.toStdString() + " not found");
    QMutexLocker lock(&g_cacheLock);
    Cache().insert(name, image);
    return image;
}

void PreloadBitmapResources(const QStringList& names)
{
    for (const QString& name : names) {
        {
            QMutexLocker lock(&g_cacheLock);
            if (Cache().contains(name))
                continue;
        }
        const QImage image = Decode(name);
        if (image.isNull())
            continue;  // asked for later, it raises its error then
        QMutexLocker lock(&g_cacheLock);
        Cache().insert(name, image);
    }
}
