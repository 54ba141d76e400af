// MacOS: pinstriped light grey, glossy blue gel, red / yellow / green title buttons.
#include "Kit.h"

namespace artgen {
namespace {

const QColor kForm(0xE7, 0xE7, 0xE7);
const QColor kBorder(0x7F, 0x7F, 0x7F);

// The title bar, row by row: a top border line, a highlight, pinstripes fading down,
// and a shadowed bottom edge. Everything in the bar follows it.
QColor titleRow(int y)
{
    switch (y) {
    case 0: return kBorder;
    case 1: return QColor(0xFC, 0xFC, 0xFC);
    case 21: return QColor(0xB4, 0xB4, 0xB4);
    case 22: return QColor(0x8A, 0x8A, 0x8A);
    default: break;
    }
    const QColor base = mix(QColor(0xF3, 0xF3, 0xF3), QColor(0xD5, 0xD5, 0xD5), (y - 2) / 18.0);
    return y % 2 == 0 ? base : shade(base, -0.035);
}

Face gel(const QColor& border, const QColor& top, const QColor& upper, const QColor& lower, const QColor& bottom,
         int glossAlpha = 230)
{
    Face f;
    f.border = border;
    f.top = top;
    f.splitEnd = upper;
    f.split = lower;
    f.splitAt = 0.5;
    f.bottom = bottom;
    f.gloss = QColor(255, 255, 255, glossAlpha);
    f.glossHeight = 0.42;
    return f;
}

Face blueGel(int state)
{
    switch (state) {
    case 1: return gel(QColor(0x2A, 0x55, 0x99), QColor(0xA6, 0xD0, 0xFF), QColor(0x62, 0xAA, 0xFF), QColor(0x46, 0x98, 0xFA), QColor(0xC8, 0xEE, 0xFF));
    case 2: return gel(QColor(0x24, 0x4B, 0x85), QColor(0x4C, 0x86, 0xD6), QColor(0x36, 0x72, 0xC8), QColor(0x2C, 0x66, 0xBE), QColor(0x78, 0xB0, 0xF0), 160);
    default: return gel(QColor(0x4A, 0x6F, 0xA5), QColor(0x8E, 0xBB, 0xF0), QColor(0x6F, 0xA6, 0xEA), QColor(0x5C, 0x97, 0xE4), QColor(0xB8, 0xDC, 0xFF));
    }
}

Face whiteGel(int state)
{
    switch (state) {
    case 1: return gel(QColor(0x6E, 0x86, 0xAA), QColor(0xF4, 0xF8, 0xFF), QColor(0xE0, 0xEA, 0xF8), QColor(0xD4, 0xE2, 0xF5), QColor(0xFF, 0xFF, 0xFF));
    case 2: return blueGel(2);
    default: return gel(QColor(0x8A, 0x8A, 0x8A), QColor(0xF2, 0xF2, 0xF2), QColor(0xE4, 0xE4, 0xE4), QColor(0xDA, 0xDA, 0xDA), QColor(0xFF, 0xFF, 0xFF));
    }
}

Style style()
{
    Style s;
    s.form = kForm;
    s.list = QColor(0xFF, 0xFF, 0xFF);
    s.scrollTrack = QColor(0xC9, 0xC9, 0xC9);
    s.normal = whiteGel(0);
    s.hover = whiteGel(1);
    s.pressed = whiteGel(2);
    s.box = whiteGel(0);
    s.checked = blueGel(0);
    s.mark = QColor(0x10, 0x1C, 0x3A);
    s.markDisabled = QColor(0x9A, 0x9E, 0xA6);
    s.boxRadius = 3;
    s.thumb = blueGel(0);
    s.thumbHover = blueGel(1);
    s.thumbPressed = blueGel(2);
    s.groove = gel(QColor(0x80, 0x80, 0x80), QColor(0xB8, 0xB8, 0xB8), QColor(0xCC, 0xCC, 0xCC), QColor(0xD8, 0xD8, 0xD8), QColor(0xF0, 0xF0, 0xF0), 0);
    s.slider = blueGel(0);
    s.slider.innerLight = QColor(255, 255, 255, 160);
    s.menuHover = QColor(0x5A, 0x8F, 0xE8);
    s.menuHoverBorder = QColor(0x39, 0x73, 0xC4);
    s.menuMark = QColor(0x20, 0x20, 0x20);
    s.tab = whiteGel(0);
    s.tabLine = QColor(0x8A, 0x8A, 0x8A);
    s.tabLineLight = QColor(0xFA, 0xFA, 0xFA);
    s.grip = QColor(0x80, 0x80, 0x80);
    s.gripLight = QColor(0xFF, 0xFF, 0xFF);
    s.handle = whiteGel(0);
    return s;
}

QImage button(const Picture& pic)
{
    const int fw = pic.frameWidth();
    return framed(pic, [&](int state) {
        QImage f = rgbImage(fw, pic.height, kMagenta);
        const QRectF pill(1, 0, fw - 2, pic.height - 1);
        QImage layer = layerImage(fw, pic.height);
        {
            LayerPainter p(&layer);
            p.setBrush(QColor(0, 0, 0, 40));
            p.drawPath(rounded(pill.translated(0, 1), pill.height() / 2));
            paintFace(p, pill, pill.height() / 2, blueGel(state));
        }
        stamp(f, layer, {0, 0}, kForm);
        return f;
    });
}

// Round gel buttons over the title bar's own rows (the look draws them opaque).
QImage titleButtons(const Picture& pic)
{
    const int fw = pic.frameWidth();
    const int top = 4;  // where the bar places them
    struct Kind {
        Glyph glyph;
        QColor base;
        int size;
        int weight;
    };
    const Kind kinds[] = {
        {Glyph::Menu, QColor(0x8E, 0x96, 0xA3), 7, 1},     {Glyph::Help, QColor(0x6E, 0x87, 0xB8), 7, 1},
        {Glyph::Maximise, QColor(0x4F, 0xB8, 0x3A), 7, 1}, {Glyph::Restore, QColor(0x4F, 0xB8, 0x3A), 8, 1},
        {Glyph::Minimise, QColor(0xF2, 0xB0, 0x1E), 7, 1}, {Glyph::Close, QColor(0xE8, 0x47, 0x3B), 6, 2},
    };
    return framed(pic, [&](int i) {
        const Kind& k = kinds[i / 3];
        const int state = i % 3;
        QImage f = columnPicture(fw, pic.height, [&](int y) { return titleRow(top + y); });
        const QColor base = state == 1 ? shade(k.base, 0.18) : state == 2 ? shade(k.base, -0.28) : k.base;
        const QRectF ball(1, 1, 15, 15);
        QImage layer = layerImage(fw, pic.height);
        {
            LayerPainter p(&layer);
            p.setBrush(QColor(0, 0, 0, 45));
            p.drawEllipse(ball.translated(0, 1));
            Face face = gel(shade(base, -0.45), shade(base, -0.2), base, base, shade(base, 0.45), state == 2 ? 150 : 220);
            face.glossHeight = 0.45;
            paintFace(p, ball, 7.5, face);
            const QColor ink = shade(base, state == 2 ? -0.72 : -0.6);
            drawGlyph(p, k.glyph, ball.toRect(), k.size, k.weight, ink);
        }
        stamp(f, layer, {0, 0}, kForm);
        return f;
    });
}

QImage titleEnd(const Picture& pic, bool left)
{
    QImage f = columnPicture(pic.width, pic.height, titleRow);
    const int edge = left ? 0 : pic.width - 1;
    const int inner = left ? 1 : pic.width - 2;
    for (int y = 1; y < pic.height - 1; ++y) {
        f.setPixel(edge, y, kBorder.rgb());
        const QColor row = titleRow(y);
        f.setPixel(inner, y, (left ? mix(row, Qt::white, 0.6) : shade(row, -0.08)).rgb());
    }
    return f;
}

// The aqua progress fill: diagonal stripes under a gel sheen, repeating every 13 pixels.
QImage progress(const Picture& pic)
{
    QImage f(pic.width, pic.height, QImage::Format_RGB32);
    const QColor dark(0x3C, 0x80, 0xE0), light(0x9C, 0xC8, 0xF8);
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x) {
            // Four samples per pixel keep the stripe edges smooth.
            qreal on = 0;
            for (int s = 0; s < 4; ++s) {
                const qreal u = x + 0.25 + 0.5 * (s % 2) + y + 0.25 + 0.5 * (s / 2);
                on += std::fmod(u, pic.width) < pic.width / 2.0 ? 0.25 : 0;
            }
            QColor c = mix(light, dark, on);
            const qreal t = (y + 0.5) / pic.height;
            c = t < 0.5 ? mix(c, Qt::white, 0.45 - t * 0.6) : mix(c, QColor(0x10, 0x40, 0x90), (t - 0.5) * 0.3);
            f.setPixel(x, y, c.rgb());
        }
    return f;
}

}  // namespace

QImage drawMacOS(const Picture& pic)
{
    const std::string& e = pic.element;
    if (e == "BUTTON")
        return button(pic);
    if (e == "TITLEBTN")
        return titleButtons(pic);
    if (e == "TITLE_LEFT")
        return titleEnd(pic, true);
    if (e == "TITLE_RIGHT")
        return titleEnd(pic, false);
    if (e == "TITLE_CLIENT")
        return columnPicture(pic.width, pic.height, titleRow);
    if (e == "PROGRESSBAR")
        return progress(pic);
    if (e == "SIDECHENNEL_BAR")
        return columnPicture(pic.width, pic.height, [](int y) { return titleRow(y + 1); });
    return drawGeneric(pic, style());
}

}  // namespace artgen
