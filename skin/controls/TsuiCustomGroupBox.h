#pragma once
// A flat one-pixel frame with its caption set into the top edge, in the look's colours.
// Its look goes to the controls directly inside it, and children that keep their
// parent's font colour take the look's caption colour too.

#include "TsuiCustomPanel.h"
#include "skin/FileTheme.h"
#include "skin/Themes.h"

class TsuiCustomGroupBox : public TsuiCustomPanel {
    Q_OBJECT
    Q_PROPERTY(uint BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(Sui::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(SuiLayout::TAlign Align READ Align WRITE SetAlign)

public:
    explicit TsuiCustomGroupBox(QWidget* parent = nullptr);

    platform::COLORREF BorderColor() const { return m_borderColor; }
    void SetBorderColor(platform::COLORREF color);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    TsuiUIStyle UIStyle() const { return m_uiStyle; }
    void SetUIStyle(TsuiUIStyle look);
    TsuiFileTheme* FileTheme() const { return m_fileTheme.Get(); }
    void SetFileTheme(TsuiFileTheme* theme);

    // Where items placed by the group itself go: inside the frame, below the caption.
    QRect GetClient() const;

protected:
    // Passes the look to the children, then takes the frame and caption colours.
    virtual void UpdateUIStyle(TsuiUIStyle look, TsuiFileTheme* fileTheme);

    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int FontHeight() const;
    void UpdateChildMargins();

    platform::COLORREF m_borderColor = 0;
    QString m_caption;
    SuiFileThemeRef m_fileTheme;
    TsuiUIStyle m_uiStyle = Sui::DeepBlue;
};
