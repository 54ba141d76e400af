// WinXP: a rounded blue title bar with a highlight, cream buttons with an orange edge
// under the pointer, blue title buttons and a red close button.
#include "Kit.h"

namespace artgen {
namespace {

const QColor kForm(0xEF, 0xEB, 0xDE);
const QColor kFrame(0x00, 0x2C, 0xC8);  // the window border

QColor titleRow(int y)
{
    return ramp(y, {{0, QColor(0x0B, 0x3D, 0xCB)},
                    {1, QColor(0x5A, 0xA5, 0xFF)},
                    {2, QColor(0x3B, 0x8F, 0xFF)},
                    {4, QColor(0x1C, 0x74, 0xF8)},
                    {7, QColor(0x0A, 0x62, 0xEE)},
                    {12, QColor(0x00, 0x58, 0xE6)},
                    {22, QColor(0x00, 0x54, 0xE0)},
                    {25, QColor(0x0A, 0x62, 0xEC)},
                    {26, QColor(0x00, 0x52, 0xDA)},
                    {27, QColor(0x00, 0x42, 0xBE)},
                    {28, QColor(0x00, 0x33, 0x9F)}});
}

Face face(const QColor& border, const QColor& top, const QColor& upper, const QColor& lower, const QColor& bottom,
          qreal splitAt)
{
    Face f;
    f.border = border;
    f.top = top;
    f.splitEnd = upper;
    f.split = lower;
    f.splitAt = splitAt;
    f.bottom = bottom;
    return f;
}

Face pushFace(int state)
{
    const QColor border(0x00, 0x3C, 0x74);
    if (state == 2)
        return face(border, QColor(0xCD, 0xCA, 0xC3), QColor(0xE3, 0xE2, 0xDA), QColor(0xE6, 0xE4, 0xDC), QColor(0xF2, 0xF1, 0xEC), 0.5);
    Face f = face(border, QColor(0xFF, 0xFF, 0xFF), QColor(0xF4, 0xF3, 0xEE), QColor(0xF0, 0xEF, 0xE9), QColor(0xD6, 0xD0, 0xC5), 0.75);
    f.innerLight = QColor(255, 255, 255);
    if (state == 1) {
        f.ring = QColor(0xFF, 0xE0, 0x9A);
        f.ringBottom = QColor(0xE5, 0x97, 0x0F);
        f.innerLight = QColor();
    }
    return f;
}

Face titleFace(bool red, int state)
{
    const QColor border(255, 255, 255, 235);
    Face f;
    if (!red) {
        switch (state) {
        case 1: f = face(border, QColor(0x9C, 0xC4, 0xFF), QColor(0x6A, 0xA2, 0xFF), QColor(0x5C, 0x98, 0xFF), QColor(0x3E, 0x7B, 0xF2), 0.45); break;
        case 2: f = face(border, QColor(0x1E, 0x50, 0xCF), QColor(0x2C, 0x60, 0xDB), QColor(0x30, 0x66, 0xDE), QColor(0x4A, 0x82, 0xEC), 0.45); break;
        default: f = face(border, QColor(0x7C, 0xB1, 0xFF), QColor(0x4A, 0x8B, 0xF8), QColor(0x3F, 0x82, 0xF5), QColor(0x2A, 0x66, 0xE3), 0.45); break;
        }
    } else {
        switch (state) {
        case 1: f = face(border, QColor(0xFF, 0xB8, 0x9A), QColor(0xF5, 0x82, 0x58), QColor(0xF0, 0x74, 0x48), QColor(0xDC, 0x52, 0x28), 0.45); break;
        case 2: f = face(border, QColor(0xB0, 0x36, 0x18), QColor(0xC4, 0x46, 0x24), QColor(0xC8, 0x4C, 0x2A), QColor(0xDC, 0x6A, 0x44), 0.45); break;
        default: f = face(border, QColor(0xF4, 0xA0, 0x80), QColor(0xE5, 0x6A, 0x40), QColor(0xE0, 0x5A, 0x30), QColor(0xC8, 0x40, 0x1C), 0.45); break;
        }
    }
    f.gloss = QColor(255, 255, 255, state == 2 ? 30 : 70);
    f.glossHeight = 0.4;
    return f;
}

Style style()
{
    Style s;
    s.form = kForm;
    s.list = QColor(0xFF, 0xFF, 0xFF);
    s.scrollTrack = QColor(0xF9, 0xF9, 0xF9);
    const QColor boxBorder(0x1C, 0x51, 0x80);
    Face box = face(boxBorder, QColor(0xDC, 0xDC, 0xD7), QColor(0xF0, 0xF0, 0xEC), QColor(0xF0, 0xF0, 0xEC), QColor(0xFF, 0xFF, 0xFF), 0.5);
    box.split = QColor();
    s.box = box;
    s.boxDisabled = box;
    s.boxDisabled.border = QColor(0xCA, 0xC8, 0xBB);
    s.boxDisabled.top = s.boxDisabled.bottom = QColor(0xFF, 0xFF, 0xFF);
    s.mark = QColor(0x21, 0xA1, 0x21);
    s.markDisabled = QColor(0xCA, 0xC8, 0xBB);
    s.boxRadius = 0;
    Face scroll = face(QColor(0xB4, 0xC8, 0xF6), QColor(0xE0, 0xEA, 0xFE), QColor(), QColor(), QColor(0xB7, 0xCB, 0xF7), 0.5);
    scroll.innerLight = QColor(255, 255, 255, 220);
    s.thumb = scroll;
    s.thumbHover = scroll;
    s.thumbHover.top = QColor(0xF0, 0xF6, 0xFF);
    s.thumbHover.bottom = QColor(0xC8, 0xDA, 0xFF);
    s.thumbPressed = scroll;
    s.thumbPressed.top = QColor(0xA9, 0xC1, 0xF2);
    s.thumbPressed.bottom = QColor(0xD0, 0xDE, 0xF9);
    s.groove = face(QColor(0x9D, 0x9C, 0x99), QColor(0xD5, 0xD4, 0xCE), QColor(), QColor(), QColor(0xF4, 0xF3, 0xEE), 0.5);
    s.slider = face(QColor(0x7A, 0x88, 0x97), QColor(0xFF, 0xFF, 0xFF), QColor(), QColor(), QColor(0xE0, 0xDF, 0xD6), 0.5);
    s.slider.innerLight = QColor(0x4C, 0xC0, 0x4C);  // the green lip of the thumb
    s.menuHover = QColor(0xC6, 0xD3, 0xEF);
    s.menuHoverBorder = QColor(0x31, 0x69, 0xC6);
    s.menuMark = QColor(0x00, 0x00, 0x00);
    s.tab = face(QColor(0x91, 0x9B, 0x9C), QColor(0xFF, 0xFF, 0xFF), QColor(), QColor(), QColor(0xF0, 0xF0, 0xEA), 0.5);
    s.tab.innerLight = QColor(0xFF, 0xC8, 0x3C);
    s.tabLine = QColor(0x91, 0x9B, 0x9C);
    s.tabLineLight = QColor(0xFC, 0xFC, 0xFE);
    s.grip = QColor(0x7A, 0x96, 0xDF);
    s.gripLight = QColor(0xFF, 0xFF, 0xFF);
    s.handle = face(QColor(0x7A, 0x96, 0xDF), QColor(0xE6, 0xEE, 0xFC), QColor(), QColor(), QColor(0xC6, 0xD3, 0xF7), 0.5);
    s.normal = s.thumb;
    s.hover = s.thumbHover;
    s.pressed = s.thumbPressed;
    return s;
}

QImage button(const Picture& pic)
{
    const int fw = pic.frameWidth();
    return framed(pic, [&](int state) {
        QImage f = rgbImage(fw, pic.height, kForm);
        stampFace(f, QRectF(0, 0, fw, pic.height), 3, pushFace(state), kForm);
        return f;
    });
}

QImage titleButtons(const Picture& pic)
{
    const int fw = pic.frameWidth();
    const int top = 5;
    struct Kind {
        Glyph glyph;
        int size;
    };
    const Kind kinds[] = {{Glyph::Menu, 9}, {Glyph::Help, 9}, {Glyph::Maximise, 9},
                          {Glyph::Restore, 9}, {Glyph::Minimise, 9}, {Glyph::Close, 8}};
    const QImage icon = mainIcon(16);
    return framed(pic, [&](int i) {
        const int group = i / 3;
        const int state = i % 3;
        QImage f = columnPicture(fw, pic.height, [&](int y) { return titleRow(top + y); });
        QImage layer = layerImage(fw, pic.height);
        {
            LayerPainter p(&layer);
            const QRect box(0, 0, fw, pic.height);
            if (group == 0) {
                // The control box shows the program's icon, lit under the pointer.
                if (state > 0) {
                    Face glow;
                    glow.border = QColor(255, 255, 255, state == 1 ? 120 : 70);
                    glow.top = glow.bottom = state == 1 ? QColor(255, 255, 255, 60) : QColor(0, 0x20, 0x80, 70);
                    paintFace(p, box, 3, glow);
                }
                p.drawImage(QPoint(2, 2) + (state == 2 ? QPoint(1, 1) : QPoint()), icon);
            } else {
                paintFace(p, box, 3, titleFace(group == 5, state));
                drawGlyph(p, kinds[group].glyph, box.adjusted(0, 0, 0, 0), kinds[group].size, 2, Qt::white);
            }
        }
        stamp(f, layer, {0, 0}, kForm);
        return f;
    });
}

QImage titleEnd(const Picture& pic, bool left)
{
    QImage content = columnPicture(pic.width, pic.height, titleRow);
    // A light edge where the bar meets the frame.
    const int x = left ? 3 : pic.width - 4;
    for (int y = 1; y < pic.height - 2; ++y)
        content.setPixel(x, y, mix(titleRow(y), Qt::white, 0.18).rgb());
    return roundTitleEnd(content, left, 6.5, kFrame);
}

}  // namespace

QImage drawWinXP(const Picture& pic)
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
    if (e == "PROGRESSBAR") {
        // Green blocks with a one-pixel gap, repeating.
        QImage f = columnPicture(pic.width, pic.height, [&](int y) {
            return ramp(y, {{0, QColor(0xBD, 0xF2, 0xB5)}, {3, QColor(0x37, 0xD1, 0x27)}, {6, QColor(0x2D, 0xB9, 0x1F)}, {9, QColor(0xA1, 0xEF, 0x96)}});
        });
        for (int y = 0; y < pic.height; ++y)
            f.setPixel(pic.width - 1, y, qRgb(0xFF, 0xFF, 0xFF));
        return f;
    }
    if (e == "SIDECHENNEL_BAR")
        return columnPicture(pic.width, pic.height, [&](int y) {
            return y == pic.height - 1 ? QColor(0xB0, 0xBE, 0xE8) : mix(QColor(0xFF, 0xFF, 0xFF), QColor(0xC6, 0xD3, 0xF7), y / 19.0);
        });
    if (e == "SCROLLBAR_BUTTON") {
        Style s = style();
        s.mark = QColor(0x4D, 0x61, 0x85);
        return scrollBarButtonPicture(pic, s, 2);
    }
    return drawGeneric(pic, style());
}

}  // namespace artgen
