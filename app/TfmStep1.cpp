#include "TfmStep1.h"

#include "DesignControls.h"
#include "TfmMain.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/media/MediaModule.h"
#include "platform/player/TWindowsMediaPlayer.h"
#include "skin/ThemeManager.h"
#include "skin/controls/TsuiButton.h"
#include "skin/controls/TsuiEdit.h"
#include "skin/controls/TsuiGroupBox.h"
#include "skin/controls/TsuiRadioButton.h"

#include <QFileInfo>
#include <QLabel>
#include <cstring>
#include <utility>
#include <sys/stat.h>

namespace {

// The job keeps paths in 260-byte buffers: 259 bytes and the terminator.
constexpr int kMaxPathBytes = platform::MAX_PATH - 1;

// Whether two names lead to the same file, whatever the spelling or the links between.
bool SameFile(const QString& a, const QString& b)
{
    struct stat sa {}, sb {};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

void Store(char (&field)[platform::MAX_PATH], const QByteArray& text)
{
    std::memset(field, 0, sizeof field);
    std::memcpy(field, text.constData(), std::size_t(std::min<qsizetype>(text.size(), kMaxPathBytes)));
}

// Runs one of the file dialogs from the box's text; the chosen path, or null on cancel.
QString AskFile(bool save, QWidget* owner, const char* title, const char* filter, platform::DWORD flags, const QString& start)
{
    char file[platform::MAX_PATH] = {};
    const QByteArray initial = start.toUtf8();
    if (initial.size() <= kMaxPathBytes)
        std::memcpy(file, initial.constData(), std::size_t(initial.size()));
    platform::OPENFILENAMEA ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = kMaxPathBytes;
    ofn.lpstrTitle = title;
    ofn.Flags = flags;
    const platform::BOOL chosen = save ? platform::GetSaveFileNameA(&ofn) : platform::GetOpenFileNameA(&ofn);
    return chosen ? QString::fromUtf8(file) : QString();
}

}  // namespace

TfmStep1::TfmStep1(QWidget* parent) : WizardPage(parent, QSize(688, 297), "pMain")
{
    QWidget* pMain = Panel();

    suiGroupBox1 = new TsuiGroupBox(pMain);
    suiGroupBox1->setObjectName("suiGroupBox1");
    suiGroupBox1->setGeometry(16, 17, 297, 88);
    suiGroupBox1->SetCaption(" Select Video Source and Open ");
    edtFile = new TsuiEdit(suiGroupBox1);
    edtFile->setObjectName("edtFile");
    edtFile->setGeometry(12, 33, 242, 19);
    sbtnBrowse = DesignButton(suiGroupBox1, "sbtnBrowse", "...", QRect(260, 31, 30, 23), true);
    Label2 = DesignLabel(suiGroupBox1, "Label2", "Click the button to browse and open a video file.", 15, 62, true);

    suiGroupBox2 = new TsuiGroupBox(pMain);
    suiGroupBox2->setObjectName("suiGroupBox2");
    suiGroupBox2->setGeometry(16, 120, 297, 133);
    suiGroupBox2->SetCaption(" Convert this video to ");
    edtOutput = new TsuiEdit(suiGroupBox2);
    edtOutput->setObjectName("edtOutput");
    edtOutput->setGeometry(13, 27, 240, 19);
    sbtnBrowse1 = DesignButton(suiGroupBox2, "sbtnBrowse1", "...", QRect(260, 25, 32, 25), true);
    srbtnPPCStd = DesignRadio(suiGroupBox2, "srbtnPPCStd", "Pocket PC Standard Video (208*160)", 11, 56);
    rbtnPPCWide = DesignRadio(suiGroupBox2, "rbtnPPCWide", "Pocket PC Wide Screen Video (320*200)", 11, 80);
    rbtnPPCVGA = DesignRadio(suiGroupBox2, "rbtnPPCVGA", "Pocket PC VGA Video (640*480)", 11, 104);
    srbtnPPCStd->SetChecked(true);

    Label1 = DesignLabel(pMain, "Label1", "Click the <Next> button to continue  conversion ...", 18, 264, true);
    // Ours: shown while the source is being looked into, under the designed line.
    lblChecking = DesignLabel(pMain, "lblChecking", "Checking the video file...", 18, 280, true);
    lblChecking->hide();
    connect(edtFile, &QLineEdit::textChanged, this, &TfmStep1::SourceEdited);
    // A file dropped anywhere on the page (the boxes too) is taken by the main window as the source.
    edtFile->setAcceptDrops(false);
    edtOutput->setAcceptDrops(false);

    setTabOrder(sbtnBrowse, edtFile);
    setTabOrder(edtFile, edtOutput);
    setTabOrder(edtOutput, sbtnBrowse1);
    setTabOrder(sbtnBrowse1, srbtnPPCStd);
    setTabOrder(srbtnPPCStd, rbtnPPCWide);
    setTabOrder(rbtnPPCWide, rbtnPPCVGA);

    skinMain->SetList({"suiGroupBox1", "sbtnBrowse", "edtFile", "suiGroupBox2", "srbtnPPCStd", "rbtnPPCWide",
                       "edtOutput", "sbtnBrowse1", "rbtnPPCVGA"});
    connect(sbtnBrowse, &TsuiButton::OnClick, this, &TfmStep1::sbtnBrowseClick);
    connect(sbtnBrowse1, &TsuiButton::OnClick, this, &TfmStep1::sbtnBrowse1Click);
}

bool TfmStep1::Refuse(const char* text, const char* caption)
{
    platform::MessageBoxA(this, text, caption, platform::MB_OK | platform::MB_ICONERROR);
    return false;
}

bool TfmStep1::UpdateData(bool saveAndValidate)
{
    ConversionJob& job = fmMain->Job();
    if (!saveAndValidate) {
        edtOutput->setText(QString::fromUtf8(job.outputFile));
        return true;
    }
    // The source must be a file with a video the encoder can decode: a folder, a missing
    // file or one without pictures would only fail on the next page.
    const QString source = edtFile->text();
    const QByteArray sourceBytes = source.toUtf8();
    if (!source.isEmpty() && sourceBytes.size() <= kMaxPathBytes && m_checked != source) {
        // The answer comes from the check beside the window; Next goes on once it is in.
        m_nextWaiting = true;
        Check(source);
        return false;
    }
    if (source.isEmpty() || sourceBytes.size() > kMaxPathBytes || !m_checkedGood)
        return Refuse("Invalid source video file. Please choose the file you want to convert.", "Error");
    Store(job.sourceFile, sourceBytes);

    const QString output = edtOutput->text();
    if (output.isEmpty())
        return Refuse("Please specify the output file name.", "Error");
    if (output.toUtf8().size() > kMaxPathBytes)
        return Refuse("The output file name is too long. Please choose a shorter one.", "Error");
    // Writing the output over the source would destroy the user's video.
    if (SameFile(output, source))
        return Refuse("The output file must not be the source video file. Please choose another output file name.",
                      "Error");
    Store(job.outputFile, output.toUtf8());

    job.screenType = srbtnPPCStd->Checked() ? 1 : rbtnPPCWide->Checked() ? 2 : 3;
    return true;
}

void TfmStep1::sbtnBrowseClick()
{
    const QString chosen =
        AskFile(false, this, "Open Source Video File",
                "Windows Video Files (*.wmv, *.avi, *.mpg, *.mpeg)\0*.wmv;*.avi;*.mpg;*.mpeg\0"
                "VCD File (*.dat)\0*.dat\0DVD File (*.VOB)\0*.VOB\0All Files(*.*)\0*.*\0",
                platform::OFN_PATHMUSTEXIST | platform::OFN_FILEMUSTEXIST, edtFile->text());
    if (!chosen.isEmpty())
        UseSource(chosen);
}

void TfmStep1::UseSource(const QString& path)
{
    edtFile->setText(path);
    wmpMain->SetURL(path);
    Check(path);
}

void TfmStep1::OfferSource(const QString& path)
{
    Check(path, true);
}

bool TfmStep1::Checking() const
{
    return m_probe.Busy();
}

void TfmStep1::Check(const QString& path, bool useWhenGood)
{
    if (!useWhenGood && path == m_checking && m_probe.Busy())
        return;  // already asked
    m_checking = path;
    lblChecking->show();
    const std::string file = QFile::encodeName(path).toStdString();
    m_probe.Run([file] { return platform::media::HasDecodableVideo(file); },
                [this, path, useWhenGood](bool good) {
                    lblChecking->hide();
                    if (useWhenGood) {
                        if (good)  // a dropped file that is no video is left alone, as any other drop
                            UseSource(path);
                        return;
                    }
                    m_checked = path;
                    m_checkedGood = good;
                    if (std::exchange(m_nextWaiting, false))
                        emit NextWanted();
                });
}

void TfmStep1::SourceEdited()
{
    // A typed name is checked when Next asks: not at every key.
    if (edtFile->text() == m_checked || edtFile->text() == m_checking)
        return;
    m_probe.Forget();
    m_checking.clear();
    m_nextWaiting = false;
    lblChecking->hide();
}

void TfmStep1::sbtnBrowse1Click()
{
    const QString chosen = AskFile(true, this, "Choose Output File Name",
                                   "Windows Media Video File(*.wmv)\0*.wmv\0", 0, edtOutput->text());
    if (!chosen.isEmpty())
        edtOutput->setText(chosen);
}
