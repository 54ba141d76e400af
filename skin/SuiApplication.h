#pragma once
// The application object of every program with skinned windows: an error raised while
// handling an event is shown in a message box instead of ending the program.

#include <QApplication>
#include <exception>
#include <utility>

class TsuiApplication : public QApplication {
public:
    // Installs the font stand-ins (SuiInstallFontSubstitutes).
    TsuiApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The windows are designed in "MS Sans Serif" and "Tahoma" at 8 points; both resolve to
// free fonts of close widths (Liberation Sans, then Arimo, DejaVu Sans), so the designed
// places hold their captions.
void SuiInstallFontSubstitutes();

// The application's error report: the error's text in an "Error" box over the active
// window (a fixed text for an error that carries none of its own).
void SuiShowError(const std::exception_ptr& error);

// Runs body and reports an error it raises instead of passing it on: slots use it, since
// an exception must never cross Qt's signal code.
template <typename Body>
void SuiGuarded(Body&& body)
{
    try {
        std::forward<Body>(body)();
    } catch (...) {
        SuiShowError(std::current_exception());
    }
}
