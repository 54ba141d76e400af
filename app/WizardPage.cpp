#include "WizardPage.h"

#include "platform/player/TWindowsMediaPlayer.h"
#include "skin/ThemeManager.h"

WizardPage::WizardPage(QWidget* parent, QSize size, const char* panelName) : QWidget(parent)
{
    resize(size);
    (new SuiAligner(this))->SetAlign(SuiLayout::alClient);
    m_panel = new PlainPanel(this, kPageColor, SuiLayout::alClient);
    m_panel->setObjectName(panelName);
    pMovie = new PlainPanel(m_panel, platform::RGB(0, 0, 0));
    pMovie->setObjectName("pMovie");
    pMovie->setGeometry(329, 20, 329, 250);
    wmpMain = new platform::TWindowsMediaPlayer(pMovie);
    wmpMain->setObjectName("wmpMain");
    wmpMain->setGeometry(0, 0, 329, 250);
    skinMain = new TsuiThemeManager(this);
    skinMain->setObjectName("skinMain");
}
