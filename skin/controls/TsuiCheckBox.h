#pragma once
// The skinned check box: the look's state picture (checked, unchecked, each also
// disabled) followed by a one-line caption. OnClick follows the checked state, not
// the mouse: it is raised on every change, except while the window is being built.

#include "skin/controls/SuiControl.h"

#include <QWidget>

class TsuiCheckBox : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(Sui::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(TsuiCheckBoxState State READ State WRITE SetState)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)

public:
    enum TsuiCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
    Q_ENUM(TsuiCheckBoxState)

    // The owner is the window the control is created on; its first look comes from there.
    explicit TsuiCheckBox(QWidget* parent = nullptr);

    bool Checked() const { return m_checked; }
    void SetChecked(bool checked);
    TsuiUIStyle UIStyle() const { return m_uiStyle; }
    void SetUIStyle(TsuiUIStyle look);
    TsuiFileTheme* FileTheme() const { return m_fileTheme.Get(); }
    void SetFileTheme(TsuiFileTheme* fileTheme);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool on);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool on);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    TsuiCheckBoxState State() const { return m_checked ? cbChecked : cbUnchecked; }
    void SetState(TsuiCheckBoxState state) { SetChecked(state == cbChecked); }
    bool TabStop() const { return m_tabStop; }
    void SetTabStop(bool on);

    // The click entry point of mouse, keyboard and accelerator.
    virtual void Click();

    // The state frame (1 checked, 2 unchecked, 3 and 4 the same disabled).
    int FrameIndex() const;
    // The mark as it shows now: that frame of the look's picture.
    QImage Picture() const;

signals:
    void OnClick();

protected:
    virtual bool NeedDrawFocus() const { return m_tabStop && hasFocus(); }
    virtual bool GetPicTransparent() const { return false; }
    virtual int GetPicThemeIndex() const { return SUI_THEME_CHECKBOX_IMAGE; }
    virtual void CheckStateChanged();
    virtual void Toggle() {}
    virtual void DoClick();
    virtual bool WantKeyUp() const { return true; }
    virtual bool WantsDoubleClicks() const { return false; }

    // Sizes the control to its picture and caption when AutoSize is on.
    void AdjustAutoSize();

    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void UpdateAccelerator();

    bool m_checked = false;
    TsuiUIStyle m_uiStyle = Sui::DeepBlue;
    SuiFileThemeRef m_fileTheme;
    bool m_transparent = false;
    bool m_autoSize = true;
    QString m_caption;
    bool m_tabStop = true;
    bool m_leftDown = false;
    bool m_keyDown = false;
    int m_shortcutId = 0;
};
