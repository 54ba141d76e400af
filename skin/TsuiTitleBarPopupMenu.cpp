#include "TsuiTitleBarPopupMenu.h"

#include "TsuiTitleBarButton.h"

#include <QAction>
#include <QLocale>

TsuiTitleBarPopupMenu::TsuiTitleBarPopupMenu(TsuiTitleBarButtons* buttons, QObject* owner)
    : TsuiPopupMenu(owner), m_buttons(buttons)
{
    const QStringList texts = ItemTexts();
    m_minimize = AddItem(texts[0]);
    m_maximize = AddItem(texts[1]);
    AddItem(texts[2]);
    m_close = AddItem(texts[3]);
    connect(m_minimize, &QAction::triggered, this, [this] { ClickButtons(SuiTitleBar::suiMin, false); });
    connect(m_maximize, &QAction::triggered, this, [this] { ClickButtons(SuiTitleBar::suiMax, true); });
    connect(m_close, &QAction::triggered, this, [this] { ClickButtons(SuiTitleBar::suiClose, false); });
}

QStringList TsuiTitleBarPopupMenu::ItemTexts()
{
    if (QLocale().language() == QLocale::Chinese)
        return {QStringLiteral(u"最小化(&N)"), QStringLiteral(u"最大化/还原(&X)"), QStringLiteral("-"),
                QStringLiteral(u"关闭(&C)")};
    return {QStringLiteral("Mi&nimize"), QStringLiteral("Ma&ximize/Restore"), QStringLiteral("-"),
            QStringLiteral("&Close")};
}

void TsuiTitleBarPopupMenu::UpdateItems()
{
    const auto shows = [this](int type) {
        for (int i = 0; m_buttons && i < m_buttons->Count(); ++i)
            if (m_buttons->Item(i)->Visible() && m_buttons->Item(i)->ButtonType() == type)
                return true;
        return false;
    };
    m_minimize->setEnabled(shows(SuiTitleBar::suiMin));
    m_maximize->setEnabled(shows(SuiTitleBar::suiMax));
    m_close->setEnabled(shows(SuiTitleBar::suiClose));
}

void TsuiTitleBarPopupMenu::Popup(int x, int y)
{
    UpdateItems();
    TsuiPopupMenu::Popup(x, y);
}

void TsuiTitleBarPopupMenu::ClickButtons(int type, bool all)
{
    if (!m_buttons)
        return;
    // A click may change the collection; take the buttons first.
    QList<TsuiTitleBarButton*> targets;
    for (int i = 0; i < m_buttons->Count(); ++i) {
        TsuiTitleBarButton* button = m_buttons->Item(i);
        if (button->Visible() && button->ButtonType() == type) {
            targets.append(button);
            if (!all)
                break;
        }
    }
    for (TsuiTitleBarButton* button : targets)
        button->DoClick();
}
