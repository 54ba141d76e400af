#pragma once
// Page 3: runs the conversion of the job through a CxWMEncoder, shows the duration and
// size written so far every half second, pauses, resumes and stops (after asking), and
// hands over to the finished page when the encoder reports that the run has ended with a
// complete output. A set-up step, the start or the run that fails shows the encoder's
// reason in an "Error" box and leaves the page Stopped without a run, where Start tries
// again and Prev leads back to the options. Under the designed texts a progress bar and
// a line say how much of the source is done and about how long is left; a source that
// could not be read to its end is reported before the finished page.

#include "Background.h"
#include "WizardPage.h"
#include "common/multimedia/CxRunSetup.h"

#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <string>

class QLabel;
class TsuiButton;
class TsuiGroupBox;
class TsuiProgressBar;

class TfmStep3 : public WizardPage {
    Q_OBJECT

public:
    enum State { Initializing = 0, Preparing = 1, Running = 2, Paused = 3, Stopped = 4, Ready = 5 };

    explicit TfmStep3(QWidget* parent);
    ~TfmStep3() override;

    // false (entering the page): Ready, nothing encoded, the button offers Start.
    bool UpdateData(bool saveAndValidate) override;
    void ShowStatus();
    void ShowButtons();
    // Stops and releases the run (if any), stops the timer; the state and texts stay.
    void EndEncoding();

    State PageState() const { return State(m_nState); }
    // A run is being set up or stopped beside the window.
    bool Busy() const { return m_work.Busy(); }
    // No run exists after a failure or a stop: the user may go back to the options.
    bool CanGoBack() const { return !m_pCxEncoder && m_nState == Stopped; }
    // What the finished page should add about the last run (cut at the size limit), or empty.
    const QString& FinishNote() const { return m_finishNote; }

    TsuiGroupBox* suiGroupBox1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* lblDuration;
    QLabel* lblSize;
    QLabel* lblStatus;
    TsuiButton* sbtnPause;
    TsuiButton* sbtnStop;
    QTimer* tmState;
    TsuiProgressBar* spbProgress;  // ours, under the designed controls
    QLabel* lblProgress;

    bool m_bEncoding = false;
    CxWMEncoder* m_pCxEncoder = nullptr;
    std::int32_t m_nState = Ready;
    std::int32_t m_nDuration = 0;
    std::int32_t m_nSize = 0;
    int m_nProgress = -1;  // thousandths of the run, -1 unknown

    void sbtnPauseClick();
    void sbtnStopClick();
    void tmStateTimer();

signals:
    // Whether a run exists changed (the main window decides about Prev).
    void RunChanged();

private:
    // Sets up and starts a new run from the job beside the window: Initializing, then
    // Preparing, then RunSetUp with the running encoder or the failed step.
    void BeginRun();
    void RunSetUp(CxRunSetup setup);
    // The failure of a set-up step, the start or the run: the reason in an "Error" box,
    // the run released, the page Stopped.
    void Fail(const std::string& text);
    // The one way the page changes state: its status, figures and buttons follow.
    void Enter(State state);
    // The figures and timers of a run that is gone.
    void ForgetRun();
    void ShowWaiting(bool on);
    // The progress bar and line from m_nProgress and the running time; empty without a run.
    void ShowProgress();
    // Running time of the run, pauses left out.
    qint64 RunningMs() const;

    QTimer m_endWatch;         // ours: notices the end of the run between polls
    QElapsedTimer m_runClock;  // going while the run runs
    qint64 m_runMs = 0;        // running time before the last pause
    QString m_finishNote;
    bool m_stopping = false;  // the end of the file is being written
    bool m_waiting = false;   // the hourglass is up
    Background<CxRunSetup> m_work{this};  // the set-up, or the stop; last, so it ends first
};
