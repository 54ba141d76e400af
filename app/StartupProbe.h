#pragma once
// For the start-up benchmark: when QX_BENCH_T0 holds the wall-clock time (ns since the
// epoch) at which the process was started, the first complete paint of the window prints
// "painted MS" (milliseconds since then) and ends the program. Without it, nothing.

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>

class StartupProbe : public QObject {
public:
    static void Watch(QWidget* window)
    {
        bool ok = false;
        const qint64 t0 = qgetenv("QX_BENCH_T0").toLongLong(&ok);
        if (ok && t0 > 0)
            window->installEventFilter(new StartupProbe(window, t0));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // The window and all its children are painted in one go; the next turn of the
            // event loop comes once the whole picture is done.
            QTimer::singleShot(0, this, [this] {
                const auto now = std::chrono::system_clock::now().time_since_epoch();
                const double ms = double(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() - m_t0) / 1e6;
                std::printf("painted %.1f\n", ms);
                std::fflush(stdout);
                QApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    StartupProbe(QObject* parent, qint64 t0) : QObject(parent), m_t0(t0) {}
    qint64 m_t0;
    bool m_seen = false;
};
