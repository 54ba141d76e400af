#pragma once
// The wizard's main window: a fixed 690 × 490 client area in its skinned frame, the step
// title above the page area, the four pages (one shown at a time), and the bar of Skins,
// Help, Prev, Next and Close below. It owns the conversion job and the settings: read
// once when it is made, written once when it closes. Every way of closing comes through
// its close query, which asks first while an encoding runs.

#include "ConversionJob.h"
#include "Settings.h"

#include <QWidget>

class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QMimeData;
#include <string>

class PlainPanel;
class QAction;
class QLabel;
class TfmStep1;
class TfmStep2;
class TfmStep3;
class TfmStep4;
class TsuiButton;
class TsuiForm;
class TsuiMainMenu;
class TsuiPanel;
class TsuiStatusBar;
class TsuiThemeManager;

class TfmMain : public QWidget {
    Q_OBJECT

public:
    // settingsPath: the settings file, beside the program unless told otherwise.
    explicit TfmMain(const std::string& settingsPath = settings::FilePath());
    ~TfmMain() override;

    ConversionJob& Job() { return m_job; }
    const ConversionJob& Job() const { return m_job; }
    int CurrentPage() const { return currentPage; }

    void SetStepTitle(const QString& text);
    // Page 1 with a fresh default output name.
    void ResetToFirstPage();
    void GoNext();
    void GoBack();
    // The encoding page's run has ended with a complete output.
    void ShowFinishedPage();
    // The look of the job's skinType on this window and the four pages.
    void ApplySkinToAll();

    // The window's parts, by their design names.
    TsuiForm* sfmMain;
    TsuiPanel* spTop;
    QLabel* lblTitle;
    PlainPanel* pClient;
    TsuiStatusBar* sbMain;
    PlainPanel* pBottom;
    PlainPanel* pLine;
    TsuiButton* sbtnSkin;
    TsuiButton* sbtnHelp;
    TsuiButton* sbtnPrev;
    TsuiButton* sbtnNext;
    TsuiButton* sbtnClose;
    TsuiMainMenu* mnuMain;
    QAction* miFileExit;
    QAction* miToolsSkins;
    QAction* miHelpContent;
    QAction* miHelpAbout;
    TsuiThemeManager* skinMain;
    TfmStep1* fmStep1;
    TfmStep2* fmStep2;
    TfmStep3* fmStep3;
    TfmStep4* fmStep4;

    void sbtnSkinClick();
    void sbtnHelpClick();
    void sbtnPrevClick() { GoBack(); }
    void sbtnNextClick() { GoNext(); }
    void sbtnCloseClick() { close(); }
    void miFileExitClick() { close(); }
    void miHelpAboutClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    // A video file dropped while page 1 is shown becomes the source; anything else is ignored.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The one local regular file a drag carries while page 1 is shown, or empty.
    QString DroppableFile(const QMimeData* data) const;
    void FormCreate();
    bool FormCloseQuery();
    void FormDestroy();
    // Prev on the encoding page: enabled while no run exists after a failure or a stop.
    void UpdateEncodingNavigation();

    ConversionJob m_job;
    int currentPage = 0;
    std::string m_settingsPath;
    bool m_destroyed = false;
};

// The one main window, published when it is made; the pages reach the job through it.
extern TfmMain* fmMain;
