#include "TsuiArrowButton.h"

#include "skin/SuiPicture.h"

#include <QPolygon>

TsuiArrowButton::TsuiArrowButton(QWidget* parent) : TsuiCustomButton(parent)
{
    UIStyleChanged();
}

void TsuiArrowButton::SetArrow(TsuiArrow arrow)
{
    m_arrow = arrow;
    update();
}

void TsuiArrowButton::UIStyleChanged()
{
    SetTransparent(SuiBool(FileTheme(), UIStyle(), SUI_THEME_BUTTON_TRANSPARENT_BOOL));
}

void TsuiArrowButton::PaintPic(QPainter& canvas, const QImage& picture)
{
    SpitDraw(picture, canvas, rect(), PicTransparent());
    const int cx = (width() - 6) / 2;
    const int cy = (height() - 3) / 2;
    QPolygon triangle;
    if (m_arrow == suiUp)
        triangle << QPoint(cx, cy + 3) << QPoint(cx + 3, cy) << QPoint(cx + 6, cy + 3);
    else
        triangle << QPoint(cx, cy) << QPoint(cx + 3, cy + 3) << QPoint(cx + 6, cy);
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setPen(Qt::black);
    canvas.setBrush(Qt::black);
    canvas.drawPolygon(triangle);
    canvas.restore();
}
