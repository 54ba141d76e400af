#include "Resources.h"

#include "SuiError.h"

#include <QFile>
#include <QHash>

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

QImage LoadBitmapResource(const QString& name)
{
    // Pictures are small and asked for on every look change: decode each once.
    static QHash<QString, QImage> cache;
    if (const auto it = cache.constFind(name); it != cache.constEnd())
        return *it;
    QImage image(PathOf(name));
    if (image.isNull())
        throw ESuiError("Bitmap resource " + name.toStdString() + " not found");
    if (image.format() != QImage::Format_ARGB32 || !image.hasAlphaChannel())
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    cache.insert(name, image);
    return image;
}
