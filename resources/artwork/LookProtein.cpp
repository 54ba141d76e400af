// Protein: bright silver with a strong blue accent; the title bar opens with a blue
// gel band for the caption that sweeps into silver.
#include "Kit.h"

#include <cmath>

namespace artgen {
namespace {

const QColor kForm(0xFB, 0xFB, 0xFB);
const QColor kAccent(0x2D, 0x30, 0xC4);

QColor silverRow(int y)
{
    return ramp(y, {{0, QColor(0x1E, 0x1E, 0x24)},
                    {1, QColor(0xFF, 0xFF, 0xFF)},
                    {6, QColor(0xEE, 0xEE, 0xF1)},
                    {12, QColor(0xDC, 0xDC, 0xE1)},
                    {20, QColor(0xCA, 0xCA, 0xD0)},
                    {21, QColor(0xA6, 0xA6, 0xAE)},
                    {22, QColor(0x5A, 0x5A, 0x64)}});
}

QColor blueRow(int y)
{
    return ramp(y, {{0, QColor(0x1E, 0x1E, 0x24)},
                    {1, QColor(0x9C, 0xAE, 0xF6)},
                    {2, QColor(0x70, 0x88, 0xEE)},
                    {10, QColor(0x44, 0x55, 0xD8)},
                    {11, QColor(0x2D, 0x30, 0xC4)},
                    {19, QColor(0x2A, 0x36, 0xBC)},
                    {20, QColor(0x3A, 0x50, 0xD2)},
                    {21, QColor(0x1A, 0x1E, 0x80)},
                    {22, QColor(0x0A, 0x0C, 0x40)}});
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

Face silver(int state)
{
    switch (state) {
    case 1: {
        Face f = face(kAccent, QColor(0xFF, 0xFF, 0xFF), QColor(0xEE, 0xF0, 0xFC), QColor(0xE0, 0xE4, 0xF8), QColor(0xC4, 0xCB, 0xEE));
        f.innerLight = QColor(255, 255, 255);
        return f;
    }
    case 2: return face(QColor(0x50, 0x50, 0x5C), QColor(0xC2, 0xC3, 0xCE), QColor(0xD6, 0xD7, 0xDF), QColor(0xDA, 0xDB, 0xE2), QColor(0xEE, 0xEE, 0xF2));
    default: {
        Face f = face(QColor(0x70, 0x70, 0x7C), QColor(0xFF, 0xFF, 0xFF), QColor(0xF2, 0xF2, 0xF5), QColor(0xE6, 0xE6, 0xEB), QColor(0xD2, 0xD2, 0xDA));
        f.innerLight = QColor(255, 255, 255);
        return f;
    }
    }
}

Face titleFace(bool close, int state)
{
    Face f;
    if (close && state == 1)
        f = face(QColor(0x8A, 0x1A, 0x14), QColor(0xFF, 0xB0, 0xA0), QColor(0xF0, 0x6A, 0x58), QColor(0xE0, 0x4A, 0x38), QColor(0xF8, 0x8A, 0x78));
    else if (close && state == 2)
        f = face(QColor(0x6A, 0x10, 0x0C), QColor(0xB0, 0x30, 0x24), QColor(0xC4, 0x3C, 0x2E), QColor(0xC8, 0x42, 0x34), QColor(0xE0, 0x70, 0x60));
    else if (state == 1)
        f = face(kAccent, QColor(0xF0, 0xF2, 0xFF), QColor(0xD4, 0xDA, 0xFA), QColor(0xC0, 0xCA, 0xF6), QColor(0xE8, 0xEC, 0xFF));
    else if (state == 2)
        f = face(kAccent, QColor(0xA8, 0xB2, 0xE8), QColor(0xBE, 0xC6, 0xEE), QColor(0xC4, 0xCC, 0xF0), QColor(0xE0, 0xE4, 0xF8));
    else
        f = face(QColor(0x50, 0x50, 0x5C), QColor(0xFF, 0xFF, 0xFF), QColor(0xEC, 0xEC, 0xF0), QColor(0xDA, 0xDA, 0xE0), QColor(0xF4, 0xF4, 0xF8));
    if (state < 2)
        f.gloss = QColor(255, 255, 255, 200);
    return f;
}

Style style()
{
    Style s;
    s.form = kForm;
    s.list = QColor(0xFF, 0xFF, 0xFF);
    s.scrollTrack = QColor(0xF5, 0xF5, 0xF5);
    s.normal = silver(0);
    s.hover = silver(1);
    s.pressed = silver(2);
    s.box = face(QColor(0x5A, 0x5A, 0x66), QColor(0xE4, 0xE4, 0xEA), QColor(), QColor(), QColor(0xFF, 0xFF, 0xFF));
    s.box.split = QColor();
    s.boxDisabled = s.box;
    s.boxDisabled.border = QColor(0xB8, 0xB8, 0xC0);
    s.boxDisabled.top = s.boxDisabled.bottom = QColor(0xF4, 0xF4, 0xF6);
    s.mark = kAccent;
    s.markDisabled = QColor(0xB0, 0xB0, 0xBA);
    s.boxRadius = 2;
    s.thumb = silver(0);
    s.thumbHover = silver(1);
    s.thumbPressed = silver(2);
    s.groove = face(QColor(0x7A, 0x7A, 0x86), QColor(0xC8, 0xC8, 0xD0), QColor(), QColor(), QColor(0xF0, 0xF0, 0xF4));
    s.groove.split = QColor();
    s.slider = face(QColor(0x1A, 0x1E, 0x80), QColor(0x8F, 0xA4, 0xF4), QColor(), QColor(), kAccent);
    s.slider.split = QColor();
    s.slider.innerLight = QColor(255, 255, 255, 120);
    s.menuHover = QColor(0xD6, 0xD8, 0xF6);
    s.menuHoverBorder = kAccent;
    s.menuMark = QColor(0x00, 0x00, 0x00);
    s.tab = silver(0);
    s.tabLine = QColor(0x70, 0x70, 0x7C);
    s.tabLineLight = QColor(0xFF, 0xFF, 0xFF);
    s.grip = QColor(0x70, 0x70, 0x7C);
    s.gripLight = QColor(0xFF, 0xFF, 0xFF);
    s.handle = silver(0);
    return s;
}

QImage button(const Picture& pic)
{
    const int fw = pic.frameWidth();
    return framed(pic, [&](int state) {
        QImage f = rgbImage(fw, pic.height, kForm);
        stampFace(f, QRectF(0, 0, fw, pic.height), 3, silver(state), kForm);
        return f;
    });
}

// Round silver buttons, keyed on magenta; their rims are blended with the bar they
// will sit on: blue under the control box, silver at the right.
QImage titleButtons(const Picture& pic)
{
    const int fw = pic.frameWidth();
    const int top = 2;
    const auto& kinds = kTitleGlyphs;
    return framed(pic, [&](int i) {
        const int group = i / 3;
        const int state = i % 3;
        const bool close = group == 5;
        QImage f = rgbImage(fw, pic.height, kMagenta);
        const QImage under = columnPicture(fw, pic.height, [&](int y) { return group == 0 ? blueRow(top + y) : silverRow(top + y); });
        QImage layer = layerImage(fw, pic.height);
        {
            LayerPainter p(&layer);
            const QRectF ball(1, 1, fw - 2, pic.height - 2);
            paintFace(p, ball, ball.width() / 2, titleFace(close, state));
            const QColor ink = close && state > 0 ? QColor(Qt::white) : state == 0 ? QColor(0x2A, 0x2A, 0x38) : QColor(0x1A, 0x1E, 0x80);
            const QRect box = ball.toRect().translated(state == 2 ? QPoint(1, 1) : QPoint());
            drawGlyph(p, kinds[group].glyph, box, kinds[group].size, 2, ink);
        }
        stamp(f, layer, {0, 0}, under);
        return f;
    });
}

// The long left end: the blue band for the caption, then a swept edge into silver that
// matches the stretched middle.
QImage titleLeft(const Picture& pic)
{
    QImage f = columnPicture(pic.width, pic.height, silverRow);
    const QImage blue = columnPicture(pic.width, pic.height, blueRow);
    QImage layer = layerImage(pic.width, pic.height);
    QPainterPath band;
    band.moveTo(0, 0);
    // Long enough for the main window's caption in bold Tahoma or its stand-ins.
    band.lineTo(418, 0);
    band.cubicTo(398, 0, 400, pic.height, 374, pic.height);
    band.lineTo(0, pic.height);
    band.closeSubpath();
    {
        LayerPainter p(&layer);
        // A light bevel on the silver side, a dark line on the blue side.
        p.setBrush(QColor(255, 255, 255, 230));
        p.drawPath(band.translated(1.5, 0));
        p.setBrush(QColor(0x14, 0x16, 0x5C));
        p.drawPath(band);
        p.setBrush(QBrush(blue));
        p.drawPath(band.translated(-1, 0));
    }
    stamp(f, layer, {0, 0}, kForm);
    // A highlight just inside the window border.
    for (int y = 1; y < pic.height - 1; ++y)
        f.setPixel(1, y, mix(blueRow(y), Qt::white, 0.25).rgb());
    return f;
}

}  // namespace

QImage drawProtein(const Picture& pic)
{
    const std::string& e = pic.element;
    if (e == "BUTTON")
        return button(pic);
    if (e == "TITLEBTN")
        return titleButtons(pic);
    if (e == "TITLE_LEFT")
        return titleLeft(pic);
    if (e == "TITLE_CLIENT")
        return columnPicture(pic.width, pic.height, silverRow);
    if (e == "TITLE_RIGHT")
        return columnPicture(pic.width, pic.height, [](int y) { return shade(silverRow(y), -0.3); });
    if (e == "PROGRESSBAR")
        return columnPicture(pic.width, pic.height, [](int y) { return blueRow(y * 2 + 1); });
    if (e == "SIDECHENNEL_BAR")
        return columnPicture(pic.width, pic.height, [](int y) { return blueRow(y + 1); });
    return drawGeneric(pic, style());
}

}  // namespace artgen
