// BlueGlass: a glossy blue glass title bar with a hard reflection line, glass balls
// for the title buttons, pale glass push buttons.
#include "Kit.h"

namespace artgen {
namespace {

const QColor kForm(0xE7, 0xE7, 0xE7);
const QColor kEdge(0x0B, 0x2A, 0x66);
const QColor kCorner(0x0B, 0x15, 0x30);  // between the window's corner and the glass

QColor titleRow(int y)
{
    return ramp(y, {{0, QColor(0x06, 0x10, 0x2A)},
                    {1, QColor(0x9F, 0xCB, 0xFF)},
                    {2, QColor(0x6A, 0xA6, 0xF4)},
                    {8, QColor(0x3F, 0x7F, 0xDC)},
                    {15, QColor(0x2F, 0x6C, 0xCB)},
                    {16, QColor(0x1B, 0x4E, 0xAE)},
                    {24, QColor(0x1A, 0x4C, 0xA8)},
                    {29, QColor(0x25, 0x60, 0xC4)},
                    {31, QColor(0x4A, 0x88, 0xE4)},
                    {32, kEdge}});
}

Face glass(const QColor& border, const QColor& top, const QColor& upper, const QColor& lower, const QColor& bottom,
           int glossAlpha)
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

Face pale(int state)
{
    switch (state) {
    case 1: {
        // Under the pointer the glass lights up from its rim.
        Face f = glass(QColor(0x1E, 0x4F, 0xA8), QColor(0xFF, 0xFF, 0xFF), QColor(0xC4, 0xE0, 0xFF), QColor(0x8C, 0xC4, 0xFF), QColor(0xD0, 0xEA, 0xFF), 190);
        f.ring = QColor(0xB8, 0xEC, 0xFF);
        f.ringBottom = QColor(0x5C, 0xC8, 0xFF);
        return f;
    }
    case 2: return glass(QColor(0x1E, 0x4F, 0xA8), QColor(0xA8, 0xCC, 0xF4), QColor(0x8A, 0xB8, 0xEE), QColor(0x6C, 0xA2, 0xE6), QColor(0xA8, 0xD0, 0xF8), 90);
    default: return glass(QColor(0x3A, 0x6A, 0xB8), QColor(0xF2, 0xF8, 0xFF), QColor(0xD2, 0xE6, 0xFF), QColor(0xA8, 0xD0, 0xFF), QColor(0xDD, 0xEE, 0xFF), 180);
    }
}

Face deep(int state)
{
    switch (state) {
    case 1: return glass(kEdge, QColor(0xE4, 0xF2, 0xFF), QColor(0x9C, 0xCA, 0xFF), QColor(0x4E, 0x92, 0xEE), QColor(0x8C, 0xC8, 0xFF), 220);
    case 2: return glass(kEdge, QColor(0x5E, 0x96, 0xE0), QColor(0x3F, 0x78, 0xCC), QColor(0x2A, 0x5F, 0xB8), QColor(0x4C, 0x8A, 0xE0), 100);
    default: return glass(kEdge, QColor(0xCF, 0xE6, 0xFF), QColor(0x7D, 0xB4, 0xF6), QColor(0x3A, 0x7C, 0xDA), QColor(0x6F, 0xB0, 0xF8), 210);
    }
}

Face red(int state)
{
    const QColor border(0x5A, 0x0E, 0x08);
    switch (state) {
    case 1: return glass(border, QColor(0xFF, 0xE0, 0xD8), QColor(0xFF, 0x9E, 0x8C), QColor(0xEC, 0x54, 0x40), QColor(0xFF, 0x9A, 0x86), 220);
    case 2: return glass(border, QColor(0xE0, 0x70, 0x60), QColor(0xC8, 0x4A, 0x38), QColor(0xB0, 0x30, 0x1E), QColor(0xD0, 0x60, 0x4C), 100);
    default: return glass(border, QColor(0xFF, 0xD0, 0xC8), QColor(0xF5, 0x8A, 0x78), QColor(0xD8, 0x40, 0x2C), QColor(0xF2, 0x80, 0x6C), 210);
    }
}

Style style()
{
    Style s;
    s.form = kForm;
    s.list = QColor(0xFF, 0xFF, 0xFF);
    s.scrollTrack = QColor(0xF4, 0xF4, 0xF4);
    s.normal = pale(0);
    s.hover = pale(1);
    s.pressed = pale(2);
    s.box = pale(0);
    s.checked = deep(0);
    s.mark = QColor(0xFF, 0xFF, 0xFF);
    s.markDisabled = QColor(0xF0, 0xF4, 0xFA);
    s.arrow = QColor(0x1E, 0x3F, 0x80);
    s.boxRadius = 2.5;
    s.thumb = deep(0);
    s.thumbHover = deep(1);
    s.thumbPressed = deep(2);
    s.groove = glass(QColor(0x3A, 0x6A, 0xB8), QColor(0xA8, 0xC8, 0xEE), QColor(0xC0, 0xD8, 0xF4), QColor(0xC8, 0xDE, 0xF6), QColor(0xE8, 0xF2, 0xFF), 0);
    s.slider = deep(0);
    s.menuHover = QColor(0xC8, 0xD8, 0xFA);
    s.menuHoverBorder = QColor(0x5E, 0x5E, 0xEC);
    s.menuMark = QColor(0x00, 0x00, 0x00);
    s.tab = pale(0);
    s.tabLine = QColor(0x3A, 0x6A, 0xB8);
    s.tabLineLight = QColor(0xFF, 0xFF, 0xFF);
    s.grip = QColor(0x3A, 0x6A, 0xB8);
    s.gripLight = QColor(0xFF, 0xFF, 0xFF);
    s.handle = pale(0);
    return s;
}

QImage button(const Picture& pic)
{
    const int fw = pic.frameWidth();
    return framed(pic, [&](int state) {
        QImage f = rgbImage(fw, pic.height, kMagenta);
        const QRectF body(1, 0, fw - 2, pic.height - 1);
        QImage layer = layerImage(fw, pic.height);
        {
            LayerPainter p(&layer);
            p.setBrush(QColor(0, 0, 0, 40));
            p.drawPath(rounded(body.translated(0, 1), 6));
            paintFace(p, body, 6, pale(state));
        }
        stamp(f, layer, {0, 0}, kForm);
        return f;
    });
}

QImage titleButtons(const Picture& pic)
{
    const int fw = pic.frameWidth();
    const int top = 6;
    const auto& kinds = kTitleGlyphs;
    const QImage under = columnPicture(fw, pic.height, [&](int y) { return titleRow(top + y); });
    return framed(pic, [&](int i) {
        const int group = i / 3;
        const int state = i % 3;
        QImage f = rgbImage(fw, pic.height, kMagenta);
        QImage layer = layerImage(fw, pic.height);
        {
            LayerPainter p(&layer);
            const QRectF ball(1, 1, fw - 2, pic.height - 2);
            paintFace(p, ball, ball.width() / 2, group == 5 ? red(state) : deep(state));
            const QRect box = ball.toRect().translated(state == 2 ? QPoint(1, 1) : QPoint());
            drawGlyphShadowed(p, kinds[group].glyph, box, kinds[group].size, 2, Qt::white, QColor(0x05, 0x18, 0x48, 170));
        }
        stamp(f, layer, {0, 0}, under);
        return f;
    });
}

// The glass is rounded more than the window's own corner; the window paints its arc
// on the glass edge, and the few pixels between glass and corner stay dark.
QImage titleEnd(const Picture& pic, bool left)
{
    const QImage profile = columnPicture(pic.width, pic.height, titleRow);
    QImage content = rgbImage(pic.width, pic.height, kCorner);
    QImage layer = layerImage(pic.width, pic.height);
    {
        LayerPainter p(&layer);
        const qreal r = 11;
        const QRectF shape = left ? QRectF(0, 0, pic.width + 4 * r, pic.height + 4 * r)
                                  : QRectF(-4 * r, 0, pic.width + 4 * r, pic.height + 4 * r);
        p.setBrush(QBrush(profile));
        p.drawPath(rounded(shape, r));
        if (left) {
            // A broad soft reflection over the upper glass, gone before the stretched middle.
            QRadialGradient sheen(QPointF(40, 3), 70);
            sheen.setColorAt(0, QColor(255, 255, 255, 70));
            sheen.setColorAt(1, QColor(255, 255, 255, 0));
            p.setBrush(sheen);
            p.drawRect(QRectF(1, 1, pic.width - 1, 15));
        }
    }
    stamp(content, layer, {0, 0}, kCorner);
    return roundTitleEnd(content, left, 5.5, kCorner);
}

}  // namespace

QImage drawBlueGlass(const Picture& pic)
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
        return columnPicture(pic.width, pic.height, [](int y) {
            return ramp(y, {{0, QColor(0xCF, 0xE6, 0xFF)}, {4, QColor(0x6A, 0xA6, 0xF4)}, {5, QColor(0x2A, 0x68, 0xD0)}, {9, QColor(0x6F, 0xB0, 0xF8)}});
        });
    if (e == "SIDECHENNEL_BAR")
        return columnPicture(pic.width, pic.height, [](int y) {
            return ramp(y, {{0, QColor(0x9F, 0xCB, 0xFF)}, {1, QColor(0x6A, 0xA6, 0xF4)}, {9, QColor(0x2F, 0x6C, 0xCB)}, {10, QColor(0x1B, 0x4E, 0xAE)}, {18, QColor(0x25, 0x60, 0xC4)}, {19, QColor(0x4A, 0x88, 0xE4)}, {20, kEdge}});
        });
    return drawGeneric(pic, style());
}

}  // namespace artgen
