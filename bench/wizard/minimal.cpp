// The start-up peer: the least a Qt Widgets program does to show a window of the main
// window's size, measured the same way.
#include "app/StartupProbe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(696, 496);
    StartupProbe::Watch(&window);
    window.show();
    return app.exec();
}
