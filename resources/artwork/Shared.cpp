// Pictures shared by the looks: window and menu backgrounds, the menu check mark, the
// panel's fold button, the application icon and the neutral menu scroll buttons.
#include "Kit.h"

namespace artgen {
namespace {

QImage pinstripes(const Picture& pic)
{
    // Two light rows, two darker ones: the look's window background, tiled.
    return columnPicture(pic.width, pic.height, [](int y) { return y % 4 < 2 ? QColor(0xEC, 0xEC, 0xEC) : QColor(0xE3, 0xE3, 0xE3); });
}

QImage brushedSilver(const Picture& pic)
{
    QImage f = rgbImage(pic.width, pic.height, QColor(0xFB, 0xFB, 0xFB));
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x)
            if ((x + y) % 4 == 0)
                f.setPixel(x, y, qRgb(0xF3, 0xF3, 0xF6));
    return f;
}

QImage menuBar(const Picture& pic)
{
    return columnPicture(pic.width, pic.height, [](int y) {
        if (y == 20)
            return QColor(0xC4, 0xC4, 0xC4);
        if (y == 21)
            return QColor(0x9A, 0x9A, 0x9A);
        const QColor base = mix(QColor(0xFF, 0xFF, 0xFF), QColor(0xF0, 0xF0, 0xF0), y / 19.0);
        return y % 2 == 0 ? base : shade(base, -0.03);
    });
}

QImage menuSelect(const Picture& pic)
{
    return columnPicture(pic.width, pic.height, [](int y) {
        return ramp(y, {{0, QColor(0x7D, 0xAA, 0xF4)}, {9, QColor(0x3F, 0x7B, 0xE2)}, {10, QColor(0x2F, 0x6B, 0xD8)},
                        {19, QColor(0x4E, 0x8A, 0xEC)}, {20, QColor(0x1D, 0x4F, 0xA8)}});
    });
}

QImage menuChecked(const Picture& pic)
{
    // White is the key: the mark alone shows.
    QImage f = rgbImage(pic.width, pic.height, Qt::white);
    QPainter p(&f);
    drawCheck(p, QRect(4, 4, 8, 8), QColor(0x00, 0x00, 0x00));
    return f;
}

QImage panelButton(const Picture& pic)
{
    const int fw = pic.frameWidth();
    // Drawn opaque on any caption strip: the corners take a neutral grey.
    const QColor around(0x9A, 0xA0, 0xAA);
    return framed(pic, [&](int i) {
        const bool hot = i % 2 == 1;
        const bool expanded = i < 2;
        QImage f = rgbImage(fw, pic.height, around);
        QImage layer = layerImage(fw, pic.height);
        {
            LayerPainter p(&layer);
            Face face;
            face.border = hot ? QColor(0x2D, 0x5B, 0xB8) : QColor(0x4A, 0x50, 0x60);
            face.top = hot ? QColor(0xF2, 0xF7, 0xFF) : QColor(0xFF, 0xFF, 0xFF);
            face.bottom = hot ? QColor(0xB4, 0xC8, 0xF0) : QColor(0xD2, 0xD6, 0xE0);
            face.innerLight = QColor(255, 255, 255);
            paintFace(p, QRectF(0, 0, fw, pic.height), 2, face);
            // The arrows point where the panel goes on a click.
            drawGlyph(p, expanded ? Glyph::DoubleUp : Glyph::DoubleDown, QRect(0, 0, fw, pic.height), 7, 2,
                      hot ? QColor(0x10, 0x30, 0x8A) : QColor(0x2A, 0x35, 0x50));
        }
        stamp(f, layer, {0, 0}, around);
        return f;
    });
}

QImage moreScrollButton(const Picture& pic)
{
    Style s;
    s.list = QColor(0xFF, 0xFF, 0xFF);
    s.menuHover = QColor(0xD8, 0xDC, 0xE8);
    s.menuHoverBorder = QColor(0x7A, 0x84, 0x98);
    s.menuMark = QColor(0x00, 0x00, 0x00);
    return menuScrollButtonPicture(pic, s);
}

}  // namespace

QImage drawShared(const Picture& pic)
{
    const std::string& n = pic.name;
    if (n == "MACOS_FORM_BACKGROUND")
        return pinstripes(pic);
    if (n == "PROTEIN_FORM_BACKGROUND")
        return brushedSilver(pic);
    if (n == "MACOS_MENU_BAR")
        return menuBar(pic);
    if (n == "MACOS_MENU_SELECT")
        return menuSelect(pic);
    if (n == "MENU_CHECKED")
        return menuChecked(pic);
    if (n == "PANEL_BUTTON")
        return panelButton(pic);
    if (n == "MAINICON")
        return mainIcon(32);
    if (n == "MAINICON_16")
        return mainIcon(16);
    if (n == "MORE_SCROLLBUTTON")
        return moreScrollButton(pic);
    return {};
}

}  // namespace artgen
