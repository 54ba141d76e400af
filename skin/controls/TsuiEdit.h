#pragma once
// A single-line edit whose sunken border is replaced by a flat one-pixel frame in the
// look's control border colour, with a second pixel in the edit's own colour inside it.

#include "SuiControl.h"
#include "skin/FileTheme.h"
#include "skin/Themes.h"

#include <QLineEdit>

class TsuiEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(uint BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(Sui::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE SetAutoSelect)

public:
    explicit TsuiEdit(QWidget* parent = nullptr);

    platform::COLORREF BorderColor() const { return m_borderColor; }
    void SetBorderColor(platform::COLORREF color);
    TsuiUIStyle UIStyle() const { return m_uiStyle; }
    void SetUIStyle(TsuiUIStyle look);
    TsuiFileTheme* FileTheme() const { return m_fileTheme.Get(); }
    void SetFileTheme(TsuiFileTheme* theme);
    // The background; the inner frame pixel takes it too.
    platform::COLORREF Color() const { return m_color; }
    void SetColor(platform::COLORREF color);
    bool AutoSelect() const { return m_autoSelect; }
    void SetAutoSelect(bool on) { m_autoSelect = on; }

protected:
    // Called after every look change, before the repaint.
    virtual void UIStyleChanged() {}

    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    platform::COLORREF m_borderColor = 0;
    TsuiUIStyle m_uiStyle = Sui::DeepBlue;
    SuiFileThemeRef m_fileTheme;
    platform::COLORREF m_color = platform::kSystemColorFlag | platform::COLOR_WINDOW;
    bool m_autoSelect = true;
};
