// The encoding and finished pages with the real encoder: whole conversions for each
// screen, pause, resume and stop, the close query, failures, the restriction, and what
// the finished page offers.
#include "WizardFixture.h"
#include "skin/controls/TsuiGroupBox.h"

#include "FakeEncoderServer.h"
#include "Media.h"
#include "platform/player/TWindowsMediaPlayer.h"
#include "skin/TsuiForm.h"
#include "skin/controls/TsuiButton.h"
#include "skin/controls/TsuiCheckBox.h"
#include "skin/controls/TsuiEdit.h"
#include "skin/controls/TsuiProgressBar.h"
#include "skin/controls/TsuiRadioButton.h"
#include "skin/controls/TsuiSpinEdit.h"

#include <QFileInfo>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using qxtest::Wizard;

// Pages 1 and 2 left with Next, page 3 showing.
void ToEncodingPage(Wizard& w, const std::string& output, int screen = 1)
{
    w.Choose(qxtest::WizardSource(), output, screen);
    w.Next();
    w.Next();
    ASSERT_EQ(w.Main().CurrentPage(), 2);
}

// Twenty seconds of DVD: long enough to be polled in the middle of, at VGA.
std::string LongSource()
{
    return qxtest::Media("wizard-long.vob", "-f lavfi -i testsrc2=size=720x576:rate=25:duration=20 -f lavfi "
                                            "-i sine=duration=20 -c:v mpeg2video -b:v 4M -c:a mp2 -f vob");
}

TEST(Encoding, EachScreenFromPageOneToPageFour)
{
    struct Case {
        int screen;
        int width, height;
    };
    for (const Case c : {Case{1, 208, 160}, Case{2, 320, 200}, Case{3, 640, 480}}) {
        SCOPED_TRACE(c.screen);
        Wizard w;
        const std::string output = w.Path("out.wmv");
        ASSERT_TRUE(w.ConvertTo(qxtest::WizardSource(), output, c.screen));
        EXPECT_TRUE(w.boxes.boxes.empty());
        EXPECT_EQ(w.Main().lblTitle->text(), "Step 4: Congratulations! You have converted the video successfully.");
        EXPECT_EQ(w.Page4().lblFile->text().toStdString(), output);
        EXPECT_TRUE(w.Page3().wmpMain->URL().isEmpty());
        EXPECT_FALSE(w.Main().sbtnPrev->isEnabled());
        EXPECT_FALSE(w.Main().sbtnNext->isEnabled());
        const QJsonObject probe = qxtest::Probe(output);
        const QJsonObject video = qxtest::StreamOf(probe, "video");
        EXPECT_EQ(video["codec_name"].toString(), "wmv2");
        EXPECT_EQ(video["width"].toInt(), c.width);
        EXPECT_EQ(video["height"].toInt(), c.height);
        EXPECT_EQ(qxtest::StreamOf(probe, "audio")["codec_name"].toString(), "wmav2");
        EXPECT_NEAR(qxtest::Duration(probe), 3.0, 0.3);
        EXPECT_EQ(qxtest::DecodeErrors(output), "");
    }
}

TEST(Encoding, PauseResumeAndStopWithItsQuestion)
{
    Wizard w;
    ToEncodingPage(w, w.Path("out.wmv"));
    TfmStep3& p = w.Page3();
    EXPECT_EQ(p.lblStatus->text(), "Please press the [Start] button to start encoding...");
    EXPECT_EQ(p.sbtnPause->Caption(), "S&tart");
    EXPECT_EQ(p.lblDuration->text(), "0 second(s).");
    EXPECT_EQ(p.lblSize->text(), "0 bytes");
    w.Press(p.sbtnStop);
    EXPECT_TRUE(w.boxes.boxes.empty()) << "Stop before a run does nothing";

    w.Press(p.sbtnPause);
    EXPECT_TRUE(p.m_bEncoding);
    EXPECT_EQ(p.lblStatus->text(), "Encoding process running...");
    EXPECT_EQ(p.sbtnPause->Caption(), "&Pause");
    EXPECT_TRUE(p.tmState->isActive());
    w.Press(p.sbtnPause);
    EXPECT_FALSE(p.m_bEncoding);
    EXPECT_EQ(p.lblStatus->text(), "Encoding process paused.");
    EXPECT_EQ(p.sbtnPause->Caption(), "S&tart");
    EXPECT_FALSE(p.tmState->isActive());
    EXPECT_TRUE(p.sbtnStop->isEnabled());
    w.Press(p.sbtnPause);
    EXPECT_EQ(p.lblStatus->text(), "Encoding process running...");
    EXPECT_EQ(p.sbtnPause->Caption(), "&Pause");
    w.Press(p.sbtnPause);  // paused again

    w.boxes.answer = platform::IDNO;
    w.Press(p.sbtnStop);
    ASSERT_EQ(w.boxes.boxes.size(), 1u);
    EXPECT_EQ(w.boxes.boxes[0].Line(), "Confirm: Are you sure to stop the encoding process?");
    EXPECT_EQ(w.boxes.boxes[0].type, platform::MB_YESNO | platform::MB_ICONQUESTION);
    EXPECT_NE(p.m_pCxEncoder, nullptr) << "No changes nothing";
    w.boxes.answer = platform::IDYES;
    w.Press(p.sbtnStop);
    EXPECT_EQ(p.m_pCxEncoder, nullptr);
    EXPECT_EQ(p.lblStatus->text(), "Encoding process stopped.");
    EXPECT_EQ(p.sbtnPause->Caption(), "S&tart");
    EXPECT_FALSE(p.sbtnStop->isEnabled());
    EXPECT_EQ(w.Main().CurrentPage(), 2) << "the page stays";
    EXPECT_TRUE(w.Main().sbtnPrev->isEnabled()) << "no run: the options may be changed";

    // Start reads the job again and converts to the end.
    ASSERT_TRUE(w.RunToEnd());
    EXPECT_EQ(w.Main().CurrentPage(), 3);
}

TEST(Encoding, ClosingAsksOnlyWhileTheEncoderRuns)
{
    Wizard w;
    ToEncodingPage(w, w.Path("out.wmv"));
    w.Press(w.Page3().sbtnPause);
    ASSERT_TRUE(w.Page3().m_bEncoding);
    w.boxes.answer = platform::IDNO;
    // The title bar's close button asks as the Close button does.
    TsuiTitleBarButtons* buttons = w.Main().sfmMain->TitleBarButtons();
    for (int i = 0; i < buttons->Count(); ++i)
        if (buttons->Item(i)->ButtonType() == SuiTitleBar::suiClose)
            buttons->Item(i)->DoClick();
    EXPECT_TRUE(w.Main().isVisible());
    ASSERT_EQ(w.boxes.boxes.size(), 1u);
    w.boxes.boxes.clear();
    EXPECT_FALSE(w.Close());
    ASSERT_EQ(w.boxes.boxes.size(), 1u);
    EXPECT_EQ(w.boxes.boxes[0].Line(), "Confirm: Video encoding process is running, are you sure to exit the program?");
    EXPECT_TRUE(w.Page3().m_bEncoding) << "No keeps it running";
    w.Press(w.Page3().sbtnPause);  // paused: no question
    EXPECT_TRUE(w.Close());
    EXPECT_EQ(w.boxes.boxes.size(), 1u);
    EXPECT_EQ(w.Page3().m_pCxEncoder, nullptr) << "closing ended the run";
    EXPECT_NE(qxtest::ReadFile(w.SettingsPath()).find("SkinType=3"), std::string::npos);

    Wizard yes;
    ToEncodingPage(yes, yes.Path("out.wmv"));
    yes.Press(yes.Page3().sbtnPause);
    yes.boxes.answer = platform::IDYES;
    EXPECT_TRUE(yes.Close());
    EXPECT_FALSE(yes.Page3().m_bEncoding);
}

TEST(Encoding, AStepThatFailsShowsTheEncodersReasonAndLeavesAWayBack)
{
    Wizard w;
    // Cropping that leaves nothing of the picture: the encoder refuses to prepare.
    w.Choose(qxtest::WizardSource(), w.Path("out.wmv"));
    w.Next();
    w.Page2().seLeft->setText("300");
    w.Page2().seRight->setText("300");
    w.Next();
    w.Press(w.Page3().sbtnPause);
    ASSERT_EQ(w.boxes.boxes.size(), 1u);
    EXPECT_EQ(w.boxes.boxes[0].caption, "Error");
    EXPECT_EQ(w.boxes.boxes[0].type, platform::MB_OK | platform::MB_ICONERROR);
    EXPECT_FALSE(w.boxes.boxes[0].text.empty());
    EXPECT_EQ(w.Page3().PageState(), TfmStep3::Stopped);
    EXPECT_EQ(w.Page3().m_pCxEncoder, nullptr);
    EXPECT_TRUE(w.Page3().sbtnPause->isEnabled()) << "Start tries again";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the normal cursor is back";
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(w.Path("out.wmv"))));
    ASSERT_TRUE(w.Main().sbtnPrev->isEnabled());

    w.Prev();
    ASSERT_EQ(w.Main().CurrentPage(), 1) << "back to the options";
    w.Page2().seLeft->setText("0");
    w.Page2().seRight->setText("0");
    w.Next();
    EXPECT_FALSE(w.Main().sbtnPrev->isEnabled());
    ASSERT_TRUE(w.RunToEnd());
    EXPECT_EQ(w.Main().CurrentPage(), 3);
}

TEST(Encoding, ARunThatBreaksOffIsNeverCalledFinished)
{
    qxtest::FakeEncoderServer server;
    Wizard w;
    ToEncodingPage(w, w.Path("out.wmv"));
    server.runState = platform::wmenc::WMENC_ENCODER_RUNNING;
    w.Press(w.Page3().sbtnPause);
    ASSERT_TRUE(w.Page3().m_bEncoding);
    server.runState = platform::wmenc::WMENC_ENCODER_STOPPED;
    server.errorState = platform::MakeHResult(0x8004A009);
    server.errorText = u"The output could not be written: no space left on the device.";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.boxes.boxes.empty(); }, 5000));
    EXPECT_EQ(w.boxes.boxes[0].Line(), "Error: The output could not be written: no space left on the device.");
    EXPECT_EQ(w.Main().CurrentPage(), 2);
    EXPECT_EQ(w.Page3().PageState(), TfmStep3::Stopped);
    EXPECT_EQ(w.Page3().m_pCxEncoder, nullptr);

    // A run that has not written anything for a while is still running.
    w.boxes.boxes.clear();
    server.errorState = platform::S_OK;
    server.runState = platform::wmenc::WMENC_ENCODER_RUNNING;
    w.Press(w.Page3().sbtnPause);
    QTest::qWait(3600);
    EXPECT_EQ(w.Main().CurrentPage(), 2);
    EXPECT_TRUE(w.Page3().m_bEncoding);
    server.runState = platform::wmenc::WMENC_ENCODER_STOPPED;
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.Main().CurrentPage() == 3; }, 5000));
    EXPECT_TRUE(w.boxes.boxes.empty());
}

TEST(Encoding, WithoutTheEncoderTheUserIsSentToThePrerequisites)
{
    qxtest::FakeEncoderServer server;
    server.Fail("WMEncoder.create");
    Wizard w;
    ToEncodingPage(w, w.Path("out.wmv"));
    w.Press(w.Page3().sbtnPause);
    ASSERT_EQ(w.boxes.boxes.size(), 1u);
    EXPECT_EQ(w.boxes.boxes[0].caption, "Information");
    EXPECT_EQ(w.boxes.boxes[0].type, platform::MB_OK | platform::MB_ICONINFORMATION);
    ASSERT_EQ(w.opened.size(), 1u);
    EXPECT_EQ(w.opened[0].toString(), "https://quorlantix.example/prerequisites");
    EXPECT_EQ(w.Page3().PageState(), TfmStep3::Stopped) << "never left in Initializing";
    EXPECT_TRUE(w.Page3().sbtnPause->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(Encoding, TheProgressLineSaysHowMuchIsDoneAndHowLongIsLeft)
{
    struct Case {
        const char* what;
        std::string source;
        bool known;
    };
    const Case cases[] = {
        {"a source with a length", LongSource(), true},
        {"a raw stream without one",
         qxtest::Media("wizard-long.m2v", "-f lavfi -i testsrc2=size=720x576:rate=25:duration=20 -c:v mpeg2video "
                                          "-b:v 4M -f mpeg2video"),
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Wizard w;
        w.Choose(c.source, w.Path("out.wmv"), 3);
        w.Next();
        w.Page2().rbtnH->SetChecked(true);
        w.Next();
        TfmStep3& p = w.Page3();
        EXPECT_TRUE(p.lblProgress->text().isEmpty()) << "empty while no run exists";
        EXPECT_EQ(p.spbProgress->Position(), 0);
        w.Press(p.sbtnPause);
        ASSERT_TRUE(QTest::qWaitFor([&] { return p.m_nDuration > 0 || w.Main().CurrentPage() == 3; }, 20000));
        ASSERT_EQ(w.Main().CurrentPage(), 2) << "still converting at the first poll";
        if (c.known) {
            const QString line = p.lblProgress->text();
            EXPECT_TRUE(QRegularExpression("^[0-9]{1,2}% done(, about [0-9]+:[0-9]{2} left)?$").match(line).hasMatch())
                << line.toStdString();
            EXPECT_EQ(line.section('%', 0, 0).toInt(), p.spbProgress->Position() / 10);
            EXPECT_NEAR(p.spbProgress->Position(), p.m_nDuration / 20, 30) << "the share of the source";
            EXPECT_FALSE(p.spbProgress->Marquee());
        } else {
            EXPECT_TRUE(p.lblProgress->text().isEmpty()) << "no number rather than a wrong one";
            EXPECT_TRUE(p.spbProgress->Marquee()) << "the bar moves without one";
        }
        w.Press(p.sbtnPause);  // paused: the figures stay, the bar stands still
        EXPECT_FALSE(p.spbProgress->Marquee());
        w.Press(p.sbtnPause);
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.Main().CurrentPage() == 3; }, 60000));
        EXPECT_TRUE(p.lblProgress->text().isEmpty());
        EXPECT_TRUE(w.boxes.boxes.empty());
        EXPECT_TRUE(w.Page4().lblNote->text().isEmpty());
    }
}

TEST(Encoding, ASourceThatBreaksOffIsReportedAndItsOutputKept)
{
    const std::string whole = qxtest::Media("wizard-ten.mp4", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=10 "
                                                              "-f lavfi -i sine=duration=10 -c:v mpeg4 -c:a aac "
                                                              "-movflags +faststart");
    Wizard w;
    const std::string bytes = qxtest::ReadFile(whole);
    const std::string cut = w.Path("cut.mp4");
    qxtest::WriteFile(cut, bytes.substr(0, bytes.size() / 3));
    const std::string output = w.Path("out.wmv");
    ASSERT_TRUE(w.ConvertTo(cut, output, 1));
    ASSERT_EQ(w.boxes.boxes.size(), 1u);
    EXPECT_EQ(w.boxes.boxes[0].caption, "Information");
    EXPECT_TRUE(QRegularExpression("^Only 0:0[2-4] of 0:10 of the source could be read: the source file is damaged or "
                                   "incomplete\\.$")
                    .match(QString::fromStdString(w.boxes.boxes[0].text))
                    .hasMatch())
        << w.boxes.boxes[0].text;
    EXPECT_EQ(w.boxes.boxes[0].type, platform::MB_OK | platform::MB_ICONINFORMATION);
    EXPECT_EQ(qxtest::DecodeErrors(output), "") << "what could be read is kept";
}

TEST(Encoding, TheRestrictionStopsAtTheSizeWithACompleteFile)
{
    Wizard w;
    const std::string output = w.Path("small.wmv");
    w.Choose(qxtest::WizardSource(), output, 3);
    w.Next();
    w.Page2().scbxEnable->Click();
    w.Page2().seSize->setText("60");
    w.Page2().seDuration->setText("0");  // no time limit
    w.Page2().rbtnH->SetChecked(true);
    w.Next();
    ASSERT_TRUE(w.RunToEnd());
    ASSERT_EQ(w.Main().CurrentPage(), 3);
    const qint64 size = QFileInfo(QString::fromStdString(output)).size();
    EXPECT_GT(size, 0);
    EXPECT_LE(size, 60 * 1024);
    EXPECT_LT(qxtest::Duration(qxtest::Probe(output)), 2.9) << "cut before the end of the source";
    EXPECT_EQ(qxtest::DecodeErrors(output), "");
    // Not even the fewest pictures with mono sound hold the whole source in 60 KB.
    const QLabel* note = w.Page4().lblNote;
    EXPECT_TRUE(note->text().startsWith("To fit 60 KB the video was made at 10 frames per second with mono sound. "
                                        "The output was cut at the size limit after 0:0"))
        << note->text().toStdString();
    EXPECT_GT(note->geometry().top(), w.Page4().wmpMain->mapTo(note->parentWidget(), QPoint(0, w.Page4().wmpMain->height())).y())
        << "under the player";
    EXPECT_LE(note->geometry().right(), note->parentWidget()->width()) << "wholly on the page";
    EXPECT_LE(note->geometry().bottom(), note->parentWidget()->height()) << "wholly on the page";
    EXPECT_GE(note->height(), note->heightForWidth(note->width())) << "every line shown";
    EXPECT_TRUE(w.boxes.boxes.empty());

    // Where a lower rate fits the whole source, nothing is cut.
    Wizard fits;
    const std::string whole = fits.Path("whole.wmv");
    fits.Choose(LongSource(), whole, 1);
    fits.Next();
    fits.Page2().scbxEnable->Click();
    fits.Page2().seSize->setText("300");
    fits.Page2().seDuration->setText("0");
    fits.Next();
    ASSERT_TRUE(fits.RunToEnd());
    ASSERT_EQ(fits.Main().CurrentPage(), 3);
    EXPECT_LE(QFileInfo(QString::fromStdString(whole)).size(), 300 * 1024);
    EXPECT_GT(QFileInfo(QString::fromStdString(whole)).size(), 270 * 1024);
    EXPECT_NEAR(qxtest::Duration(qxtest::Probe(whole)), 20.0, 0.3);
    EXPECT_TRUE(fits.Page4().lblNote->text().isEmpty());
}

TEST(Encoding, TheFinishedPagePlaysOpensTheFolderAndStartsAgain)
{
    Wizard w;
    const std::string output = w.Path("done.wmv");
    ASSERT_TRUE(w.ConvertTo(qxtest::WizardSource(), output, 1));
    TfmStep4& p = w.Page4();
    p.sbtnPrview->Click();
    EXPECT_EQ(p.wmpMain->URL().toStdString(), output);
    p.sbtnCopy->Click();
    ASSERT_EQ(w.opened.size(), 1u);
    EXPECT_EQ(w.opened[0], QUrl::fromLocalFile(QString::fromStdString(w.Path(""))));
    EXPECT_EQ(TfmStep4::FolderUrl("/home/me/My Videos/clip.wmv"), "file:///home/me/My Videos/");

    p.sbtnStart->Click();
    EXPECT_TRUE(p.wmpMain->URL().isEmpty());
    EXPECT_EQ(w.Main().CurrentPage(), 0);
    EXPECT_FALSE(w.Main().sbtnPrev->isEnabled());
    EXPECT_EQ(w.Page1().edtFile->text().toStdString(), qxtest::WizardSource());
    EXPECT_TRUE(w.Page1().edtOutput->text().endsWith("/output.wmv"));

    // Another conversion, and the exit button: no question, the settings written.
    ASSERT_TRUE(w.ConvertTo(qxtest::WizardSource(), w.Path("second.wmv"), 2));
    p.sbtnClose->Click();
    EXPECT_FALSE(w.Main().isVisible());
    EXPECT_TRUE(w.boxes.boxes.empty());
    EXPECT_NE(qxtest::ReadFile(w.SettingsPath()).find("Quality=2"), std::string::npos);
}

}  // namespace
