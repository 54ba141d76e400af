#pragma once
// A one-line edit with a flat frame in the look's border colour, an integer value
// kept only as its text, and a pair of arrow buttons inside its right edge. Only
// digits and '-' can be typed; values are clamped to MinValue..MaxValue unless the
// two are equal, which means no range at all.

#include "skin/controls/SuiControl.h"

#include <QLineEdit>

class TsuiSpinButtons;

class TsuiSpinEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(Sui::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(unsigned BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(int MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE SetMaxValue)
    Q_PROPERTY(int Increment READ Increment WRITE SetIncrement)
    Q_PROPERTY(bool EditorEnabled READ EditorEnabled WRITE SetEditorEnabled)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE SetAutoSelect)
    Q_PROPERTY(int Value READ Value WRITE SetValue)

public:
    // The owner is the window the control is created on; its first look comes from there.
    explicit TsuiSpinEdit(QWidget* parent = nullptr);

    TsuiUIStyle UIStyle() const { return m_uiStyle; }
    void SetUIStyle(TsuiUIStyle look);
    TsuiFileTheme* FileTheme() const { return m_fileTheme.Get(); }
    void SetFileTheme(TsuiFileTheme* fileTheme);
    platform::COLORREF BorderColor() const { return m_borderColor; }
    void SetBorderColor(platform::COLORREF color);

    int MinValue() const { return m_minValue; }
    void SetMinValue(int value) { m_minValue = value; }
    int MaxValue() const { return m_maxValue; }
    void SetMaxValue(int value) { m_maxValue = value; }
    int Increment() const { return m_increment; }
    void SetIncrement(int value) { m_increment = value; }
    bool EditorEnabled() const { return m_editorEnabled; }
    void SetEditorEnabled(bool on);
    bool AutoSelect() const { return m_autoSelect; }
    void SetAutoSelect(bool on) { m_autoSelect = on; }

    // The number in the text; a text that is no whole number reads as MinValue.
    int Value() const;
    void SetValue(int value);
    int CheckValue(int value) const;

    TsuiSpinButtons* Button() const { return m_button; }

    virtual void UpClick();
    virtual void DownClick();

protected:
    virtual void UIStyleChanged();
    virtual bool IsValidChar(QChar c) const;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void Step(int direction);
    void PlaceButtons();

    TsuiUIStyle m_uiStyle = Sui::DeepBlue;
    SuiFileThemeRef m_fileTheme;
    platform::COLORREF m_borderColor = 0;
    int m_minValue = 0;
    int m_maxValue = 0;
    int m_increment = 1;
    bool m_editorEnabled = true;
    bool m_autoSelect = true;
    TsuiSpinButtons* m_button = nullptr;
};
