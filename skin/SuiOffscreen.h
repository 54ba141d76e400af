#pragma once
// Painting without flicker: a control paints into an image of its own size at the
// screen's pixel density, and the image reaches the screen in one drawing.

#include <QImage>
#include <QPainter>

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
