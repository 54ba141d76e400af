#include "ArtworkResources.h"

namespace artwork {

QString resourcePath(std::string_view name)
{
    return QStringLiteral(":/art/") + QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())) +
           QStringLiteral(".png");
}

}  // namespace artwork
