#pragma once
// The skinned caption of a window, docked to the top of its frame: the look's three
// title pictures (left end, stretched middle, right end), the window buttons in three
// mouse states, a control-box button (or the program's icon) at the left, and the
// caption, shortened with "..." when it does not fit. Dragging it moves the window
// (never a maximised one), a double click maximises or restores, and its buttons
// minimise, maximise, restore and close the window through the window's close query.

#include "FileTheme.h"
#include "SuiAlign.h"
#include "SuiFileThemeRef.h"
#include "Themes.h"
#include "TsuiTitleBarButton.h"
#include "TsuiTitleBarPopupMenu.h"
#include "TsuiTitleBarSection.h"

#include <QFont>
#include <QPointer>
#include <QWidget>

class TsuiTitleBar : public QWidget, public TsuiTitleBarButtonHost {
    Q_OBJECT
    Q_PROPERTY(bool Custom READ Custom WRITE SetCustom)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(Sui::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(int ButtonInterval READ ButtonInterval WRITE SetButtonInterval)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(bool FormActive READ FormActive WRITE SetActive)
    Q_PROPERTY(int LeftBtnXOffset READ LeftBtnXOffset WRITE SetLeftBtnXOffset)
    Q_PROPERTY(int RightBtnXOffset READ RightBtnXOffset WRITE SetRightBtnXOffset)
    Q_PROPERTY(bool DrawAppIcon READ DrawAppIcon WRITE SetDrawAppIcon)
    Q_PROPERTY(int RoundCorner READ RoundCorner WRITE SetRoundCorner)

public:
    // Four buttons (control box, close, maximise, minimise), white bold Tahoma, and the
    // look of the owner's window frame.
    explicit TsuiTitleBar(QWidget* parent = nullptr);
    ~TsuiTitleBar() override;

    bool Custom() const { return m_custom; }
    void SetCustom(bool on) { m_custom = on; }
    TsuiFileTheme* FileTheme() const { return m_fileTheme.Get(); }
    // Stores the theme and applies the look again, keeping the caption colour.
    void SetFileTheme(TsuiFileTheme* fileTheme);
    TsuiUIStyle UIStyle() const { return m_uiStyle; }
    // Loads sections, offsets and button pictures of the look (a Custom bar keeps its
    // sections and buttons), the caption colour, and the height (AutoSize).
    void SetUIStyle(TsuiUIStyle look);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool on);
    TsuiTitleBarSections* Sections() const { return m_sections; }
    TsuiTitleBarButtons* Buttons() const { return m_buttons; }
    int ButtonInterval() const { return m_buttonInterval; }
    void SetButtonInterval(int interval);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    QFont Font() const { return m_font; }
    void SetFont(const QFont& font);
    platform::COLORREF FontColor() const { return m_fontColor; }
    void SetFontColor(platform::COLORREF color);
    bool FormActive() const { return m_formActive; }
    void SetActive(bool active);
    int LeftBtnXOffset() const { return m_leftOffset; }
    void SetLeftBtnXOffset(int offset);
    int RightBtnXOffset() const { return m_rightOffset; }
    void SetRightBtnXOffset(int offset);
    bool DrawAppIcon() const { return m_drawAppIcon; }
    void SetDrawAppIcon(bool on);
    int RoundCorner() const { return m_roundCorner; }
    void SetRoundCorner(int corner) { m_roundCorner = corner; }

    // Every maximise button shows maximise or restore as the window is.
    void ProcessMaxBtn();
    // The bar sits directly in a skinned window frame.
    bool InForm() const;
    // Three sections, each with a picture.
    bool CanPaint() const;
    QImage GetLeftImage() const;
    QImage GetRightImage() const;
    QImage GetCenterImage() const;
    TsuiTitleBarPopupMenu* ControlBoxMenu() const { return m_controlBoxMenu; }
    // Where the buttons sit in the bar, and the height of the look's button picture.
    int ButtonTop() const { return m_buttonTopEntry - (InForm() ? 3 : 0); }
    int ButtonHeight() const { return m_buttonHeight; }

    // The rectangle of the button (collection index) as last laid out, empty for a
    // hidden one.
    QRect ButtonRect(int index) const;
    // The index of the button under the pointer, -1 for none.
    int HotIndex() const { return m_hotIndex; }
    // The caption as it is drawn: shortened with "..." to its room.
    QString ShownCaption() const;

    // Minimises as the minimise button does: the whole application for the program's
    // main window, only this window otherwise.
    void MinimizeForm();

    // TsuiTitleBarButtonHost
    void ButtonsChanged() override { update(); }
    void ButtonClicked(TsuiTitleBarButton* button) override;
    bool HostFormMaximized() const override;
    bool HostCustom() const override { return m_custom; }
    TsuiFileTheme* HostFileTheme() const override { return m_fileTheme.Get(); }

signals:
    void OnCustomBtnsClick(QObject* sender, int index);
    void OnHelpBtnClick(QObject* sender, int index);

protected:
    virtual void DrawSectionsTo(QPainter& canvas);
    virtual void DrawButtons(QPainter& canvas);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Where the buttons, the icon and the caption go at the bar's present size.
    struct BarLayout {
        QList<QRect> buttons;  // by collection index; empty for a button not shown
        QRect icon;            // the program's icon in place of the control box
        int captionLeft = 0;
        int captionRight = 0;
    };
    BarLayout Layout() const;
    // The button under the pointer (edges included), -1 for none.
    int HotAt(const QPoint& point) const;
    void UpdateHot();
    void ApplyAutoSize();
    void PopupControlBoxMenu(TsuiPopupMenu* menu);
    void StartMove(const QPoint& globalPos);

    bool m_custom = false;
    SuiFileThemeRef m_fileTheme;
    TsuiUIStyle m_uiStyle = Sui::DeepBlue;
    bool m_autoSize = false;
    TsuiTitleBarSections* m_sections;
    TsuiTitleBarButtons* m_buttons;
    int m_buttonInterval = 0;
    QString m_caption;
    QFont m_font;
    platform::COLORREF m_fontColor = 0xFFFFFF;
    bool m_formActive = true;
    int m_leftOffset = 0;
    int m_rightOffset = 0;
    bool m_drawAppIcon = false;
    int m_roundCorner = 0;
    bool m_keepCaptionColor = false;
    TsuiTitleBarPopupMenu* m_controlBoxMenu;
    SuiAligner* m_aligner;

    // Mouse and layout state.
    bool m_pressed = false;
    int m_hotIndex = -1;
    int m_buttonTopEntry = 2;  // entry 9 of the look
    int m_buttonHeight = 0;
    QPoint m_pointer{-1, -1};  // last pointer position in the bar; (-1, -1) outside
    // A press on the bar outside the buttons: the window moves once the pointer does.
    bool m_dragArmed = false;
    QPoint m_dragStart;
    QPoint m_dragOffset;  // pointer to window origin, for the manual move
    bool m_manualMove = false;
};
