#include "SuiApplication.h"

#include "platform/MessageBox.h"

#include <QFont>

TsuiApplication::TsuiApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    SuiInstallFontSubstitutes();
}

void SuiInstallFontSubstitutes()
{
    const QStringList standIns{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                               QStringLiteral("DejaVu Sans")};
    for (const char* designed : {"MS Sans Serif", "Tahoma", "MS Shell Dlg", "MS Shell Dlg 2"})
        QFont::insertSubstitutions(QString::fromLatin1(designed), standIns);
}

bool TsuiApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        SuiShowError(std::current_exception());
    }
    return false;
}

void SuiShowError(const std::exception_ptr& error)
{
    const char* text = "An unexpected error occurred.";
    std::string message;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        message = e.what();
        text = message.c_str();
    } catch (...) {
    }
    platform::MessageBoxA(QApplication::activeWindow(), text, "Error", platform::MB_OK | platform::MB_ICONERROR);
}
