#pragma once
// Page 1: the video to convert (typed, or chosen with the open dialog, which starts the
// preview), the output file (save dialog) and the Pocket PC screen.

#include "Background.h"
#include "WizardPage.h"

#include <QString>

class QLabel;
class TsuiButton;
class TsuiEdit;
class TsuiGroupBox;
class TsuiRadioButton;

class TfmStep1 : public WizardPage {
    Q_OBJECT

public:
    explicit TfmStep1(QWidget* parent);

    // false: the output box shows the job's outputFile. true: refuses a source that is no
    // decodable video, an empty output name, names too long for the job, and an output
    // that is the source itself; stores source, output and screen. A source not yet
    // checked is checked beside the window: false now, and NextWanted once the answer is in.
    bool UpdateData(bool saveAndValidate) override;

    TsuiGroupBox* suiGroupBox1;
    TsuiEdit* edtFile;
    TsuiButton* sbtnBrowse;
    QLabel* Label2;
    TsuiGroupBox* suiGroupBox2;
    TsuiEdit* edtOutput;
    TsuiButton* sbtnBrowse1;
    TsuiRadioButton* srbtnPPCStd;
    TsuiRadioButton* rbtnPPCWide;
    TsuiRadioButton* rbtnPPCVGA;
    QLabel* Label1;

    void sbtnBrowseClick();
    // Makes path the source, as if chosen with the browse button: the box and the preview.
    void UseSource(const QString& path);
    // A file dropped on the window: made the source once it proves to be a video.
    void OfferSource(const QString& path);
    void sbtnBrowse1Click();
    // A source is being looked into.
    bool Checking() const;

    QLabel* lblChecking;  // ours: "Checking the video file..." while a check runs

signals:
    // The check Next waited for has answered: Next may go on.
    void NextWanted();

private:
    bool Refuse(const char* text, const char* caption);
    // Looks into path beside the window (the probe reads up to two seconds).
    void Check(const QString& path, bool useWhenGood = false);
    void SourceEdited();

    QString m_checking;         // what the latest check looks into
    QString m_checked;          // what the last answer was about
    bool m_checkedGood = false;
    bool m_nextWaiting = false;
    Background<bool> m_probe{this};
};
