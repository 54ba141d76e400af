#pragma once
// Painting without flicker: a control paints into an image of its own size at the
// screen's pixel density, and the image reaches the screen in one drawing.

#include <QImage>
#include <QPainter>
#include <functional>

class QWidget;

// Use inside paintEvent: paint on Painter() in the widget's coordinates; the destructor
// draws the image onto the widget.
class SuiOffscreen {
public:
    explicit SuiOffscreen(QWidget* widget);
    ~SuiOffscreen();
    SuiOffscreen(const SuiOffscreen&) = delete;
    SuiOffscreen& operator=(const SuiOffscreen&) = delete;
    QPainter& Painter() { return m_painter; }
    QImage& Image() { return m_image; }

private:
    QWidget* m_widget;
    QImage m_image;
    QPainter m_painter;
};

// An image for painting a widget's size at its screen's pixel density, cleared to
// transparent; paint on it in the widget's coordinates.
QImage SuiDeviceImage(const QWidget* widget);

// Puts what paint() draws (in rect's own coordinates, from (0, 0)) onto canvas at rect.
// On a screen whose density is a whole number it draws straight onto canvas; otherwise it
// draws onto a picture of one device pixel a pixel, scaled once and smoothly onto
// canvas, so pictures put together piece by piece meet without seams.
void SuiComposeOnce(QPainter& canvas, const QRect& rect, const std::function<void(QPainter&)>& paint);
