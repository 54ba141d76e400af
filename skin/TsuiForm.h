#pragma once
// The skinned frame of a top-level window. Created as a direct child of a window that
// has no frame yet, it takes the window over: the window turns frameless and keeps a
// 3-pixel margin on every side, which the frame paints as the window's border; the frame
// itself fills the rest (the designed client area) and carries the title bar at its top,
// the menu bar of an attached menu under it, and every other control of the window. It
// paints the client background, cuts the window's top corners round (the window's mask),
// keeps a maximised window inside its screen's available area with the bottom edge one
// pixel higher (as the window's largest size, which window managers maximise to), and
// runs the attached menu's shortcuts. A frame on anything else, or a
// second frame on the same window, stays an inert panel and leaves the window alone.

#include "FileTheme.h"
#include "SuiAlign.h"
#include "SuiFileThemeRef.h"
#include "Themes.h"
#include "TsuiMenu.h"
#include "TsuiTitleBar.h"

#include <QPointer>
#include <QWidget>

class TsuiFormMenuBar;

class TsuiForm : public QWidget, public TsuiFormLook {
    Q_OBJECT
    Q_MOC_INCLUDE("skin/TsuiTitleBarButton.h")
    Q_PROPERTY(bool TitleBarCustom READ TitleBarCustom WRITE SetTitleBarCustom)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(Sui::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(bool UIStyleAutoUpdateSub READ UIStyleAutoUpdateSub WRITE SetUIStyleAutoUpdateSub)
    Q_PROPERTY(uint BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(bool TitleBarVisible READ TitleBarVisible WRITE SetTitleBarVisible)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QWidget* FormPanel READ FormPanel WRITE SetPanel)
    Q_PROPERTY(TsuiTitleBarButtons* TitleBarButtons READ TitleBarButtons WRITE SetTitleBarButtons)
    Q_PROPERTY(TsuiTitleBarSections* TitleBarSections READ TitleBarSections WRITE SetTitleBarSections)
    Q_PROPERTY(bool TitleBarDrawAppIcon READ TitleBarDrawAppIcon WRITE SetTitleBarDrawAppIcon)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(TsuiMenu* Menu READ Menu WRITE SetMenu)
    Q_PROPERTY(uint MenuBarColor READ MenuBarColor WRITE SetMenuBarColor)
    Q_PROPERTY(int MenuBarHeight READ MenuBarHeight WRITE SetMenuBarHeight)
    Q_PROPERTY(int RoundCorner READ RoundCorner WRITE SetRoundCorner)
    Q_PROPERTY(QString Version READ Version WRITE SetVersion)

public:
    // The width of the window's border that the frame paints, on every side.
    static constexpr int kFrameWidth = 3;

    explicit TsuiForm(QWidget* owner);
    ~TsuiForm() override;

    // The frame that took over the window, or null.
    static TsuiForm* Of(const QWidget* window);
    // Whether this frame took its window over (false: an inert panel).
    bool ServesForm() const { return m_form != nullptr; }
    QWidget* Form() const { return m_form; }
    // Sizes the window so that the frame's client area is size.
    void SetClientSize(const QSize& size);

    TsuiUIStyle FormUIStyle() const override { return m_uiStyle; }

    bool TitleBarCustom() const { return m_titleBar->Custom(); }
    void SetTitleBarCustom(bool on) { m_titleBar->SetCustom(on); }
    TsuiFileTheme* FileTheme() const { return m_fileTheme.Get(); }
    void SetFileTheme(TsuiFileTheme* fileTheme);
    TsuiUIStyle UIStyle() const { return m_uiStyle; }
    void SetUIStyle(TsuiUIStyle look);
    bool UIStyleAutoUpdateSub() const { return m_autoUpdateSub; }
    void SetUIStyleAutoUpdateSub(bool on) { m_autoUpdateSub = on; }
    platform::COLORREF BorderColor() const { return m_borderColor; }
    void SetBorderColor(platform::COLORREF color);
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int width);
    bool TitleBarVisible() const { return !m_titleBar->isHidden(); }
    void SetTitleBarVisible(bool on);
    platform::COLORREF Color() const { return m_color; }
    void SetColor(platform::COLORREF color);
    QString Caption() const { return m_titleBar->Caption(); }
    // The title bar's caption and the window's own title.
    void SetCaption(const QString& caption);
    QWidget* FormPanel() const { return m_panel; }
    // The frame itself is refused with a message; a panel is made to fill the client area.
    void SetPanel(QWidget* panel);
    TsuiTitleBarButtons* TitleBarButtons() const { return m_titleBar->Buttons(); }
    void SetTitleBarButtons(TsuiTitleBarButtons* buttons);
    TsuiTitleBarSections* TitleBarSections() const { return m_titleBar->Sections(); }
    void SetTitleBarSections(TsuiTitleBarSections* sections);
    bool TitleBarDrawAppIcon() const { return m_titleBar->DrawAppIcon(); }
    void SetTitleBarDrawAppIcon(bool on) { m_titleBar->SetDrawAppIcon(on); }
    QFont Font() const { return m_titleBar->Font(); }
    void SetFont(const QFont& font) { m_titleBar->SetFont(font); }
    TsuiMenu* Menu() const { return m_menu; }
    void SetMenu(TsuiMenu* menu);
    platform::COLORREF MenuBarColor() const { return m_menuBarColor; }
    void SetMenuBarColor(platform::COLORREF color);
    int MenuBarHeight() const { return m_menuBarHeight; }
    void SetMenuBarHeight(int height);
    // The title bar's value while it is visible, 0 otherwise.
    int RoundCorner() const;
    void SetRoundCorner(int corner);
    QString Version() const { return QStringLiteral("5.4"); }
    void SetVersion(const QString&) {}

    TsuiTitleBar* TitleBar() const { return m_titleBar; }
    TsuiFormMenuBar* MenuBar() const { return m_menuBar; }

    // Rebuilds the menu bar's buttons from the menu (destroys the bar without a menu).
    void UpdateMenu();
    // Copies caption and enabled state of each top-level item to its button.
    void UpdateTopMenu();
    // Gives the menu bar the menu's font and repaints it.
    void RepaintMenuBar();
    // The window's border, in window coordinates, on canvas (painted on the window).
    void PaintFormBorder(QPainter& canvas);
    // The window's shape for its size: round top corners of the effective RoundCorner.
    QRegion WindowRegion() const;
    void RegionWindow();
    // Runs the attached menu's item for the key while the window counts as active;
    // true when one ran.
    bool ProcessKeyPress(const QKeyEvent* event);
    // The title bar's control-box menu at the window's left edge, under the title bar.
    void PopupSystemMenu();

signals:
    void OnTitleBarCustomBtnsClick(QObject* sender, int index);
    void OnTitleBarHelpBtnClick(QObject* sender, int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TakeOver(QWidget* form);
    void FitToForm();
    void FormSized();
    void LimitToScreen();
    void OrderBars();
    void RepaintBorder();
    void ApplyColor();

    QPointer<QWidget> m_form;  // the window served; null for an inert frame
    TsuiTitleBar* m_titleBar;
    TsuiFormMenuBar* m_menuBar = nullptr;
    QPointer<TsuiMenu> m_menu;
    QList<QMetaObject::Connection> m_menuConnections;
    QPointer<QWidget> m_panel;
    SuiFileThemeRef m_fileTheme;
    TsuiUIStyle m_uiStyle = Sui::DeepBlue;
    bool m_autoUpdateSub = false;
    platform::COLORREF m_borderColor = 0x000000;
    int m_borderWidth = 1;
    platform::COLORREF m_color = 0xE8E8E8;
    platform::COLORREF m_menuBarColor = 0xE8E8E8;
    int m_menuBarHeight = 22;
    bool m_destroying = false;
    QRect m_createdBounds;
    bool m_createdMaximized = false;
    bool m_ownsHook = false;
    bool m_cornersPaintedClear = false;  // the window has an alpha channel for its cut corners
    QSize m_regionSize;  // the size the window's region was made for
};
