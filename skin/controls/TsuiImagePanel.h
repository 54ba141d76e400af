#pragma once
// The picture panel as placed on a window.

#include "TsuiCustomPanel.h"
#include "skin/FileTheme.h"
#include "skin/Themes.h"

class TsuiImagePanel : public TsuiCustomPanel {
    Q_OBJECT
    Q_PROPERTY(QImage Picture READ Picture WRITE SetPicture)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(TsuiCustomPanel::TsuiDrawStyle DrawStyle READ DrawStyle WRITE SetDrawStyle)
    Q_PROPERTY(Qt::Alignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(QString Caption READ Text WRITE SetText)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(SuiLayout::TAlign Align READ Align WRITE SetAlign)
    // The picture does not depend on the look; the two are kept so that a theme manager
    // or a container can set them on every control alike.
    Q_PROPERTY(Sui::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)

public:
    explicit TsuiImagePanel(QWidget* parent = nullptr);

    TsuiUIStyle UIStyle() const { return m_uiStyle; }
    void SetUIStyle(TsuiUIStyle look) { m_uiStyle = look; }
    TsuiFileTheme* FileTheme() const { return m_fileTheme.Get(); }
    void SetFileTheme(TsuiFileTheme* theme) { m_fileTheme.Set(theme); }

private:
    TsuiUIStyle m_uiStyle = Sui::DeepBlue;
    SuiFileThemeRef m_fileTheme;
};
