#include "SuiApplication.h"

#include "platform/MessageBox.h"

#include <exception>

TsuiApplication::TsuiApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TsuiApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        platform::MessageBoxA(activeWindow(), error.what(), "Error", platform::MB_OK | platform::MB_ICONERROR);
    } catch (...) {
        platform::MessageBoxA(activeWindow(), "An unexpected error occurred.", "Error",
                              platform::MB_OK | platform::MB_ICONERROR);
    }
    return false;
}
