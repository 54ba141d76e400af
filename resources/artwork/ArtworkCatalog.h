#pragma once
// Every built-in picture of the skin engine: its resource name, size and frame
// layout, and how the engine puts it on screen. The generator draws from this list,
// the build embeds what it names under ":/art/NAME.png", and the review sheets and
// tests walk it. Plain C++ so that any target can read it.

#include <string>
#include <string_view>
#include <vector>

namespace artwork {

// How the engine puts a picture on screen; it decides where magenta 0xFF00FF may
// appear and what the pixels around a shape must be.
enum class Drawing {
    NineKeyed,      // nine pieces, corners masked: magenta outside the rounded face
    NineOpaque,     // nine pieces, corners drawn opaque: no magenta, form colour outside
    Strip,          // stretched whole, opaque
    Tiled,          // repeated 1:1, opaque
    Plain,          // drawn 1:1, opaque
    Shaped,         // drawn 1:1, opaque; magenta where the window's round corner cuts it
    KeyBottomLeft,  // drawn with its frame's bottom-left pixel (magenta) as transparent colour
    KeyTopLeft,     // drawn with its top-left pixel (magenta) as transparent colour
    KeyWhite,       // drawn with white as transparent colour
    Alpha,          // carries an alpha channel (the application icon)
};

struct Picture {
    std::string name;     // resource name, also the PNG's base name
    std::string look;     // look prefix ("WINXP"), empty for a shared picture
    std::string element;  // element name ("TITLEBTN"), the whole name for a shared one
    int width = 0;
    int height = 0;
    int frames = 1;
    std::vector<std::string> frameLabels;  // one per frame, left to right
    Drawing drawing = Drawing::Plain;

    // Frames are cut at w div n; a remainder at the right is never shown.
    int frameWidth() const { return width / frames; }
};

// The five look prefixes in the order of the look enumeration (MacOS first).
const std::vector<std::string>& lookPrefixes();

// Every picture, grouped by look in the order of lookPrefixes(), then the shared ones.
const std::vector<Picture>& catalog();

// The picture of that resource name, or null.
const Picture* findPicture(std::string_view name);

}  // namespace artwork
