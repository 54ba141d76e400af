#include "TsuiCustomPanel.h"

#include "skin/SuiPicture.h"

#include <QPainter>
#include <algorithm>

namespace {

// A transparent picture keys out the colour of its bottom-left pixel.
QImage KeyedOnBottomLeft(const QImage& picture)
{
    return picture.isNull() ? picture : SuiKeyedImage(picture, picture.pixel(0, picture.height() - 1));
}

}  // namespace

TsuiCustomPanel::TsuiCustomPanel(QWidget* parent) : QWidget(parent), m_aligner(new SuiAligner(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TsuiCustomPanel::SetPicture(const QImage& picture)
{
    m_picture = picture;
    PictureChanged();
}

void TsuiCustomPanel::PictureChanged()
{
    if (!m_picture.isNull() && m_autoSize)
        ApplyAutoSize();
    ClearPanel();
    update();
}

void TsuiCustomPanel::SetTransparent(bool on)
{
    m_transparent = on;
    update();
}

void TsuiCustomPanel::SetAutoSize(bool on)
{
    m_autoSize = on;
    if (on && !m_picture.isNull())
        ApplyAutoSize();
}

void TsuiCustomPanel::ApplyAutoSize()
{
    const TAlign align = Align();
    int w = width(), h = height();
    if (align != SuiLayout::alTop && align != SuiLayout::alBottom && align != SuiLayout::alClient)
        w = m_picture.width();
    if (align != SuiLayout::alLeft && align != SuiLayout::alRight && align != SuiLayout::alClient)
        h = m_picture.height();
    resize(w, h);
}

void TsuiCustomPanel::SetDrawStyle(TsuiDrawStyle style)
{
    m_drawStyle = style;
    ClearPanel();
    update();
}

void TsuiCustomPanel::SetCaptionPosX(int x)
{
    m_captionLeft = x;
    update();
}

void TsuiCustomPanel::SetCaptionPosY(int y)
{
    m_captionTop = y;
    update();
}

void TsuiCustomPanel::SetAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment & Qt::AlignHorizontal_Mask;
    update();
}

void TsuiCustomPanel::SetText(const QString& text)
{
    m_text = text;
    RepaintText(m_captionRect);
    update();
}

platform::COLORREF TsuiCustomPanel::Color() const
{
    return m_parentColor ? platform::FromQColor(BackgroundColor()) : m_color;
}

void TsuiCustomPanel::SetColor(platform::COLORREF color)
{
    m_color = color;
    m_parentColor = false;
    update();
}

QColor TsuiCustomPanel::BackgroundColor() const
{
    if (m_parentColor && parentWidget())
        return parentWidget()->palette().color(parentWidget()->backgroundRole());
    return platform::ToQColor(m_color);
}

void TsuiCustomPanel::SetBorderWidth(int width)
{
    m_borderWidth = std::max(0, width);
    setContentsMargins(m_borderWidth, m_borderWidth, m_borderWidth, m_borderWidth);
    update();
}

void TsuiCustomPanel::SetAlign(TAlign align)
{
    m_aligner->SetAlign(align);
    if (m_autoSize && !m_picture.isNull())
        ApplyAutoSize();
}

QColor TsuiCustomPanel::FontColor() const
{
    return palette().color(QPalette::Active, QPalette::WindowText);
}

void TsuiCustomPanel::SetFontColor(platform::COLORREF color)
{
    // Set on the palette, so children that keep their parent's font colour follow.
    // Disabled text keeps the palette's grey.
    QPalette pal = palette();
    pal.setColor(QPalette::Active, QPalette::WindowText, platform::ToQColor(color));
    pal.setColor(QPalette::Inactive, QPalette::WindowText, platform::ToQColor(color));
    setPalette(pal);
}

void TsuiCustomPanel::PaintPanel(QPainter& canvas)
{
    const QRect client = rect();
    if (m_transparent)
        DoTrans(canvas, this);
    else
        canvas.fillRect(client, BackgroundColor());
    if (!m_picture.isNull()) {
        const QImage picture = m_transparent ? KeyedOnBottomLeft(m_picture) : m_picture;
        switch (m_drawStyle) {
        case suiStretch: canvas.drawImage(client, picture); break;
        case suiTile: TileDraw(canvas, picture, client); break;
        case suiNormal: canvas.drawImage(0, 0, picture); break;
        }
    }
    if (m_text.trimmed().isEmpty())
        return;
    canvas.setPen(FontColor());
    canvas.setBrush(Qt::NoBrush);
    const QFontMetrics metrics(font());
    if (m_captionLeft == -1 || m_captionTop == -1) {
        const int flags = int(m_alignment) | Qt::AlignVCenter | Qt::TextSingleLine;
        m_captionRect = canvas.boundingRect(client, flags, m_text);
        canvas.drawText(client, flags, m_text);
    } else {
        m_captionRect = QRect(m_captionLeft, m_captionTop, metrics.horizontalAdvance(m_text), metrics.height());
        canvas.drawText(m_captionRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_text);
    }
}

void TsuiCustomPanel::paintEvent(QPaintEvent* /*event*/)
{
    SuiOffscreen offscreen(this);
    PaintPanel(offscreen.Painter());
}

void TsuiCustomPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    update();
}
