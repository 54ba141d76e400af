// bench_wizard SOURCE OUTPUT: converts SOURCE to OUTPUT through the wizard's windows
// (offscreen) as a user would: page 1 with the VGA screen, page 2 with High quality,
// Start on page 3, until page 4. Prints the wall time from Start to the finished page and
// the longest time the user-interface thread was busy without returning to its event
// loop meanwhile.
#include "app/TfmMain.h"
#include "app/TfmStep1.h"
#include "app/TfmStep2.h"
#include "app/TfmStep3.h"
#include "platform/media/MediaModule.h"
#include "skin/SuiApplication.h"
#include "skin/controls/TsuiButton.h"
#include "skin/controls/TsuiEdit.h"
#include "skin/controls/TsuiRadioButton.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

// The longest time the event loop did not come round: a precise timer ticks every
// millisecond, and the longest gap between ticks, less the tick, is the longest stall.
// It sees every kind of event loop alike.
class StallMeter {
public:
    StallMeter()
    {
        m_ticker.setTimerType(Qt::PreciseTimer);
        m_ticker.setInterval(1);
        QObject::connect(&m_ticker, &QTimer::timeout, [this] {
            if (m_last.isValid())
                m_longestNs = std::max(m_longestNs, m_last.nsecsElapsed() - 1000000);
            m_last.start();
        });
    }
    void Start()
    {
        m_longestNs = 0;
        m_last.invalidate();
        m_ticker.start();
    }
    void Stop() { m_ticker.stop(); }
    double LongestMs() const { return double(std::max<qint64>(m_longestNs, 0)) / 1e6; }

private:
    QTimer m_ticker;
    QElapsedTimer m_last;
    qint64 m_longestNs = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TsuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_wizard SOURCE OUTPUT\n");
        return 2;
    }
    platform::media::RegisterEncoderServer();
    QTemporaryDir work;
    TfmMain main((work.path() + "/norvane.ini").toStdString());
    main.show();
    StallMeter stalls;

    QElapsedTimer clock;
    double seconds = 0;
    bool ok = false;
    QTimer::singleShot(0, [&] {
        main.fmStep1->UseSource(QString::fromLocal8Bit(argv[1]));
        main.fmStep1->edtOutput->setText(QString::fromLocal8Bit(argv[2]));
        main.fmStep1->rbtnPPCVGA->SetChecked(true);
        main.sbtnNext->Click();
        main.fmStep2->rbtnH->SetChecked(true);
        main.sbtnNext->Click();
        if (main.CurrentPage() != 2) {
            QApplication::exit(1);
            return;
        }
        // From the press of Start: setting the run up is part of what the user waits for.
        QTimer::singleShot(0, [&] {
            stalls.Start();
            clock.start();
            main.fmStep3->sbtnPause->Click();
        });
    });
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (main.CurrentPage() == 3) {
            seconds = double(clock.nsecsElapsed()) / 1e9;
            stalls.Stop();
            ok = true;
            QApplication::exit(0);
        } else if (main.fmStep3->PageState() == TfmStep3::Stopped) {
            QApplication::exit(1);
        }
    });
    watch.start(5);
    const int rc = app.exec();
    if (rc != 0 || !ok) {
        std::fprintf(stderr, "bench_wizard: the conversion did not finish\n");
        return 1;
    }
    std::printf("wizard %.3f s, longest stall %.1f ms\n", seconds, stalls.LongestMs());
    return 0;
}
