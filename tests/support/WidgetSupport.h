#pragma once
// Fixtures of the widget tests: the five looks, a shown and active window, mouse
// gestures sent straight to a widget, rendered images, and a recorder of message boxes.

#include "platform/MessageBox.h"
#include "skin/Themes.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QWidget>
#include <string>
#include <vector>

namespace qxtest {

inline constexpr TsuiUIStyle kLooks[] = {Sui::MacOS, Sui::WinXP, Sui::DeepBlue, Sui::Protein, Sui::BlueGlass};
const char* LookName(TsuiUIStyle look);

// Shows the window and makes it the active one.
void ShowActive(QWidget* window);

// A window to put controls on: its size, and a plain background of one colour when one
// is given.
struct TestWindow {
    QWidget widget;
    explicit TestWindow(QSize size = QSize(300, 200), QColor background = QColor());
    void Show() { ShowActive(&widget); }
};

// The pointer enters the widget.
void Enter(QWidget* widget);

// Mouse events sent to the widget at a point of its own.
void MouseMove(QWidget* widget, QPoint at, Qt::MouseButtons held = Qt::NoButton);
void MousePress(QWidget* widget, QPoint at);
void MouseRelease(QWidget* widget, QPoint at);
void Click(QWidget* widget, QPoint at);
// Press, release, double click, release: what a double click delivers.
void DoubleClick(QWidget* widget, QPoint at = QPoint(5, 5));

// The widget as it paints itself (its children included), in RGB.
QImage Render(QWidget* widget);
// The pixels of the widget's area that its own painting left as they were.
int UnpaintedPixels(QWidget* widget);

// Message boxes shown while it lives are recorded ("Caption: text") and answered.
class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int answer = platform::IDOK);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    struct Box {
        std::string caption;
        std::string text;
        platform::UINT type;
        std::string Line() const { return caption + ": " + text; }
    };
    std::vector<Box> boxes;
    int answer;

private:
    platform::MessageBoxHandler m_previous;
};

}  // namespace qxtest
