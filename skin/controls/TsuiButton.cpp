#include "TsuiButton.h"

#include "skin/SuiPicture.h"

#include <QFontMetrics>

TsuiButton::TsuiButton(QWidget* parent) : TsuiCustomButton(parent)
{
    resize(80, 27);
    UIStyleChanged();
}

void TsuiButton::SetGlyph(const QImage& glyph)
{
    m_glyph = glyph;
    update();
}

void TsuiButton::SetLayout(TsuiButtonLayout layout)
{
    m_layout = layout;
    update();
}

void TsuiButton::SetSpacing(int spacing)
{
    m_spacing = spacing;
    update();
}

void TsuiButton::UIStyleChanged()
{
    // The look decides, whatever a stored design said.
    SetTransparent(SuiBool(FileTheme(), UIStyle(), SUI_THEME_BUTTON_TRANSPARENT_BOOL));
}

void TsuiButton::PaintPic(QPainter& canvas, const QImage& picture)
{
    SpitDraw(picture, canvas, rect(), PicTransparent());
    if (m_glyph.isNull())
        return;

    const QFontMetrics fm(font());
    const QString shown = SuiStripAccelerator(Caption());
    const int tw = fm.horizontalAdvance(shown);
    const int th = fm.height();
    const bool twoImages = m_glyph.width() == 2 * m_glyph.height();
    const int gh = m_glyph.height();
    const int gw = twoImages ? gh : m_glyph.width();
    const int s = m_spacing;
    const int w = width();
    const int h = height();

    QPoint glyphPos;
    switch (m_layout) {
    case blGlyphLeft:
        glyphPos = {(w - (tw + gw + s)) / 2, (h - gh) / 2};
        m_captionPos = {glyphPos.x() + gw + s, (h - th) / 2};
        break;
    case blGlyphRight:
        glyphPos = {(w + tw + s - gw) / 2, (h - gh) / 2};
        m_captionPos = {glyphPos.x() - tw - s, (h - th) / 2};
        break;
    case blGlyphTop:
        glyphPos = {(w - gw) / 2, (h - (th + gh + s)) / 2};
        m_captionPos = {(w - tw) / 2, glyphPos.y() + gh + s};
        break;
    case blGlyphBottom:
        glyphPos = {(w - gw) / 2, (h + th + s - gh) / 2};
        m_captionPos = {(w - tw) / 2, glyphPos.y() - th - s};
        break;
    }
    if (IsPressed())
        glyphPos += QPoint(1, 1);

    QImage image = m_glyph.copy(twoImages && !isEnabled() ? gw : 0, 0, gw, gh);
    image = SuiKeyedImage(image, m_glyph.pixel(0, 0));
    if (!isEnabled() && !twoImages)
        image = SuiDisabledImage(image);
    canvas.drawImage(glyphPos, image);
}

void TsuiButton::PaintText(QPainter& canvas, const QString& caption)
{
    if (m_glyph.isNull()) {
        TsuiCustomButton::PaintText(canvas, caption);
        return;
    }
    // Beside a glyph the caption never turns bold.
    SetBoldCaption(false);
    canvas.save();
    canvas.setClipRect(rect());
    DrawCaption(canvas, QRect(m_captionPos, QPoint(width() * 2, height() * 2)), Qt::AlignLeft | Qt::AlignTop,
                caption, false);
    canvas.restore();
}

void TsuiButton::PaintFocus(QPainter& canvas)
{
    if (UIStyle() == Sui::MacOS || UIStyle() == Sui::BlueGlass)
        SetBoldCaption(true);
    else
        TsuiCustomButton::PaintFocus(canvas);
}
