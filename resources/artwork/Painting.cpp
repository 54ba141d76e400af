#include "Painting.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace artgen {

QImage rgbImage(int w, int h, const QColor& fill)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

QImage layerImage(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QColor mix(const QColor& a, const QColor& b, qreal t)
{
    t = std::clamp(t, 0.0, 1.0);
    auto lerp = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()),
                  lerp(a.alpha(), b.alpha()));
}

QColor shade(const QColor& c, qreal amount)
{
    QColor target = amount >= 0 ? QColor(255, 255, 255, c.alpha()) : QColor(0, 0, 0, c.alpha());
    return mix(c, target, std::abs(amount));
}

QLinearGradient vertical(qreal y0, qreal y1, std::initializer_list<std::pair<qreal, QColor>> stops)
{
    QLinearGradient g(0, y0, 0, y1);
    for (const auto& [at, colour] : stops)
        g.setColorAt(at, colour);
    return g;
}

QPainterPath rounded(const QRectF& r, qreal radius)
{
    QPainterPath path;
    if (radius <= 0)
        path.addRect(r);
    else
        path.addRoundedRect(r, radius, radius);
    return path;
}

LayerPainter::LayerPainter(QImage* layer) : QPainter(layer)
{
    setRenderHint(QPainter::Antialiasing, true);
    setPen(Qt::NoPen);
}

void stamp(QImage& dst, const QImage& layer, QPoint at, const QImage& backdrop, int threshold)
{
    const QRgb key = kMagenta.rgb() & 0xFFFFFF;
    for (int y = 0; y < layer.height(); ++y) {
        const int dy = y + at.y();
        if (dy < 0 || dy >= dst.height())
            continue;
        for (int x = 0; x < layer.width(); ++x) {
            const int dx = x + at.x();
            if (dx < 0 || dx >= dst.width())
                continue;
            const QColor src = QColor::fromRgba(layer.pixel(x, y));  // un-premultiplied
            const int a = src.alpha();
            if (a == 0)
                continue;
            const QRgb under = dst.pixel(dx, dy);
            QColor base;
            if ((under & 0xFFFFFF) == key) {
                if (a < threshold)
                    continue;
                base = QColor::fromRgb(backdrop.pixel(dx, dy));
            } else {
                base = QColor::fromRgb(under);
            }
            const QColor out = mix(base, QColor(src.red(), src.green(), src.blue()), a / 255.0);
            dst.setPixel(dx, dy, qRgb(out.red(), out.green(), out.blue()));
        }
    }
}

void stamp(QImage& dst, const QImage& layer, QPoint at, const QColor& backdrop, int threshold)
{
    stamp(dst, layer, at, rgbImage(dst.width(), dst.height(), backdrop), threshold);
}

QImage joinFrames(const std::vector<QImage>& frames, int width)
{
    const int fw = frames.front().width();
    const int h = frames.front().height();
    QImage out(width, h, QImage::Format_RGB32);
    QPainter p(&out);
    int x = 0;
    for (const QImage& f : frames) {
        p.drawImage(x, 0, f);
        x += fw;
    }
    for (; x < width; ++x)
        p.drawImage(x, 0, frames.back(), fw - 1, 0, 1, h);
    return out;
}

namespace {

// A glyph is set in a grid of pixels first, so that one part may hide another.
struct Pixels {
    int w;
    int h;
    std::vector<char> on = std::vector<char>(static_cast<std::size_t>(w * h), 0);
    void set(int x, int y, int sw = 1, int sh = 1, char value = 1)
    {
        for (int yy = y; yy < y + sh; ++yy)
            for (int xx = x; xx < x + sw; ++xx)
                if (xx >= 0 && yy >= 0 && xx < w && yy < h)
                    on[static_cast<std::size_t>(yy * w + xx)] = value;
    }
    void clear(int x, int y, int sw, int sh) { set(x, y, sw, sh, 0); }
};

// Mask rows, 'X' set.
void drawMask(Pixels& px, std::initializer_list<const char*> rows)
{
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; row[x]; ++x)
            if (row[x] == 'X')
                px.set(x, y);
        ++y;
    }
}

QSize glyphSize(Glyph g, int s, int w)
{
    switch (g) {
    case Glyph::Close: return {s + w - 1, s};
    case Glyph::Help: return s <= 7 ? QSize(5, 7) : QSize(6, 9);
    case Glyph::ArrowUp:
    case Glyph::ArrowDown: return {s, (s + 1) / 2};
    case Glyph::ArrowLeft:
    case Glyph::ArrowRight: return {(s + 1) / 2, s};
    case Glyph::DoubleUp:
    case Glyph::DoubleDown: return {s, 4 + s / 2 + w};
    case Glyph::Menu: return {s, (s + 1) / 2 + w + 1};
    default: return {s, s};
    }
}

}  // namespace

void drawGlyph(QPainter& p, Glyph g, const QRect& box, int s, int w, const QColor& c)
{
    const QSize size = glyphSize(g, s, w);
    Pixels px{size.width(), size.height()};
    const int gw = size.width();
    switch (g) {
    case Glyph::Close:
        for (int i = 0; i < s; ++i) {
            px.set(i, i, w, 1);
            px.set(gw - w - i, i, w, 1);
        }
        break;
    case Glyph::Minimise: {
        const int bar = w == 1 ? 2 : 3;
        px.set(1, s - bar, s - 2, bar);
        break;
    }
    case Glyph::Maximise:
        px.set(0, 0, s, w + 1);
        px.set(0, 0, 1, s);
        px.set(s - 1, 0, 1, s);
        px.set(0, s - 1, s, 1);
        break;
    case Glyph::Restore: {
        const int k = s - 3;  // each window k x k, the back one up and right
        auto window = [&](int x, int y) {
            px.set(x, y, k, w);
            px.set(x, y, 1, k);
            px.set(x + k - 1, y, 1, k);
            px.set(x, y + k - 1, k, 1);
        };
        window(3, 0);
        px.clear(0, 3, k, k);  // the front window hides the back one
        window(0, 3);
        break;
    }
    case Glyph::Help:
        if (s <= 7)
            drawMask(px, {".XXX.", "X...X", "....X", "..XX.", "..X..", ".....", "..X.."});
        else
            drawMask(px, {".XXXX.", "XX..XX", "....XX", "...XX.", "..XX..", "..XX..", "......", "..XX..", "..XX.."});
        break;
    case Glyph::Menu: {
        px.set(0, 0, s, w);
        const int top = w + 1;
        for (int r = 0; r < (s + 1) / 2; ++r)
            px.set(r, top + r, s - 2 * r, 1);
        break;
    }
    case Glyph::ArrowUp:
        for (int r = 0; r < size.height(); ++r)
            px.set(size.height() - 1 - r, r, s - 2 * (size.height() - 1 - r), 1);
        break;
    case Glyph::ArrowDown:
        for (int r = 0; r < size.height(); ++r)
            px.set(r, r, s - 2 * r, 1);
        break;
    case Glyph::ArrowLeft:
        for (int col = 0; col < size.width(); ++col)
            px.set(col, size.width() - 1 - col, 1, s - 2 * (size.width() - 1 - col));
        break;
    case Glyph::ArrowRight:
        for (int col = 0; col < size.width(); ++col)
            px.set(col, col, 1, s - 2 * col);
        break;
    case Glyph::DoubleUp:
    case Glyph::DoubleDown: {
        const int k = s / 2;
        const int h = k + w;  // one chevron's height
        for (int chevron = 0; chevron < 2; ++chevron)
            for (int x = 0; x < s; ++x)
                for (int t = 0; t < w; ++t) {
                    int y = std::abs(x - k) + t;
                    if (y >= h)
                        continue;
                    if (g == Glyph::DoubleDown)
                        y = h - 1 - y;
                    px.set(x, chevron * 4 + y);
                }
        break;
    }
    }
    const QPoint origin(box.left() + (box.width() - size.width()) / 2, box.top() + (box.height() - size.height()) / 2);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int y = 0; y < px.h; ++y)
        for (int x = 0; x < px.w; ++x)
            if (px.on[static_cast<std::size_t>(y * px.w + x)])
                p.fillRect(origin.x() + x, origin.y() + y, 1, 1, c);
    p.restore();
}

void drawGlyphShadowed(QPainter& p, Glyph g, const QRect& box, int size, int weight, const QColor& c,
                       const QColor& shadow, QPoint offset)
{
    drawGlyph(p, g, box.translated(offset), size, weight, shadow);
    drawGlyph(p, g, box, size, weight, c);
}

void drawCheck(QPainter& p, const QRect& box, const QColor& c)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const int w = box.width() >= 9 ? 9 : 7;
    const int t = 3;
    const int k = (w - 1) / 3;
    const int base = w - 2 * k + t - 2;
    const int h = base + k + 1;
    const int ox = box.left() + (box.width() - w) / 2;
    const int oy = box.top() + (box.height() - h) / 2;
    for (int x = 0; x < w; ++x) {
        const int bottom = x <= k ? base + x : base + k - (x - k);
        p.fillRect(ox + x, oy + bottom - t + 1, 1, t, c);
    }
    p.restore();
}

bool nearMagenta(QRgb rgb, int distance)
{
    const int dr = qRed(rgb) - 0xFF;
    const int dg = qGreen(rgb);
    const int db = qBlue(rgb) - 0xFF;
    if (dr == 0 && dg == 0 && db == 0)
        return false;
    return dr * dr + dg * dg + db * db <= distance * distance;
}

}  // namespace artgen
