#include "WidgetSupport.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace qxtest {

const char* LookName(TsuiUIStyle look)
{
    switch (look) {
    case Sui::MacOS: return "MacOS";
    case Sui::WinXP: return "WinXP";
    case Sui::DeepBlue: return "DeepBlue";
    case Sui::Protein: return "Protein";
    case Sui::BlueGlass: return "BlueGlass";
    case Sui::FromThemeFile: break;
    }
    return "FromThemeFile";
}

void ShowActive(QWidget* window)
{
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
}

TestWindow::TestWindow(QSize size, QColor background)
{
    widget.resize(size);
    if (background.isValid()) {
        QPalette pal = widget.palette();
        pal.setColor(QPalette::Window, background);
        widget.setPalette(pal);
        widget.setAutoFillBackground(true);
    }
}

void Enter(QWidget* widget)
{
    const QPointF at(5, 5);
    QEnterEvent enter(at, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &enter);
}

namespace {

void Send(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    const QPointF local(at);
    QMouseEvent event(type, local, widget->mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

}  // namespace

void MouseMove(QWidget* widget, QPoint at, Qt::MouseButtons held)
{
    Send(widget, QEvent::MouseMove, at, Qt::NoButton, held);
}

void MousePress(QWidget* widget, QPoint at)
{
    Send(widget, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
}

void MouseRelease(QWidget* widget, QPoint at)
{
    Send(widget, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

void Click(QWidget* widget, QPoint at)
{
    MousePress(widget, at);
    MouseRelease(widget, at);
}

void DoubleClick(QWidget* widget, QPoint at)
{
    MousePress(widget, at);
    MouseRelease(widget, at);
    Send(widget, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    MouseRelease(widget, at);
}

QImage Render(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int UnpaintedPixels(QWidget* widget)
{
    // A colour no control paints with: what still has it was left undrawn.
    const QRgb untouched = qRgb(0x01, 0xFE, 0x03);
    QImage image(widget->size(), QImage::Format_RGB32);
    image.fill(untouched);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == untouched;
    return n;
}

MessageBoxRecorder::MessageBoxRecorder(int answer) : answer(answer)
{
    m_previous = platform::SetMessageBoxHandler(
        [this](platform::HWND, const std::string& text, const std::string& caption, platform::UINT type) {
            boxes.push_back(Box{caption, text, type});
            return this->answer;
        });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    platform::SetMessageBoxHandler(std::move(m_previous));
}

}  // namespace qxtest
