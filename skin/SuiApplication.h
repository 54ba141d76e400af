#pragma once
// The application object of every program with skinned windows: an error raised while
// handling an event is shown in a message box instead of ending the program.

#include <QApplication>

class TsuiApplication : public QApplication {
public:
    TsuiApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
