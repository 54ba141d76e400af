#pragma once
// The custom-painted push button every skinned button derives from: a three-frame
// picture of the look (normal, mouse over, pressed), a caption, a focus cue, mouse,
// keyboard, accelerator, Default and Cancel handling, and a repeating event while the
// left mouse button is held on it.

#include "skin/controls/SuiControl.h"

#include <QImage>
#include <QWidget>

class QTimer;

class TsuiCustomButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Cancel READ Cancel WRITE SetCancel)
    Q_PROPERTY(bool Default READ Default WRITE SetDefault)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)
    Q_PROPERTY(Sui::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(bool PicTransparent READ PicTransparent WRITE SetPicTransparent)
    Q_PROPERTY(int MouseContinuouslyDownInterval READ MouseContinuouslyDownInterval WRITE
                   SetMouseContinuouslyDownInterval)
    Q_PROPERTY(int FocusedRectMargin READ FocusedRectMargin WRITE SetFocusedRectMargin)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)

public:
    // The owner is the window the button is created on; its first look comes from there.
    explicit TsuiCustomButton(QWidget* parent = nullptr);
    ~TsuiCustomButton() override;

    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool on);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    bool Cancel() const { return m_cancel; }
    void SetCancel(bool on) { m_cancel = on; }
    bool Default() const { return m_default; }
    void SetDefault(bool on);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool on);
    int ModalResult() const { return m_modalResult; }
    void SetModalResult(int result) { m_modalResult = result; }
    TsuiUIStyle UIStyle() const { return m_uiStyle; }
    void SetUIStyle(TsuiUIStyle look);
    TsuiFileTheme* FileTheme() const { return m_fileTheme.Get(); }
    void SetFileTheme(TsuiFileTheme* fileTheme);
    bool PicTransparent() const { return m_picTransparent; }
    void SetPicTransparent(bool on);
    int MouseContinuouslyDownInterval() const { return m_repeatInterval; }
    void SetMouseContinuouslyDownInterval(int ms) { m_repeatInterval = ms; }
    int FocusedRectMargin() const { return m_focusedRectMargin; }
    void SetFocusedRectMargin(int margin);
    bool TabStop() const { return m_tabStop; }
    void SetTabStop(bool on);

    // Whether Enter clicks this button now (the focus-change rule).
    bool ActiveDefault() const { return m_activeDefault; }
    bool IsMouseOver() const { return m_mouseOver; }
    bool IsPressed() const { return m_pressed; }

    // A push button: focused, it takes Enter instead of the window's Default button.
    virtual bool IsPushButton() const { return false; }

    // The click entry point of mouse, keyboard, accelerator and dialog keys.
    virtual void Click();

    // Offers Return, Enter or Escape to the skinned buttons of window; true when one
    // of them took it. The window does this itself for keys no control used.
    static bool OfferDialogKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers);

signals:
    void OnClick();
    void OnMouseEnter();
    void OnMouseExit();
    void OnMouseContinuouslyDown();

protected:
    virtual void AutoSizeChanged();
    virtual void CaptionChanged() {}
    virtual void FontChanged() { update(); }
    virtual void TransparentChanged() { m_picTransparent = m_transparent; }
    virtual void EnableChanged() {}
    virtual void UIStyleChanged() {}
    virtual void PaintPic(QPainter& canvas, const QImage& picture);
    virtual void PaintText(QPainter& canvas, const QString& caption);
    virtual void PaintFocus(QPainter& canvas);
    virtual void PaintButtonNormal(QImage* bitmap) { PaintButton(SUI_THEME_BUTTON_IMAGE, 3, 1, bitmap); }
    virtual void PaintButtonMouseOn(QImage* bitmap) { PaintButton(SUI_THEME_BUTTON_IMAGE, 3, 2, bitmap); }
    virtual void PaintButtonMouseDown(QImage* bitmap) { PaintButton(SUI_THEME_BUTTON_IMAGE, 3, 3, bitmap); }
    virtual void PaintButtonDisabled(QImage* bitmap) { PaintButton(SUI_THEME_BUTTON_IMAGE, 3, 1, bitmap); }

    // Frame picIndex (from 1) of picCount frames of theme picture themeIndex.
    void PaintButton(int themeIndex, int picCount, int picIndex, QImage* bitmap) const;
    // The caption centred on one line, embossed when disabled, shifted when pressed.
    void DrawCaption(QPainter& canvas, const QRect& rect, int flags, const QString& caption, bool bold);

    bool BoldCaption() const { return m_boldCaption; }
    void SetBoldCaption(bool on) { m_boldCaption = on; }

    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void PointerLeft();
    void StopRepeat();
    void FocusChanged(QWidget* now);
    void UpdateAccelerator();

    bool m_autoSize = false;
    QString m_caption;
    bool m_cancel = false;
    bool m_default = false;
    bool m_transparent = false;
    int m_modalResult = 0;
    TsuiUIStyle m_uiStyle = Sui::DeepBlue;
    SuiFileThemeRef m_fileTheme;
    bool m_boldCaption = false;
    bool m_picTransparent = false;
    QTimer* m_repeatTimer = nullptr;
    int m_repeatInterval = 100;
    int m_focusedRectMargin = 2;
    bool m_activeDefault = false;
    bool m_mouseOver = false;
    bool m_pressed = false;
    bool m_tabStop = true;
    int m_shortcutId = 0;
};
