#include "SuiFileThemeRef.h"

#include "SuiApplication.h"

SuiFileThemeRef::~SuiFileThemeRef()
{
    QObject::disconnect(m_connection);
}

void SuiFileThemeRef::Set(TsuiFileTheme* theme)
{
    if (theme == m_theme)
        return;
    QObject::disconnect(m_connection);
    m_theme = theme;
    if (theme)
        m_connection = QObject::connect(theme, &QObject::destroyed, [this] {
            m_theme = nullptr;
            if (m_onGone)
                SuiGuarded(m_onGone);
        });
}
