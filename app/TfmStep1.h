#pragma once
// Page 1: the video to convert (typed, or chosen with the open dialog, which starts the
// preview), the output file (save dialog) and the Pocket PC screen.

#include "WizardPage.h"

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
    // that is the source itself; stores source, output and screen.
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
    void sbtnBrowse1Click();

private:
    bool Refuse(const char* text, const char* caption);
};
