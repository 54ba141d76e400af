#pragma once
// What the four wizard pages share: a borderless page that fills the main window's page
// area, a plain panel under everything, the black movie panel with the page's player at
// the right, the page's theme manager, and the page protocol.

#include "PlainPanel.h"

#include <QWidget>

class TsuiThemeManager;
namespace platform {
class TWindowsMediaPlayer;
}

class WizardPage : public QWidget {
    Q_OBJECT

public:
    // The page takes its designed size; panelName names its plain panel.
    WizardPage(QWidget* parent, QSize size, const char* panelName);

    // false: load the controls from the job. true: check the controls and store them into
    // the job, or show the page's own message and return false.
    virtual bool UpdateData(bool saveAndValidate) = 0;

    PlainPanel* Panel() const { return m_panel; }
    PlainPanel* pMovie;
    platform::TWindowsMediaPlayer* wmpMain;
    TsuiThemeManager* skinMain;

private:
    PlainPanel* m_panel;
};

// The pages' plain panels and the main window's are this grey whatever the look.
inline constexpr platform::COLORREF kPageColor = platform::RGB(231, 231, 231);
