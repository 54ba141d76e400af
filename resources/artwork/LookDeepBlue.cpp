// DeepBlue: a dark deep-blue title bar over a lighter rail, steel-blue buttons with a
// deep-blue edge.
#include "Kit.h"

namespace artgen {
namespace {

const QColor kForm(0xE8, 0xE8, 0xE8);
const QColor kInk(0x1A, 0x33, 0x72);  // the look's deep blue, for edges and marks

QColor titleRow(int y)
{
    return ramp(y, {{0, QColor(0x02, 0x0A, 0x1E)},
                    {1, QColor(0x4F, 0x6F, 0xB0)},
                    {2, QColor(0x36, 0x56, 0x9A)},
                    {6, QColor(0x25, 0x44, 0x8A)},
                    {11, QColor(0x1A, 0x35, 0x76)},
                    {12, QColor(0x14, 0x2C, 0x66)},
                    {20, QColor(0x0E, 0x24, 0x58)},
                    {21, QColor(0x14, 0x30, 0x70)},
                    {22, QColor(0x05, 0x0E, 0x2A)},
                    {23, QColor(0x6A, 0x88, 0xC8)},
                    {24, QColor(0x3F, 0x5F, 0x9F)},
                    {30, QColor(0x2A, 0x4A, 0x8A)},
                    {31, QColor(0x0A, 0x1A, 0x40)}});
}

Face face(const QColor& border, const QColor& top, const QColor& upper, const QColor& lower, const QColor& bottom)
{
    Face f;
    f.border = border;
    f.top = top;
    f.splitEnd = upper;
    f.split = lower;
    f.splitAt = 0.5;
    f.bottom = bottom;
    return f;
}

Face steel(int state)
{
    switch (state) {
    case 1: {
        Face f = face(QColor(0x2C, 0x5B, 0xC4), QColor(0xFF, 0xFF, 0xFF), QColor(0xE6, 0xEE, 0xFC), QColor(0xD8, 0xE4, 0xFA), QColor(0xB4, 0xC8, 0xEE));
        f.ring = QColor(0xA8, 0xC4, 0xF4);
        f.ringBottom = QColor(0x5B, 0x86, 0xD8);
        return f;
    }
    case 2: return face(kInk, QColor(0xB6, 0xC2, 0xDA), QColor(0xC8, 0xD2, 0xE6), QColor(0xCC, 0xD5, 0xE8), QColor(0xE4, 0xE9, 0xF3));
    default: {
        Face f = face(kInk, QColor(0xFF, 0xFF, 0xFF), QColor(0xED, 0xF1, 0xF8), QColor(0xE2, 0xE8, 0xF3), QColor(0xC8, 0xD2, 0xE6));
        f.innerLight = QColor(255, 255, 255);
        return f;
    }
    }
}

Face titleFace(bool close, int state)
{
    Face f;
    if (state == 0)
        f = face(QColor(0x8F, 0xA8, 0xDC, 200), QColor(0x4A, 0x6C, 0xB0), QColor(0x2A, 0x4A, 0x90), QColor(0x22, 0x40, 0x7F), QColor(0x2E, 0x4F, 0x96));
    else if (close && state == 1)
        f = face(QColor(0xF4, 0xC0, 0xB8), QColor(0xE8, 0x78, 0x68), QColor(0xC8, 0x42, 0x34), QColor(0xB4, 0x32, 0x26), QColor(0xCC, 0x4C, 0x3C));
    else if (close)
        f = face(QColor(0xC8, 0x90, 0x88), QColor(0x7A, 0x1C, 0x14), QColor(0x96, 0x26, 0x1C), QColor(0x9A, 0x2A, 0x20), QColor(0xB0, 0x3C, 0x30));
    else if (state == 1)
        f = face(QColor(0xC4, 0xD4, 0xF4), QColor(0x6A, 0x8C, 0xD0), QColor(0x3A, 0x5C, 0xA8), QColor(0x32, 0x54, 0x9C), QColor(0x44, 0x68, 0xB4));
    else
        f = face(QColor(0x8F, 0xA8, 0xDC), QColor(0x15, 0x30, 0x6A), QColor(0x1C, 0x3A, 0x78), QColor(0x1E, 0x3D, 0x7C), QColor(0x2A, 0x4C, 0x8E));
    if (state < 2)
        f.gloss = QColor(255, 255, 255, 60);
    return f;
}

Style style()
{
    Style s;
    s.form = kForm;
    s.list = QColor(0xFF, 0xFF, 0xFF);
    s.scrollTrack = QColor(0xF5, 0xF5, 0xF5);
    Face box = face(kInk, QColor(0xDD, 0xE3, 0xEE), QColor(), QColor(), QColor(0xFF, 0xFF, 0xFF));
    box.split = QColor();
    s.normal = steel(0);
    s.hover = steel(1);
    s.pressed = steel(2);
    s.box = box;
    s.boxDisabled = box;
    s.boxDisabled.border = QColor(0x9A, 0xA3, 0xB5);
    s.boxDisabled.top = s.boxDisabled.bottom = QColor(0xF0, 0xF0, 0xF0);
    s.mark = kInk;
    s.markDisabled = QColor(0x9A, 0xA3, 0xB5);
    s.boxRadius = 1.5;
    s.thumb = steel(0);
    s.thumbHover = steel(1);
    s.thumbPressed = steel(2);
    s.groove = face(QColor(0x6A, 0x78, 0x93), QColor(0xB8, 0xC2, 0xD6), QColor(), QColor(), QColor(0xE8, 0xEC, 0xF4));
    s.groove.split = QColor();
    s.slider = face(QColor(0x0E, 0x24, 0x58), QColor(0x5A, 0x7C, 0xC0), QColor(), QColor(), QColor(0x1E, 0x3C, 0x80));
    s.slider.split = QColor();
    s.slider.innerLight = QColor(255, 255, 255, 100);
    s.menuHover = QColor(0xC9, 0xD0, 0xEA);
    s.menuHoverBorder = QColor(0x44, 0x4A, 0xA0);
    s.menuMark = QColor(0x00, 0x00, 0x00);
    s.tab = steel(0);
    s.tabLine = kInk;
    s.tabLineLight = QColor(0xFF, 0xFF, 0xFF);
    s.grip = kInk;
    s.gripLight = QColor(0xFF, 0xFF, 0xFF);
    s.handle = steel(0);
    return s;
}

QImage button(const Picture& pic)
{
    const int fw = pic.frameWidth();
    return framed(pic, [&](int state) {
        QImage f = rgbImage(fw, pic.height, kForm);
        stampFace(f, QRectF(0, 0, fw, pic.height), 3, steel(state), kForm);
        return f;
    });
}

QImage titleButtons(const Picture& pic)
{
    const int fw = pic.frameWidth();
    const int top = 2;
    const auto& kinds = kTitleGlyphs;
    return framed(pic, [&](int i) {
        const int group = i / 3;
        const int state = i % 3;
        QImage f = columnPicture(fw, pic.height, [&](int y) { return titleRow(top + y); });
        QImage layer = layerImage(fw, pic.height);
        {
            LayerPainter p(&layer);
            const QRect box(1, 1, fw - 2, pic.height - 2);
            paintFace(p, box, 3, titleFace(group == 5, state));
            const QRect glyphBox = box.translated(state == 2 ? QPoint(1, 1) : QPoint());
            drawGlyphShadowed(p, kinds[group].glyph, glyphBox, kinds[group].size, 2, Qt::white, QColor(0x05, 0x10, 0x2A, 160));
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
    for (int y = 0; y < pic.height; ++y) {
        f.setPixel(edge, y, qRgb(0, 0, 0));
        if (y > 0 && y < pic.height - 1)
            f.setPixel(inner, y, (left ? mix(titleRow(y), Qt::white, 0.25) : shade(titleRow(y), -0.25)).rgb());
    }
    return f;
}

}  // namespace

QImage drawDeepBlue(const Picture& pic)
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
            return ramp(y, {{0, QColor(0x7E, 0x9B, 0xD8)}, {4, QColor(0x3A, 0x5C, 0xA8)}, {5, QColor(0x2A, 0x4A, 0x90)}, {9, QColor(0x44, 0x68, 0xB4)}});
        });
    if (e == "SIDECHENNEL_BAR")
        return columnPicture(pic.width, pic.height, [](int y) {
            return ramp(y, {{0, QColor(0x4F, 0x6F, 0xB0)}, {1, QColor(0x36, 0x56, 0x9A)}, {9, QColor(0x1A, 0x35, 0x76)}, {10, QColor(0x14, 0x2C, 0x66)}, {18, QColor(0x0E, 0x24, 0x58)}, {19, QColor(0x05, 0x0E, 0x2A)}});
        });
    return drawGeneric(pic, style());
}

}  // namespace artgen
