#pragma once
// Drawing tools of the artwork generator. Pictures are RGB; shapes are painted
// antialiased on a transparent layer and then laid onto the picture, so that a pixel
// is either exact magenta (left to the background by the engine) or a real colour:
// partly covered edge pixels are blended with the colour the shape is expected to sit
// on, never with magenta. Glyphs are set pixel by pixel to stay crisp at 1:1.

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <initializer_list>
#include <utility>
#include <vector>

namespace artgen {

inline const QColor kMagenta(0xFF, 0x00, 0xFF);

QImage rgbImage(int w, int h, const QColor& fill);
QImage layerImage(int w, int h);

QColor mix(const QColor& a, const QColor& b, qreal t);
QColor shade(const QColor& c, qreal amount);  // > 0 lighter towards white, < 0 darker towards black

QLinearGradient vertical(qreal y0, qreal y1, std::initializer_list<std::pair<qreal, QColor>> stops);
QPainterPath rounded(const QRectF& r, qreal radius);

// A painter for a layer with antialiasing on; straight edges on whole pixels stay crisp.
class LayerPainter : public QPainter {
public:
    explicit LayerPainter(QImage* layer);
};

// Lays `layer` onto `dst` at `at`. Over magenta pixels of `dst`, pixels covered at least
// `threshold` (of 255) become the layer blended over the backdrop (the colour the shape
// will sit on, per pixel of `dst`), the rest stay magenta; elsewhere the layer is
// blended normally.
void stamp(QImage& dst, const QImage& layer, QPoint at, const QImage& backdrop, int threshold = 128);
void stamp(QImage& dst, const QImage& layer, QPoint at, const QColor& backdrop, int threshold = 128);

// Joins equally sized frames side by side into a picture `width` wide (a remainder at
// the right, which the engine never shows, takes the last frame's right column).
QImage joinFrames(const std::vector<QImage>& frames, int width);

// Pixel glyphs, drawn without antialiasing into the box (centred).
enum class Glyph {
    Menu,       // control box: a small window with a menu bar
    Help,       // "?"
    Maximise,   // window outline with a thick top
    Restore,    // two overlapping windows
    Minimise,   // bar at the bottom
    Close,      // "x"
    ArrowUp,
    ArrowDown,
    ArrowLeft,
    ArrowRight,
    DoubleUp,
    DoubleDown,
};

// The title-bar buttons' glyphs in frame-group order (control box, help, maximise,
// restore, minimise, close) with their usual sizes.
struct TitleGlyph {
    Glyph glyph;
    int size;
};
inline constexpr TitleGlyph kTitleGlyphs[6] = {{Glyph::Menu, 7},    {Glyph::Help, 9},     {Glyph::Maximise, 9},
                                               {Glyph::Restore, 9}, {Glyph::Minimise, 9}, {Glyph::Close, 8}};
// `size` is the glyph's nominal box (5 to 11 pixels); `weight` 1 or 2 pixel strokes.
void drawGlyph(QPainter& p, Glyph g, const QRect& box, int size, int weight, const QColor& c);
// The same glyph with a one-pixel offset copy in `shadow` first.
void drawGlyphShadowed(QPainter& p, Glyph g, const QRect& box, int size, int weight, const QColor& c,
                       const QColor& shadow, QPoint offset = {1, 1});

// Check mark inside `box` (pixel drawn, 2 px strokes).
void drawCheck(QPainter& p, const QRect& box, const QColor& c);

// True when the colour lies within `distance` of magenta without being it.
bool nearMagenta(QRgb rgb, int distance = 48);

}  // namespace artgen
