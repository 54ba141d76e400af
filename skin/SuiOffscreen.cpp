#include "SuiOffscreen.h"

#include <QWidget>
#include <cmath>

QImage SuiDeviceImage(const QWidget* widget)
{
    const qreal dpr = std::max<qreal>(widget->devicePixelRatioF(), 1.0);
    const QSize logical = widget->size().expandedTo(QSize(1, 1));
    QImage image(QSize(int(std::ceil(logical.width() * dpr)), int(std::ceil(logical.height() * dpr))),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    return image;
}

SuiOffscreen::SuiOffscreen(QWidget* widget) : m_widget(widget), m_image(SuiDeviceImage(widget))
{
    m_painter.begin(&m_image);
    m_painter.setFont(widget->font());
}

SuiOffscreen::~SuiOffscreen()
{
    m_painter.end();
    QPainter onto(m_widget);
    onto.drawImage(0, 0, m_image);
}

void SuiComposeOnce(QPainter& canvas, const QRect& rect, const std::function<void(QPainter&)>& paint)
{
    const qreal dpr = canvas.device() ? canvas.device()->devicePixelRatioF() : 1.0;
    if (std::floor(dpr) == dpr) {
        canvas.save();
        canvas.translate(rect.topLeft());
        paint(canvas);
        canvas.restore();
        return;
    }
    QImage picture(rect.size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    {
        QPainter onto(&picture);
        onto.setFont(canvas.font());
        paint(onto);
    }
    canvas.save();
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, true);
    canvas.drawImage(rect, picture);
    canvas.restore();
}
