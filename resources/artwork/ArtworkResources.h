#pragma once
// Where the embedded artwork lives: linking qx_artwork puts every catalog picture
// at ":/art/NAME.png".

#include <QString>

#include <string_view>

namespace artwork {

QString resourcePath(std::string_view name);

}  // namespace artwork
