#include "TfmStep4.h"

#include "DesignControls.h"
#include "TfmStep3.h"
#include "TfmMain.h"
#include "common/misc/WinUtil.h"
#include "platform/player/TWindowsMediaPlayer.h"
#include "skin/ThemeManager.h"
#include "skin/controls/TsuiButton.h"
#include "skin/controls/TsuiGroupBox.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>

TfmStep4::TfmStep4(QWidget* parent) : WizardPage(parent, QSize(688, 297), "pMain")
{
    suiGroupBox1 = new TsuiGroupBox(Panel());
    suiGroupBox1->setObjectName("suiGroupBox1");
    suiGroupBox1->setGeometry(20, 17, 285, 250);
    suiGroupBox1->SetCaption(" Conversion Finished ");
    lblFile = DesignLabel(suiGroupBox1, "lblFile", QString(), 27, 40, true);
    Label1 = DesignLabel(suiGroupBox1, "Label1", "has been converted succesfully. i want to ", 25, 71);
    sbtnPrview = DesignButton(suiGroupBox1, "sbtnPrview", "&Preview the converted video", QRect(19, 104, 249, 27));
    sbtnCopy = DesignButton(suiGroupBox1, "sbtnCopy", "&Explore the output video file folder", QRect(18, 140, 252, 27));
    sbtnStart = DesignButton(suiGroupBox1, "sbtnStart", "&Start another file conversion process", QRect(19, 176, 251, 27));
    sbtnClose = DesignButton(suiGroupBox1, "sbtnClose", "E&xit the Quorlantix Converter program", QRect(19, 210, 251, 27));
    // Ours, under the box and the player: what a size limit lowered, and what the output
    // holds when the run was cut at it, in as many lines as it takes.
    lblNote = DesignLabel(Panel(), "lblNote", QString(), suiGroupBox1->x() + 2, suiGroupBox1->geometry().bottom() + 8, true);
    lblNote->setWordWrap(true);

    setTabOrder(sbtnPrview, sbtnCopy);
    setTabOrder(sbtnCopy, sbtnStart);
    setTabOrder(sbtnStart, sbtnClose);
    skinMain->SetList({"suiGroupBox1", "sbtnPrview", "sbtnCopy", "sbtnStart", "sbtnClose"});
    connect(sbtnPrview, &TsuiButton::OnClick, this, &TfmStep4::sbtnPrviewClick);
    connect(sbtnCopy, &TsuiButton::OnClick, this, &TfmStep4::sbtnCopyClick);
    connect(sbtnStart, &TsuiButton::OnClick, this, &TfmStep4::sbtnStartClick);
    connect(sbtnClose, &TsuiButton::OnClick, this, &TfmStep4::sbtnCloseClick);
}

bool TfmStep4::UpdateData(bool saveAndValidate)
{
    if (!saveAndValidate) {
        // A long path loses its middle, not its name; the whole path is the tip.
        const QString path = QString::fromUtf8(fmMain->Job().outputFile);
        const int room = suiGroupBox1->width() - lblFile->x() - 8;
        lblFile->setText(lblFile->fontMetrics().elidedText(path, Qt::ElideMiddle, room));
        lblFile->setToolTip(path);
        lblFile->adjustSize();
        lblNote->setText(fmMain->fmStep3->FinishNote());
        lblNote->setFixedWidth(Panel()->width() - lblNote->x() - suiGroupBox1->x());
        lblNote->setFixedHeight(lblNote->text().isEmpty() ? 0 : lblNote->heightForWidth(lblNote->width()));
    }
    return true;
}

QString TfmStep4::FolderUrl(const QString& outputFile)
{
    QString folder = QFileInfo(outputFile).absolutePath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return QStringLiteral("file://") + folder;
}

void TfmStep4::sbtnPrviewClick()
{
    wmpMain->SetURL(QString::fromUtf8(fmMain->Job().outputFile));
}

void TfmStep4::sbtnCopyClick()
{
    ShellOpen(FolderUrl(QString::fromUtf8(fmMain->Job().outputFile)).toUtf8().constData());
}

void TfmStep4::sbtnStartClick()
{
    wmpMain->SetURL(QString());
    fmMain->ResetToFirstPage();
}

void TfmStep4::sbtnCloseClick()
{
    fmMain->close();
}
