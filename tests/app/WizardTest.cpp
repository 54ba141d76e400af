// The wizard's windows: start-up, navigation, pages 1, 2 and 4, the settings file at
// exit, the skin chooser, help and About.
#include "WizardFixture.h"

#include "Media.h"

#include "app/TfmAbout.h"
#include "app/TfmSkin.h"
#include "common/misc/WinUtil.h"
#include "platform/player/TWindowsMediaPlayer.h"
#include "skin/ThemeManager.h"
#include "skin/TsuiForm.h"
#include "skin/controls/TsuiButton.h"
#include "skin/controls/TsuiCheckBox.h"
#include "skin/controls/TsuiEdit.h"
#include "skin/controls/TsuiGroupBox.h"
#include "skin/controls/TsuiMainMenu.h"
#include "skin/controls/TsuiRadioButton.h"
#include "skin/controls/TsuiSpinEdit.h"
#include "skin/controls/TsuiStatusBar.h"
#include "skin/controls/TsuiURLLabel.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using qxtest::Wizard;

std::string ProgramDir()
{
    char dir[platform::MAX_PATH] = {};
    GetModuleDir(nullptr, dir);
    return dir;
}

const char* const kStep1 = "Step1: Please select the video source to be converted to your handheld devices.";
const char* const kStep2 = "Step2: Please specify the video cropping and output options...";

// Runs body on the modal dialog that opens next, once it is up.
void OnNextDialog(std::function<void(QWidget*)> body)
{
    QTimer::singleShot(0, [body] {
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 5000));
        body(QApplication::activeModalWidget());
    });
}

TEST(Wizard, StartsOnPageOneWithTheDefaultOutputAndTheStoredSettings)
{
    Wizard w("[Quorlantix]\r\nSkinType=4\r\nQuality=3\r\n");
    TfmMain& m = w.Main();
    EXPECT_EQ(m.CurrentPage(), 0);
    EXPECT_TRUE(w.Page1().isVisible());
    EXPECT_FALSE(w.Page2().isVisible());
    EXPECT_EQ(m.lblTitle->text(), kStep1);
    EXPECT_FALSE(m.sbtnPrev->isEnabled());
    EXPECT_TRUE(m.sbtnNext->isEnabled());
    EXPECT_EQ(w.Page1().edtOutput->text().toStdString(), ProgramDir() + "output.wmv");
    EXPECT_EQ(m.Job().skinType, 4);
    EXPECT_EQ(m.Job().quality, 3);
    EXPECT_EQ(m.sfmMain->UIStyle(), Sui::WinXP) << "the stored skin";
    EXPECT_EQ(m.sfmMain->geometry(), QRect(3, 3, 690, 490)) << "the designed client area";
    EXPECT_EQ(m.sfmMain->Caption(), "Quorlantix - Convert Video Files for your Pocket PC");
    EXPECT_EQ(m.pClient->geometry().bottom(), 423);
    EXPECT_EQ(m.pBottom->geometry(), QRect(0, 424, 690, 47));
    EXPECT_EQ(m.sbMain->geometry(), QRect(0, 471, 690, 19));
    EXPECT_EQ(w.Page1().geometry(), m.pClient->rect()) << "a page fills the page area";
    EXPECT_EQ(m.sbtnNext->geometry(), QRect(466, 13, 89, 27));
    EXPECT_FALSE(m.sfmMain->TitleBarButtons()->Item(2)->Visible()) << "no maximise button";
}

TEST(Wizard, PageOneRefusesWhatCannotBeConverted)
{
    Wizard w;
    const std::string source = qxtest::WizardSource();
    qxtest::WriteFile(w.Path("notes.txt"), "not a video");
    QDir().mkpath(QString::fromStdString(w.Path("folder")));
    QFile::link(QString::fromStdString(source), QString::fromStdString(w.Path("link.vob")));
    const QFileInfo info(QString::fromStdString(source));
    const std::string respelled =
        (info.absolutePath() + "/./../" + info.dir().dirName() + "/" + info.fileName()).toStdString();
    const std::string invalid = "Error: Invalid source video file. Please choose the file you want to convert.";
    const std::string same =
        "Error: The output file must not be the source video file. Please choose another output file name.";
    struct Case {
        const char* what;
        std::string source, output, message;
    };
    const Case cases[] = {
        {"empty source", "", w.Path("out.wmv"), invalid},
        {"missing source", w.Path("missing.vob"), w.Path("out.wmv"), invalid},
        {"a folder", w.Path("folder"), w.Path("out.wmv"), invalid},
        {"no video in it", w.Path("notes.txt"), w.Path("out.wmv"), invalid},
        {"sound only", qxtest::SoundOnlySource(), w.Path("out.wmv"), invalid},
        {"empty output", source, "", "Error: Please specify the output file name."},
        {"the source itself", source, source, same},
        {"the source spelled another way", source, respelled, same},
        {"the source through a link", source, w.Path("link.vob"), same},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        w.boxes.boxes.clear();
        w.Choose(c.source, c.output);
        w.Next();
        EXPECT_EQ(w.Main().CurrentPage(), 0);
        EXPECT_FALSE(w.Main().sbtnPrev->isEnabled());
        ASSERT_EQ(w.boxes.boxes.size(), 1u);
        EXPECT_EQ(w.boxes.boxes[0].Line(), c.message);
        EXPECT_EQ(w.boxes.boxes[0].type, platform::MB_OK | platform::MB_ICONERROR);
    }
    EXPECT_STREQ(w.Main().Job().sourceFile, source.c_str()) << "the source stays stored after the output was refused";

    w.boxes.boxes.clear();
    w.Choose(source, w.Path("out.wmv"), 2);
    w.Next();
    EXPECT_TRUE(w.boxes.boxes.empty());
    EXPECT_EQ(w.Main().CurrentPage(), 1);
    EXPECT_EQ(w.Main().Job().screenType, 2);
    EXPECT_STREQ(w.Main().Job().outputFile, w.Path("out.wmv").c_str());
}

TEST(Wizard, PrevFromPageTwoResetsTheOutputNameAndPlaysTheSourceAgain)
{
    Wizard w;
    const std::string source = qxtest::WizardSource();
    w.Choose(source, w.Path("mine.wmv"));
    w.Next();
    ASSERT_EQ(w.Main().CurrentPage(), 1);
    EXPECT_EQ(w.Main().lblTitle->text(), kStep2);
    EXPECT_TRUE(w.Page1().wmpMain->URL().isEmpty());
    EXPECT_EQ(w.Page2().wmpMain->URL().toStdString(), source);
    w.Prev();
    EXPECT_EQ(w.Main().CurrentPage(), 0);
    EXPECT_EQ(w.Page1().edtOutput->text().toStdString(), ProgramDir() + "output.wmv");
    EXPECT_EQ(w.Page1().edtFile->text().toStdString(), source);
    EXPECT_EQ(w.Page1().wmpMain->URL().toStdString(), source);
    EXPECT_TRUE(w.Page2().wmpMain->URL().isEmpty());

    // Disabled buttons take no accelerator either.
    QTest::keyClick(&w.Main(), Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(w.Main().CurrentPage(), 0);
    w.Page1().edtOutput->setText(QString::fromStdString(w.Path("mine.wmv")));
    QTest::keyClick(&w.Main(), Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(w.Main().CurrentPage(), 1) << "Alt+N on an enabled Next";
    QTest::keyClick(&w.Main(), Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(w.Main().CurrentPage(), 0);
}

TEST(Wizard, PageTwoStoresWhatTheBoxesSay)
{
    Wizard w("[Quorlantix]\nQuality=3\n");
    w.Choose(qxtest::WizardSource(), w.Path("out.wmv"));
    w.Next();
    TfmStep2& p = w.Page2();
    EXPECT_TRUE(p.rbtnL->Checked()) << "the stored quality";
    EXPECT_FALSE(p.seSize->isEnabled());
    p.seSize->setText("500");
    p.seDuration->setText("3");
    p.seTop->setText("-5");
    p.seLeft->setText("");
    p.seRight->setText("  12px");
    p.seBottom->setText("99999999999");
    w.Next();
    ASSERT_EQ(w.Main().CurrentPage(), 2);
    const ConversionJob& job = w.Main().Job();
    EXPECT_EQ(job.maxSizeKB, -1) << "the restriction is off";
    EXPECT_EQ(job.maxMinutes, -1);
    EXPECT_EQ(job.cropTop, -5);
    EXPECT_EQ(job.cropLeft, 0);
    EXPECT_EQ(job.cropRight, 12);
    EXPECT_EQ(job.cropBottom, 2147483647) << "past the end of the field it stops there";
    EXPECT_EQ(job.quality, 3);

    Wizard again;
    again.Choose(qxtest::WizardSource(), again.Path("out.wmv"));
    again.Next();
    again.Page2().scbxEnable->Click();
    EXPECT_TRUE(again.Page2().seSize->isEnabled());
    again.Page2().seSize->setText("500");
    again.Page2().seDuration->setText("3");
    again.Page2().rbtnH->SetChecked(true);
    again.Prev();
    again.Page1().edtOutput->setText(QString::fromStdString(again.Path("out.wmv")));
    again.Next();
    EXPECT_TRUE(again.Page2().rbtnM->Checked()) << "the quality button follows the job on every entry";
    EXPECT_EQ(again.Page2().seSize->text(), "500") << "the boxes keep their values";
    again.Page2().rbtnH->SetChecked(true);
    again.Next();
    EXPECT_EQ(again.Main().Job().maxSizeKB, 500);
    EXPECT_EQ(again.Main().Job().maxMinutes, 3);
    EXPECT_EQ(again.Main().Job().quality, 1);
}

TEST(Wizard, TheFileDialogsAskAsDesigned)
{
    Wizard w;
    w.Page1().edtFile->setText("/start/here.vob");
    w.Page1().sbtnBrowse->Click();
    ASSERT_EQ(w.dialogs.size(), 1u);
    const platform::FileDialogRequest& open = w.dialogs[0];
    EXPECT_FALSE(open.save);
    EXPECT_EQ(open.title, "Open Source Video File");
    ASSERT_EQ(open.filters.size(), 4u);
    EXPECT_EQ(open.filters[0].shown, "Windows Video Files (*.wmv, *.avi, *.mpg, *.mpeg)");
    EXPECT_EQ(open.filters[0].pattern, "*.wmv;*.avi;*.mpg;*.mpeg");
    EXPECT_EQ(open.filters[2].pattern, "*.VOB");
    EXPECT_EQ(open.filters[3].shown, "All Files(*.*)");
    EXPECT_EQ(open.filter, 0);
    EXPECT_EQ(open.flags, platform::OFN_PATHMUSTEXIST | platform::OFN_FILEMUSTEXIST);
    EXPECT_EQ(open.initialFile, "/start/here.vob");
    EXPECT_EQ(w.Page1().edtFile->text(), "/start/here.vob") << "a cancelled dialog changes nothing";
    EXPECT_TRUE(w.Page1().wmpMain->URL().isEmpty());

    const std::string source = qxtest::WizardSource();
    w.dialogAnswer = platform::FileDialogAnswer{source, 2};
    w.Page1().sbtnBrowse->Click();
    EXPECT_EQ(w.Page1().edtFile->text().toStdString(), source);
    EXPECT_EQ(w.Page1().wmpMain->URL().toStdString(), source) << "the preview starts at once";

    w.dialogAnswer = platform::FileDialogAnswer{w.Path("clip"), 0};
    w.Page1().sbtnBrowse1->Click();
    const platform::FileDialogRequest& save = w.dialogs.back();
    EXPECT_TRUE(save.save);
    EXPECT_EQ(save.title, "Choose Output File Name");
    ASSERT_EQ(save.filters.size(), 1u);
    EXPECT_EQ(save.filters[0].shown, "Windows Media Video File(*.wmv)");
    EXPECT_EQ(save.flags, 0u) << "no question before overwriting";
    EXPECT_EQ(w.Page1().edtOutput->text().toStdString(), w.Path("clip")) << "taken as typed, no extension added";
}

TEST(Wizard, TheSettingsAreWrittenOnceWhenTheWindowCloses)
{
    {
        Wizard w("; kept\n[Other]\nA=1\n[Quorlantix]\nSkinType=abc\nQuality=7\n");
        EXPECT_EQ(w.Main().Job().skinType, 0);
        EXPECT_EQ(w.Main().sfmMain->UIStyle(), Sui::MacOS) << "any other value shows Mac OS";
        EXPECT_EQ(qxtest::ReadFile(w.SettingsPath()).find("SkinType=0"), std::string::npos) << "not before the end";
        EXPECT_TRUE(w.Close());
        const std::string written = qxtest::ReadFile(w.SettingsPath());
        EXPECT_NE(written.find("; kept\n[Other]\nA=1\n"), std::string::npos) << written;
        EXPECT_NE(written.find("SkinType=0"), std::string::npos) << written;
        EXPECT_NE(written.find("Quality=7"), std::string::npos) << written;
    }
    Wizard fresh;
    EXPECT_EQ(fresh.Main().Job().skinType, 3);
    EXPECT_EQ(fresh.Main().Job().quality, 2);
    fresh.Main().miFileExit->trigger();
    EXPECT_FALSE(fresh.Main().isVisible());
    EXPECT_EQ(qxtest::ReadFile(fresh.SettingsPath()), "[Quorlantix]\r\nSkinType=3\r\nQuality=2\r\n");
}

TEST(Wizard, TheSkinChooserPreviewsAndStoresOnlyOnOk)
{
    Wizard w("[Quorlantix]\nSkinType=0\n");
    // Cancel after a preview: nothing changes.
    OnNextDialog([](QWidget* dialog) {
        auto* chooser = qobject_cast<TfmSkin*>(dialog);
        ASSERT_NE(chooser, nullptr);
        EXPECT_TRUE(chooser->rbtnMacOS->Checked()) << "an unknown skin shows as Mac OS";
        EXPECT_EQ(chooser->sfSkin->UIStyle(), Sui::MacOS);
        chooser->rbtnDeepBlue->Click();
        EXPECT_EQ(chooser->sfSkin->UIStyle(), Sui::DeepBlue) << "the dialog previews the look";
        EXPECT_EQ(fmMain->sfmMain->UIStyle(), Sui::MacOS) << "the main window waits for OK";
        chooser->sbtnCancel->Click();
    });
    w.Main().sbtnSkinClick();
    EXPECT_EQ(w.Main().Job().skinType, 0);
    EXPECT_EQ(w.Main().sfmMain->UIStyle(), Sui::MacOS);

    // OK without a change stores the Mac OS choice as 3.
    OnNextDialog([](QWidget* dialog) { static_cast<TfmSkin*>(dialog)->sbtnOK->Click(); });
    w.Main().miToolsSkins->trigger();
    EXPECT_EQ(w.Main().Job().skinType, 3);

    // Protein: the listed controls change, the others keep their designed looks.
    OnNextDialog([](QWidget* dialog) {
        auto* chooser = static_cast<TfmSkin*>(dialog);
        chooser->rbtnProtein->Click();
        chooser->sbtnOK->Click();
    });
    w.Main().sbtnSkinClick();
    EXPECT_EQ(w.Main().Job().skinType, 5);
    EXPECT_EQ(w.Main().sfmMain->UIStyle(), Sui::Protein);
    EXPECT_EQ(w.Main().mnuMain->UIStyle(), Sui::Protein);
    EXPECT_EQ(w.Page1().edtFile->UIStyle(), Sui::Protein);
    EXPECT_EQ(w.Page4().sbtnClose->UIStyle(), Sui::Protein);
    EXPECT_EQ(w.Page2().scbxEnable->UIStyle(), Sui::Protein);
    EXPECT_EQ(w.Page2().suiGroupBox1->UIStyle(), Sui::MacOS);
    EXPECT_EQ(w.Page2().rbtnH->UIStyle(), Sui::MacOS);
    EXPECT_EQ(w.Page2().seTop->UIStyle(), Sui::WinXP);

    // The About box opens in the current look, and its link goes to the web site.
    OnNextDialog([](QWidget* dialog) {
        auto* about = qobject_cast<TfmAbout*>(dialog);
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(about->sfmAbout->UIStyle(), Sui::Protein);
        EXPECT_EQ(about->suiURLLabel1->URL(), "https://quorlantix.example/");
        EXPECT_EQ(about->Label2->text(), "( version 2.2.0.1120 )");
        about->sbtnOK->Click();
    });
    w.Main().miHelpAbout->trigger();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(Wizard, HelpOpensTheHelpPageBesideTheProgram)
{
    Wizard w;
    w.Main().sbtnHelp->Click();
    w.Main().miHelpContent->trigger();
    ASSERT_EQ(w.opened.size(), 2u);
    EXPECT_EQ(w.opened[0], QUrl::fromLocalFile(QString::fromStdString(ProgramDir() + "qxhelp.html")));
    EXPECT_TRUE(QFile::exists(w.opened[0].toLocalFile())) << "the build puts it there";
    EXPECT_EQ(w.opened[1], w.opened[0]);
    // Every picture it shows was drawn by the build beside it, at the window's size.
    QFile page(w.opened[0].toLocalFile());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    int pictures = 0;
    for (const QRegularExpressionMatch& m : QRegularExpression("<img src=\"([^\"]+)\"").globalMatch(html)) {
        const QImage picture(QString::fromStdString(ProgramDir()) + m.captured(1));
        EXPECT_FALSE(picture.isNull()) << m.captured(1).toStdString();
        if (m.captured(1).contains("page")) {
            EXPECT_EQ(picture.size(), QSize(696, 496)) << m.captured(1).toStdString();
        }
        ++pictures;
    }
    EXPECT_EQ(pictures, 5);
}

// Drags mime over the main window and drops it at a place on page 1; whether the window
// took it.
bool Drop(Wizard& w, const QList<QUrl>& urls, QPoint at = {120, 200})
{
    QMimeData mime;
    mime.setUrls(urls);
    QWidget& target = w.Main();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
    return enter.isAccepted() && drop.isAccepted();
}

TEST(Wizard, AVideoDroppedOnPageOneBecomesTheSourceAndNothingElseDoes)
{
    Wizard w;
    const QString video = QString::fromStdString(qxtest::WizardSource());
    const QString folder = QString::fromStdString(w.Path(""));
    const std::string text = w.Path("notes.txt");
    qxtest::WriteFile(text, "not a video\n");
    const QList<QList<QUrl>> ignored = {
        {QUrl::fromLocalFile(folder)},
        {QUrl::fromLocalFile(QString::fromStdString(w.Path("gone.vob")))},
        {QUrl("https://example.com/clip.avi")},
        {QUrl::fromLocalFile(video), QUrl::fromLocalFile(video)},  // one source only
    };
    for (const QList<QUrl>& urls : ignored) {
        EXPECT_FALSE(Drop(w, urls)) << urls.constFirst().toString().toStdString();
        EXPECT_TRUE(w.Page1().edtFile->text().isEmpty());
        EXPECT_TRUE(w.Page1().wmpMain->URL().isEmpty());
    }
    // A file is looked into beside the window: one that is no video is then left alone.
    Drop(w, {QUrl::fromLocalFile(QString::fromStdString(text))});
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.Settled(); }, 5000));
    EXPECT_TRUE(w.Page1().edtFile->text().isEmpty());
    EXPECT_TRUE(w.Page1().wmpMain->URL().isEmpty());
    EXPECT_TRUE(w.boxes.boxes.empty()) << "ignored without a word";

    EXPECT_TRUE(Drop(w, {QUrl::fromLocalFile(video)}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.Settled(); }, 5000));
    EXPECT_EQ(w.Page1().edtFile->text(), video);
    EXPECT_EQ(w.Page1().wmpMain->URL(), video) << "the preview plays it, as after browsing";
    EXPECT_FALSE(w.Page1().edtFile->acceptDrops()) << "the boxes leave drops to the window";

    w.Choose(video.toStdString(), w.Path("out.wmv"));
    w.Next();
    ASSERT_EQ(w.Main().CurrentPage(), 1);
    const QString other = QString::fromStdString(
        qxtest::Media("wizard-other.avi", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=1 -c:v mpeg4"));
    EXPECT_FALSE(Drop(w, {QUrl::fromLocalFile(other)})) << "only page 1 takes a source";
    EXPECT_EQ(w.Page1().edtFile->text(), video);
}

}  // namespace
