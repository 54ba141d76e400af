#include "TfmMain.h"

#include "DesignControls.h"
#include "PlainPanel.h"
#include "Places.h"
#include "Skins.h"
#include "TfmAbout.h"
#include "TfmSkin.h"
#include "TfmStep1.h"
#include "TfmStep2.h"
#include "TfmStep3.h"
#include "TfmStep4.h"
#include "WizardPage.h"
#include "common/misc/WinUtil.h"
#include "platform/MessageBox.h"
#include "platform/media/MediaModule.h"
#include "platform/player/TWindowsMediaPlayer.h"
#include "skin/SuiScreen.h"
#include "skin/ThemeManager.h"
#include "skin/TsuiForm.h"
#include "skin/controls/TsuiButton.h"
#include "skin/controls/TsuiMainMenu.h"
#include "skin/controls/TsuiPanel.h"
#include "skin/controls/TsuiStatusBar.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QLabel>
#include <QMenu>
#include <cstring>

TfmMain* fmMain = nullptr;

namespace {

const char* const kTitles[] = {
    "Step1: Please select the video source to be converted to your handheld devices.",
    "Step2: Please specify the video cropping and output options...",
    "Step3: Ready to convert now. Please press the [Start] button to continue...",
    "Step 4: Congratulations! You have converted the video successfully.",
};

QString FromJob(const char* field)
{
    return QString::fromUtf8(field);
}

}  // namespace

TfmMain::TfmMain(const std::string& settingsPath) : m_settingsPath(settingsPath)
{
    fmMain = this;
    setObjectName("fmMain");
    setWindowTitle("Quorlantix - Convert Video Files for your Pocket PC");
    setFont(QFont("MS Sans Serif", 8));
    SetSuiMainForm(this);

    sfmMain = new TsuiForm(this);
    sfmMain->setObjectName("sfmMain");
    sfmMain->SetClientSize(QSize(690, 490));
    setFixedSize(size());
    // A control box, a close and a minimise button: the window has a fixed size.
    TsuiTitleBarButtons* buttons = sfmMain->TitleBarButtons();
    for (int i = 0; i < buttons->Count(); ++i)
        if (buttons->Item(i)->ButtonType() == SuiTitleBar::suiMax)
            buttons->Item(i)->SetVisible(false);

    mnuMain = new TsuiMainMenu(this);
    mnuMain->setObjectName("mnuMain");
    miFileExit = mnuMain->AddItem("E&xit", mnuMain->AddSubMenu("&File"));
    miToolsSkins = mnuMain->AddItem("&Skins ...", mnuMain->AddSubMenu("&Tools"));
    QMenu* help = mnuMain->AddSubMenu("&Help");
    miHelpContent = mnuMain->AddItem("&Content", help);
    mnuMain->AddItem("-", help);
    miHelpAbout = mnuMain->AddItem("&About Quorlantix", help);

    spTop = new TsuiPanel(sfmMain);
    spTop->setObjectName("spTop");
    spTop->SetUIStyle(Sui::WinXP);
    spTop->SetShowButton(false);
    spTop->setGeometry(0, 40, 690, 75);
    spTop->SetAlign(SuiLayout::alTop);
    lblTitle = new QLabel(spTop);
    lblTitle->setObjectName("lblTitle");
    lblTitle->setGeometry(25, 43, 625, 13);
    QFont bold = lblTitle->font();
    bold.setBold(true);
    lblTitle->setFont(bold);

    pClient = new PlainPanel(sfmMain, kPageColor, SuiLayout::alClient);
    pClient->setObjectName("pClient");
    // The status bar is the lowest of the two bars at the bottom: docked first.
    sbMain = new TsuiStatusBar(sfmMain);
    sbMain->setObjectName("sbMain");
    sbMain->SetUIStyle(Sui::BlueGlass);
    sbMain->setGeometry(0, 471, 690, 19);
    pBottom = new PlainPanel(sfmMain, kPageColor);
    pBottom->setObjectName("pBottom");
    pBottom->setGeometry(0, 424, 690, 47);
    pBottom->SetAlign(SuiLayout::alBottom);
    pLine = new PlainPanel(pBottom, platform::kSystemColorFlag | platform::COLOR_BTNTEXT);
    pLine->setObjectName("pLine");
    pLine->setGeometry(0, 0, 690, 1);
    pLine->SetAlign(SuiLayout::alTop);

    sbtnSkin = DesignButton(pBottom, "sbtnSkin", "&Skins", QRect(12, 13, 80, 27), true);
    sbtnHelp = DesignButton(pBottom, "sbtnHelp", "&Help", QRect(99, 13, 80, 27), true);
    sbtnPrev = DesignButton(pBottom, "sbtnPrev", "<  &Prev", QRect(362, 13, 88, 27), true);
    sbtnNext = DesignButton(pBottom, "sbtnNext", "&Next  >", QRect(466, 13, 89, 27), true);
    sbtnClose = DesignButton(pBottom, "sbtnClose", "&Close", QRect(570, 13, 80, 27), true);

    skinMain = new TsuiThemeManager(this);
    skinMain->setObjectName("skinMain");
    skinMain->SetList({"sfmMain", "sbtnPrev", "sbtnNext", "sbtnClose", "sbtnHelp", "mnuMain", "sbtnSkin"});
    skinMain->SetUIStyle(Sui::MacOS);

    connect(sbtnSkin, &TsuiButton::OnClick, this, &TfmMain::sbtnSkinClick);
    connect(sbtnHelp, &TsuiButton::OnClick, this, &TfmMain::sbtnHelpClick);
    connect(sbtnPrev, &TsuiButton::OnClick, this, &TfmMain::sbtnPrevClick);
    connect(sbtnNext, &TsuiButton::OnClick, this, &TfmMain::sbtnNextClick);
    connect(sbtnClose, &TsuiButton::OnClick, this, &TfmMain::sbtnCloseClick);
    connect(miFileExit, &QAction::triggered, this, &TfmMain::miFileExitClick);
    connect(miToolsSkins, &QAction::triggered, this, &TfmMain::sbtnSkinClick);
    connect(miHelpContent, &QAction::triggered, this, &TfmMain::sbtnHelpClick);
    connect(miHelpAbout, &QAction::triggered, this, &TfmMain::miHelpAboutClick);

    // The window system's title (the task bar's text) is the program's; the skinned
    // title bar keeps the window's caption.
    setWindowTitle("Convert video files to Pocket PC");
    setAcceptDrops(true);
    MoveIntoWorkArea(this, QPoint(194, 116));
    FormCreate();
}

TfmMain::~TfmMain()
{
    FormDestroy();
    if (fmMain == this)
        fmMain = nullptr;
}

void TfmMain::FormCreate()
{
    std::memset(&m_job, 0, sizeof m_job);
    settings::Load(m_job, m_settingsPath);
    fmStep1 = new TfmStep1(pClient);
    fmStep2 = new TfmStep2(pClient);
    fmStep3 = new TfmStep3(pClient);
    fmStep4 = new TfmStep4(pClient);
    connect(fmStep3, &TfmStep3::RunChanged, this, &TfmMain::UpdateEncodingNavigation);
    connect(fmStep1, &TfmStep1::NextWanted, this, [this] {
        if (currentPage == 0)
            GoNext();
    });
    ApplySkinToAll();
    fmStep1->show();
    ResetToFirstPage();
}

void TfmMain::SetStepTitle(const QString& text)
{
    lblTitle->setText(text);
}

void TfmMain::ApplySkinToAll()
{
    const TsuiUIStyle look = LookOfSkinType(m_job.skinType);
    for (TsuiThemeManager* manager :
         {skinMain, fmStep1->skinMain, fmStep2->skinMain, fmStep3->skinMain, fmStep4->skinMain})
        manager->SetUIStyle(look);
}

void TfmMain::ResetToFirstPage()
{
    char dir[platform::MAX_PATH] = {};
    GetModuleDir(nullptr, dir);
    const std::string output = places::DefaultOutputFile(dir);
    std::snprintf(m_job.outputFile, sizeof m_job.outputFile, "%s", output.size() < sizeof m_job.outputFile ? output.c_str() : "output.wmv");
    fmStep1->UpdateData(false);
    fmStep1->show();
    for (WizardPage* page : std::initializer_list<WizardPage*>{fmStep2, fmStep3, fmStep4})
        page->hide();
    currentPage = 0;
    sbtnPrev->setEnabled(false);
    sbtnNext->setEnabled(true);
    SetStepTitle(kTitles[0]);
}

void TfmMain::GoNext()
{
    if (currentPage == 0) {
        if (!fmStep1->UpdateData(true))
            return;
        fmStep1->wmpMain->SetURL(QString());
        fmStep2->wmpMain->SetURL(FromJob(m_job.sourceFile));
        fmStep1->hide();
        fmStep2->show();
        fmStep2->UpdateData(false);
        sbtnPrev->setEnabled(true);
        currentPage = 1;
        SetStepTitle(kTitles[1]);
    } else if (currentPage == 1) {
        if (!fmStep2->UpdateData(true))
            return;
        fmStep2->wmpMain->SetURL(QString());
        fmStep3->wmpMain->SetURL(FromJob(m_job.sourceFile));
        fmStep2->hide();
        fmStep3->show();
        fmStep3->UpdateData(false);
        currentPage = 2;
        SetStepTitle(kTitles[2]);
        sbtnPrev->setEnabled(false);
        sbtnNext->setEnabled(false);
    }
}

void TfmMain::GoBack()
{
    if (currentPage == 1) {
        fmStep1->wmpMain->SetURL(FromJob(m_job.sourceFile));
        fmStep2->wmpMain->SetURL(QString());
        ResetToFirstPage();
    } else if (currentPage == 2 && fmStep3->CanGoBack()) {
        // After a failed or stopped run the user may change the options.
        fmStep3->wmpMain->SetURL(QString());
        fmStep2->wmpMain->SetURL(FromJob(m_job.sourceFile));
        fmStep3->hide();
        fmStep2->show();
        fmStep2->UpdateData(false);
        currentPage = 1;
        SetStepTitle(kTitles[1]);
        sbtnPrev->setEnabled(true);
        sbtnNext->setEnabled(true);
    }
}

void TfmMain::UpdateEncodingNavigation()
{
    if (currentPage == 2)
        sbtnPrev->setEnabled(fmStep3->CanGoBack());
}

void TfmMain::ShowFinishedPage()
{
    sbtnPrev->setEnabled(false);
    sbtnNext->setEnabled(false);
    fmStep3->wmpMain->SetURL(QString());
    fmStep3->hide();
    fmStep4->UpdateData(false);
    fmStep4->show();
    currentPage = 3;
    SetStepTitle(kTitles[3]);
}

void TfmMain::sbtnSkinClick()
{
    TfmSkin chooser(this);
    chooser.exec();
    if (chooser.changed)
        ApplySkinToAll();
}

QString TfmMain::DroppableFile(const QMimeData* data) const
{
    if (currentPage != 0 || !data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile())
        return {};
    const QFileInfo file(url.toLocalFile());
    return file.isFile() ? file.absoluteFilePath() : QString();
}

void TfmMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppableFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TfmMain::dragMoveEvent(QDragMoveEvent* event)
{
    if (!DroppableFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TfmMain::dropEvent(QDropEvent* event)
{
    const QString path = DroppableFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    fmStep1->OfferSource(path);  // looked into beside the window
}

void TfmMain::sbtnHelpClick()
{
    char dir[platform::MAX_PATH] = {};
    GetModuleDir(nullptr, dir);
    const std::string path = std::string(dir) + "qxhelp.html";
    ShellOpen(path.c_str());
}

void TfmMain::miHelpAboutClick()
{
    TfmAbout about(this);
    about.exec();
}

bool TfmMain::FormCloseQuery()
{
    if (fmStep3->m_bEncoding) {
        if (platform::MessageBoxA(this, "Video encoding process is running, are you sure to exit the program?",
                                  "Confirm", platform::MB_YESNO | platform::MB_ICONQUESTION) != platform::IDYES)
            return false;
        fmStep3->EndEncoding();
    }
    return true;
}

void TfmMain::closeEvent(QCloseEvent* event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormDestroy();
    event->accept();
}

void TfmMain::FormDestroy()
{
    // Once, at the orderly end: the run ends, the players let their files go, and the
    // settings are written.
    if (m_destroyed)
        return;
    m_destroyed = true;
    fmStep3->EndEncoding();
    for (WizardPage* page : std::initializer_list<WizardPage*>{fmStep1, fmStep2, fmStep3, fmStep4})
        page->wmpMain->SetURL(QString());
    settings::Save(m_job, m_settingsPath);
}
