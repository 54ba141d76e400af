#pragma once
// A label that looks like a link (underlined, link colour, hover colour, hand pointer)
// and opens its URL with the desktop when clicked.

#include "SuiControl.h"
#include "skin/FileTheme.h"
#include "skin/Themes.h"

#include <QLabel>

class TsuiURLLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString URL READ URL WRITE SetURL)
    Q_PROPERTY(uint FontHoverColor READ FontHoverColor WRITE SetFontHoverColor)
    Q_PROPERTY(uint FontLinkColor READ FontLinkColor WRITE SetLinkColor)
    Q_PROPERTY(QString Caption READ text WRITE SetCaption)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    // A link has no look of its own; the two are kept so that a theme manager or a
    // container can set them on every control alike.
    Q_PROPERTY(Sui::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)

public:
    explicit TsuiURLLabel(QWidget* parent = nullptr);

    QString URL() const { return m_url; }
    void SetURL(const QString& url);
    platform::COLORREF FontHoverColor() const { return m_hoverColor; }
    void SetFontHoverColor(platform::COLORREF color) { m_hoverColor = color; }
    platform::COLORREF FontLinkColor() const { return m_linkColor; }
    // Also turns the text to the new colour at once, under the pointer too.
    void SetLinkColor(platform::COLORREF color);
    void SetCaption(const QString& caption);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool on);
    // The colour the text is drawn in now.
    platform::COLORREF FontColor() const;

    TsuiUIStyle UIStyle() const { return m_uiStyle; }
    void SetUIStyle(TsuiUIStyle look) { m_uiStyle = look; }
    TsuiFileTheme* FileTheme() const { return m_fileTheme.Get(); }
    void SetFileTheme(TsuiFileTheme* theme) { m_fileTheme.Set(theme); }

    // Opens URL (unless blank), then raises OnClick.
    void Click();

signals:
    void OnClick();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void SetFontColor(platform::COLORREF color);

    QString m_url;
    platform::COLORREF m_hoverColor = 0x0000FF;
    platform::COLORREF m_linkColor = 0xFF0000;
    bool m_autoSize = true;
    bool m_pressed = false;
    TsuiUIStyle m_uiStyle = Sui::DeepBlue;
    SuiFileThemeRef m_fileTheme;
};
