#include "TfmStep3.h"

#include "DesignControls.h"
#include "Links.h"
#include "TfmMain.h"
#include "common/misc/CxProgress.h"
#include "common/misc/WinUtil.h"
#include "common/multimedia/CxRunSetup.h"
#include "platform/MessageBox.h"
#include "platform/wmencoder/WMEncoder.h"
#include "skin/ThemeManager.h"
#include "skin/controls/TsuiButton.h"
#include "skin/controls/TsuiGroupBox.h"
#include "skin/controls/TsuiProgressBar.h"

#include <QApplication>
#include <QLabel>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct StateText {
    const char* status;
    const char* pauseCaption;  // null: unchanged
    bool pauseEnabled;
    bool stopEnabled;
};

const StateText kStates[] = {
    {"Initializing encoder...", "&Pause", false, false},
    {"Preparing encoding process...", "&Pause", false, false},
    {"Encoding process running...", "&Pause", true, true},
    {"Encoding process paused.", "S&tart", true, true},
    {"Encoding process stopped.", "S&tart", true, false},
    {"Please press the [Start] button to start encoding...", nullptr, false, false},
};

}  // namespace

TfmStep3::TfmStep3(QWidget* parent) : WizardPage(parent, QSize(688, 297), "pMain")
{
    QWidget* pMain = Panel();
    suiGroupBox1 = new TsuiGroupBox(pMain);
    suiGroupBox1->setObjectName("suiGroupBox1");
    suiGroupBox1->setGeometry(26, 21, 271, 148);
    suiGroupBox1->SetCaption(" Conversion Status ");
    suiGroupBox1->SetBorderColor(platform::RGB(127, 127, 127));
    Label1 = DesignLabel(suiGroupBox1, "Label1", "Encoded File Duration:", 21, 36, false);
    Label2 = DesignLabel(suiGroupBox1, "Label2", "Encoded File Size:", 21, 70, false);
    lblDuration = DesignLabel(suiGroupBox1, "lblDuration", QString(), 142, 37, true);
    lblSize = DesignLabel(suiGroupBox1, "lblSize", QString(), 143, 71, true);
    lblStatus = DesignLabel(suiGroupBox1, "lblStatus", QString(), 23, 108, true);
    sbtnPause = DesignButton(pMain, "sbtnPause", "&Pause", QRect(27, 183, 80, 27));
    sbtnStop = DesignButton(pMain, "sbtnStop", "&Stop", QRect(118, 183, 80, 27));
    // Under the designed controls, as wide as the status box.
    spbProgress = new TsuiProgressBar(pMain);
    spbProgress->setObjectName("spbProgress");
    spbProgress->setGeometry(27, 224, 270, 14);
    spbProgress->SetMax(1000);
    lblProgress = DesignLabel(pMain, "lblProgress", QString(), 27, 245, true);
    tmState = new QTimer(this);
    tmState->setObjectName("tmState");
    tmState->setInterval(500);

    setTabOrder(pMovie, suiGroupBox1);
    setTabOrder(suiGroupBox1, sbtnPause);
    setTabOrder(sbtnPause, sbtnStop);
    skinMain->SetList({"suiGroupBox1", "sbtnPause", "sbtnStop", "spbProgress"});

    connect(sbtnPause, &TsuiButton::OnClick, this, &TfmStep3::sbtnPauseClick);
    connect(sbtnStop, &TsuiButton::OnClick, this, &TfmStep3::sbtnStopClick);
    connect(tmState, &QTimer::timeout, this, &TfmStep3::tmStateTimer);
    // Between the half-second polls, a cheap look at whether the run has ended, so the
    // finished page follows the end of the run at once, not up to half a second later.
    m_endWatch.setInterval(50);
    connect(&m_endWatch, &QTimer::timeout, this, [this] {
        if (!tmState->isActive())
            m_endWatch.stop();
        else if (m_pCxEncoder && m_pCxEncoder->GetRunState() == platform::wmenc::WMENC_ENCODER_STOPPED)
            tmStateTimer();
    });
}

TfmStep3::~TfmStep3()
{
    EndEncoding();
}

bool TfmStep3::UpdateData(bool saveAndValidate)
{
    if (saveAndValidate)
        return true;
    m_nDuration = 0;
    m_nSize = 0;
    m_nProgress = -1;
    m_finishNote.clear();
    Enter(Ready);
    sbtnPause->SetCaption("S&tart");
    return true;
}

void TfmStep3::ShowWaiting(bool on)
{
    // The hourglass while a run is set up; the normal cursor back on every way out.
    if (on && !m_waiting)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (!on && m_waiting)
        QApplication::restoreOverrideCursor();
    m_waiting = on;
}

void TfmStep3::Enter(State state)
{
    m_nState = state;
    ShowStatus();
    ShowButtons();
}

void TfmStep3::ShowStatus()
{
    lblStatus->setText(QString::fromLatin1(kStates[m_nState].status));
    lblDuration->setText(QString::asprintf("%d second(s).", int(m_nDuration / 1000)));
    lblSize->setText(QString::asprintf("%d bytes", int(m_nSize)));
    for (QLabel* label : {lblStatus, lblDuration, lblSize})
        label->adjustSize();
    ShowProgress();
}

qint64 TfmStep3::RunningMs() const
{
    return m_runMs + (m_runClock.isValid() ? m_runClock.elapsed() : 0);
}

void TfmStep3::ShowProgress()
{
    const bool running = m_pCxEncoder && (m_nState == Running || m_nState == Paused);
    spbProgress->SetMarquee(running && m_nProgress < 0 && m_nState == Running);
    spbProgress->SetPosition(running && m_nProgress > 0 ? m_nProgress : 0);
    QString line;
    if (running)
        line = QString::fromStdString(CxProgressText(m_nProgress, RunningMs()));
    lblProgress->setText(line);
    lblProgress->adjustSize();
}

void TfmStep3::ShowButtons()
{
    const StateText& s = kStates[m_nState];
    if (!s.pauseCaption)
        return;
    sbtnPause->SetCaption(QString::fromLatin1(s.pauseCaption));
    // While a stop is written, neither button has anything to do.
    sbtnPause->setEnabled(s.pauseEnabled && !m_stopping);
    sbtnStop->setEnabled(s.stopEnabled && !m_stopping);
}

void TfmStep3::EndEncoding()
{
    m_work.Wait();  // a set-up or a stop still under way ends first
    m_stopping = false;
    ShowWaiting(false);
    if (m_pCxEncoder) {
        m_pCxEncoder->Stop();
        delete m_pCxEncoder;
        m_pCxEncoder = nullptr;
    }
    ForgetRun();
}

void TfmStep3::ForgetRun()
{
    m_nDuration = 0;
    m_nSize = 0;
    m_nProgress = -1;
    m_bEncoding = false;
    m_runClock.invalidate();
    m_runMs = 0;
    tmState->stop();
    ShowProgress();  // no run: no figures
}

void TfmStep3::Fail(const std::string& text)
{
    EndEncoding();
    Enter(Stopped);
    emit RunChanged();
    platform::MessageBoxA(this, text.c_str(), "Error", platform::MB_OK | platform::MB_ICONERROR);
}

void TfmStep3::BeginRun()
{
    const ConversionJob& j = fmMain->Job();
    CxRunJob job;
    job.source = j.sourceFile;
    job.output = j.outputFile;
    job.screenType = j.screenType;
    job.quality = j.quality;
    job.cropLeft = j.cropLeft;
    job.cropTop = j.cropTop;
    job.cropRight = j.cropRight;
    job.cropBottom = j.cropBottom;
    // The restriction holds whichever limit comes first; 0 or below leaves a limit off.
    job.maxBytes = j.maxSizeKB > 0 ? (long long)j.maxSizeKB * 1024 : 0;
    job.maxMilliseconds = j.maxMinutes > 0 ? (long long)j.maxMinutes * 60000 : 0;

    Enter(Initializing);
    ShowWaiting(true);
    // The set-up runs beside the window, which shows each state as the set-up reaches it.
    // The page outlives the set-up: m_work waits for it.
    m_work.Run(
        [job, this] {
            return CxSetUpRun(job, [this](CxRunStep step) {
                if (step == CxRunStep::Prepare)
                    QMetaObject::invokeMethod(
                        this,
                        [this] {
                            if (m_nState == Initializing)
                                Enter(Preparing);
                        },
                        Qt::QueuedConnection);
            });
        },
        [this](CxRunSetup setup) { RunSetUp(std::move(setup)); });
}

void TfmStep3::RunSetUp(CxRunSetup setup)
{
    ShowWaiting(false);
    if (!setup.Ok()) {
        // Without an encoder, or without its profiles, the page stops with the design's words.
        if (setup.step == CxRunStep::Create || setup.step == CxRunStep::LoadProfiles) {
            EndEncoding();
            Enter(Stopped);
            emit RunChanged();
            if (setup.step == CxRunStep::Create) {
                platform::MessageBoxA(this,
                                      "Quorlantix Converter requires Microsoft Media Encoder installed. Please visit "
                                      "our web site for detail information about Microsoft Media Encoder.",
                                      "Information", platform::MB_OK | platform::MB_ICONINFORMATION);
                ShellOpen(links::kPrerequisites);
            } else {
                const std::string text = std::string("Error loading Microsoft Media Encoder Profiles. Please contact ") +
                                         links::kSupportMail + " for technical support.";
                platform::MessageBoxA(this, text.c_str(), "Error", platform::MB_OK | platform::MB_ICONINFORMATION);
            }
            return;
        }
        Fail(CxFailureLine(setup.failure, CxStepText(setup.step)));
        return;
    }
    m_pCxEncoder = setup.encoder.release();
    m_bEncoding = true;
    m_runClock.start();
    Enter(Running);
    tmState->start();
    m_endWatch.start();
    emit RunChanged();
}

void TfmStep3::sbtnPauseClick()
{
    if (m_work.Busy())
        return;  // a set-up or a stop is under way
    if (m_bEncoding) {
        tmState->stop();
        m_bEncoding = false;
        m_runMs = RunningMs();
        m_runClock.invalidate();
        m_pCxEncoder->Pause();
        Enter(Paused);
        return;
    }
    if (!m_pCxEncoder) {
        BeginRun();
        return;
    }
    Enter(Running);
    tmState->start();
    m_endWatch.start();
    if (!m_pCxEncoder->Start()) {
        Fail(CxFailureLine(CxReadFailure(*m_pCxEncoder), "The conversion cannot be started."));
        return;
    }
    m_bEncoding = true;
    m_runClock.start();
    emit RunChanged();
}

void TfmStep3::sbtnStopClick()
{
    if (!m_pCxEncoder || m_work.Busy())
        return;
    if (platform::MessageBoxA(this, "Are you sure to stop the encoding process?", "Confirm",
                              platform::MB_YESNO | platform::MB_ICONQUESTION) != platform::IDYES)
        return;
    // The run may have ended while the question was up; then only the page is left.
    if (!m_pCxEncoder)
        return;
    // The end of the file is written beside the window; the page is Stopped once it is.
    CxWMEncoder* encoder = m_pCxEncoder;
    m_pCxEncoder = nullptr;
    ForgetRun();
    m_stopping = true;
    ShowButtons();
    m_work.Run(
        [encoder] {
            encoder->Stop();
            delete encoder;
            return CxRunSetup{};
        },
        [this](CxRunSetup) {
            m_stopping = false;
            Enter(Stopped);
            emit RunChanged();
        });
}

void TfmStep3::tmStateTimer()
{
    if (!m_pCxEncoder)
        return;
    m_nDuration = m_pCxEncoder->GetFileDuration();
    m_nSize = m_pCxEncoder->GetFileSize();
    m_nProgress = m_pCxEncoder->GetProgress();
    const int state = m_pCxEncoder->GetRunState();
    if (state == platform::wmenc::WMENC_ENCODER_STOPPED || state < 0) {
        // The run is over: complete, or broken off with the encoder's reason.
        if (state < 0 || platform::FAILED(m_pCxEncoder->GetErrorState())) {
            Fail(CxFailureLine(CxReadFailure(*m_pCxEncoder), "The conversion stopped with an error."));
            return;
        }
        ShowStatus();
        // The output is kept either way; the user hears what it holds.
        const platform::wmenc::RunOutcome outcome = m_pCxEncoder->GetRunOutcome();
        const long long convertedMs = m_nDuration;
        const long long sourceMs = m_pCxEncoder->GetSourceDuration();
        const std::string fitted = CxFitText(fmMain->Job().maxSizeKB, m_pCxEncoder->GetFittedFrameRate(),
                                             m_pCxEncoder->GetFittedMonoSound());
        EndEncoding();
        emit RunChanged();
        m_finishNote = QString::fromStdString(fitted);
        if (outcome == platform::wmenc::RunOutcome::CutAtSize)
            m_finishNote = (m_finishNote + " " + QString::fromStdString(CxCutAtSizeText(convertedMs))).trimmed();
        if (outcome == platform::wmenc::RunOutcome::SourceDamaged)
            platform::MessageBoxA(this, CxDamagedSourceText(convertedMs, sourceMs).c_str(), "Information",
                                  platform::MB_OK | platform::MB_ICONINFORMATION);
        fmMain->ShowFinishedPage();
        return;
    }
    ShowStatus();
}
