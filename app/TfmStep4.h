#pragma once
// Page 4: names the converted file and offers to play it, to open its folder, to start
// another conversion or to leave the program.

#include "WizardPage.h"

class QLabel;
class TsuiButton;
class TsuiGroupBox;

class TfmStep4 : public WizardPage {
    Q_OBJECT

public:
    explicit TfmStep4(QWidget* parent);

    // false: the label names the job's output file.
    bool UpdateData(bool saveAndValidate) override;

    // The folder of the output as the desktop opens it: "file://" and the folder's full
    // path with its trailing '/'.
    static QString FolderUrl(const QString& outputFile);

    TsuiGroupBox* suiGroupBox1;
    QLabel* lblFile;
    QLabel* lblNote;  // ours: the run was cut at the size limit
    QLabel* Label1;
    TsuiButton* sbtnPrview;
    TsuiButton* sbtnCopy;
    TsuiButton* sbtnStart;
    TsuiButton* sbtnClose;

    void sbtnPrviewClick();
    void sbtnCopyClick();
    void sbtnStartClick();
    void sbtnCloseClick();
};
