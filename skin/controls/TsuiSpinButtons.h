#pragma once
// A pair of arrow buttons, up above down, overlapping by one row. Both a click and
// each repeat tick of a held arrow count as one step.

#include "skin/controls/SuiControl.h"

#include <QWidget>

class TsuiArrowButton;

class TsuiSpinButtons : public QWidget {
    Q_OBJECT
    Q_PROPERTY(Sui::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)

public:
    explicit TsuiSpinButtons(QWidget* parent = nullptr);

    TsuiUIStyle UIStyle() const;
    void SetUIStyle(TsuiUIStyle look);
    TsuiFileTheme* FileTheme() const;
    void SetFileTheme(TsuiFileTheme* fileTheme);

    TsuiArrowButton* UpButton() const { return m_up; }
    TsuiArrowButton* DownButton() const { return m_down; }

signals:
    void OnUpClick();
    void OnDownClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ButtonClick(TsuiArrowButton* sender);
    void ArrangeButtons();

    TsuiArrowButton* m_up = nullptr;
    TsuiArrowButton* m_down = nullptr;
};
