#pragma once
// What the skinned menus share: the display properties set by the look, and the
// measuring and painting of items by those properties (the Menu_ routines). The items
// are Qt actions in Qt menus; a style of the menu's own takes over their measuring and
// painting, so every drop-down of the menu is drawn here.
//
// A caption "-" makes an item a separator. A checked item shows the check mark, an
// item with an icon shows it as its image, and the menu's default action is bold.

#include "skin/FileTheme.h"
#include "skin/SuiFileThemeRef.h"
#include "skin/Themes.h"

#include <QFont>
#include <QIcon>
#include <QImage>
#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <QString>

class QAction;
class QMenu;
class QPainter;
class QStyle;

// One item as the painting sees it.
struct TsuiMenuItem {
    QString caption;   // with its '&'
    QString shortcut;  // the shortcut's display text, empty for none
    bool enabled = true;
    bool checked = false;
    bool separator = false;
    bool isDefault = false;
    QIcon image;       // null: no image

    static TsuiMenuItem Of(const QAction* action);
};

class TsuiMenu : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool OwnerDraw READ OwnerDraw WRITE SetOwnerDraw)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(Sui::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(int MenuItemHeight READ MenuItemHeight WRITE SetHeight)
    Q_PROPERTY(int SeparatorHeight READ SeparatorHeight WRITE SetSeparatorHeight)
    Q_PROPERTY(int BarWidth READ BarWidth WRITE SetBarWidth)
    Q_PROPERTY(uint BarColor READ BarColor WRITE SetBarColor)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(uint SeparatorColor READ SeparatorColor WRITE SetSeparatorColor)
    Q_PROPERTY(uint SelectedBorderColor READ SelectedBorderColor WRITE SetSelectedBorderColor)
    Q_PROPERTY(uint SelectedColor READ SelectedColor WRITE SetSelectedColor)
    Q_PROPERTY(uint SelectedFontColor READ SelectedFontColor WRITE SetSelectedFontColor)
    Q_PROPERTY(uint FontColor READ FontColor WRITE SetFontColor)
    Q_PROPERTY(uint BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(bool FlatMenu READ FlatMenu WRITE SetFlatMenu)
    Q_PROPERTY(QString FontName READ FontName WRITE SetFontName)
    Q_PROPERTY(int FontSize READ FontSize WRITE SetFontSize)
    Q_PROPERTY(int FontCharset READ FontCharset WRITE SetFontCharset)
    Q_PROPERTY(bool UseSystemFont READ UseSystemFont WRITE SetUseSystemFont)

public:
    // The first look is that of the owner's window frame (GetSUIFormStyle).
    explicit TsuiMenu(QObject* owner = nullptr);
    ~TsuiMenu() override;

    // The item tree. For a popup menu, the menu that drops down; for a main menu, the
    // top-level items, each with its drop-down as its submenu.
    QMenu* Items() const { return m_items; }
    // Adds an item at the end of menu (the top level when null); "-" adds a separator.
    QAction* AddItem(const QString& caption, QMenu* menu = nullptr);
    // Adds an item with a drop-down of its own and returns the drop-down.
    QMenu* AddSubMenu(const QString& caption, QMenu* menu = nullptr);

    bool OwnerDraw() const { return true; }
    void SetOwnerDraw(bool) {}
    TsuiFileTheme* FileTheme() const { return m_fileTheme.Get(); }
    // Stores the theme and applies the current look again. A theme that is destroyed is
    // forgotten and the look becomes DeepBlue.
    void SetFileTheme(TsuiFileTheme* fileTheme);
    TsuiUIStyle UIStyle() const { return m_uiStyle; }
    // Sets the metrics and the six colours of the look; fonts, FlatMenu and BorderColor
    // stay. The next drop-down shows the new look.
    virtual void SetUIStyle(TsuiUIStyle look);
    int MenuItemHeight() const { return m_itemHeight; }
    void SetHeight(int height);  // ignored while the look is MacOS
    int SeparatorHeight() const { return m_separatorHeight; }
    void SetSeparatorHeight(int height);  // ignored while the look is MacOS
    int BarWidth() const { return m_barWidth; }
    void SetBarWidth(int width) { m_barWidth = width; }
    platform::COLORREF BarColor() const { return m_barColor; }
    void SetBarColor(platform::COLORREF c) { m_barColor = c; }
    platform::COLORREF Color() const { return m_color; }
    void SetColor(platform::COLORREF c) { m_color = c; }
    platform::COLORREF SeparatorColor() const { return m_separatorColor; }
    void SetSeparatorColor(platform::COLORREF c) { m_separatorColor = c; }
    platform::COLORREF SelectedBorderColor() const { return m_selectedBorderColor; }
    void SetSelectedBorderColor(platform::COLORREF c) { m_selectedBorderColor = c; }
    platform::COLORREF SelectedColor() const { return m_selectedColor; }
    void SetSelectedColor(platform::COLORREF c) { m_selectedColor = c; }
    platform::COLORREF SelectedFontColor() const { return m_selectedFontColor; }
    void SetSelectedFontColor(platform::COLORREF c) { m_selectedFontColor = c; }
    platform::COLORREF FontColor() const { return m_fontColor; }
    void SetFontColor(platform::COLORREF c) { m_fontColor = c; }
    platform::COLORREF BorderColor() const { return m_borderColor; }
    void SetBorderColor(platform::COLORREF c) { m_borderColor = c; }
    bool FlatMenu() const { return m_flatMenu; }
    void SetFlatMenu(bool on) { m_flatMenu = on; }
    QString FontName() const { return m_fontName; }
    void SetFontName(const QString& name);
    int FontSize() const { return m_fontSize; }
    void SetFontSize(int points);
    int FontCharset() const { return m_fontCharset; }
    void SetFontCharset(int charset) { m_fontCharset = charset; }
    bool UseSystemFont() const { return m_useSystemFont; }
    virtual void SetUseSystemFont(bool on);

    // The items' font: the system menu font with UseSystemFont, else FontName at FontSize.
    QFont ItemFont() const;
    // The font colour of the menu's text on a menu bar: the system menu-text colour with
    // UseSystemFont, else FontColor.
    QColor TextColor() const;

    // Height: SeparatorHeight for a separator, else MenuItemHeight. Width: the caption
    // (its '&' counted) and the shortcut text in the item font, plus BarWidth, plus 40.
    QSize MeasureItem(const TsuiMenuItem& item) const;
    // Paints one item into rect of canvas as it shows selected or not.
    void DrawItem(QPainter& canvas, const QRect& rect, const TsuiMenuItem& item, bool selected) const;
    // The check mark: MENU_CHECKED with white as its transparent colour.
    virtual QImage CheckMark() const;

    // Told by a window frame that it shows this menu in its menu bar (null: no longer).
    virtual void ShownBy(QWidget* frame) { Q_UNUSED(frame); }

    // Runs the enabled item whose shortcut is key; true when one ran.
    bool IsShortCut(const QKeySequence& key);

signals:
    // Items were added to or removed from the top level.
    void ItemsChanged();
    // A top-level item changed its caption or enabled state.
    void ItemChanged();
    // The font of the menu's text changed.
    void FontChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Gives a menu of the tree, and every submenu under it, the menu's style, font and
    // watching; turns "-" items into separators.
    void Adopt(QMenu* menu);
    void AdoptAction(QAction* action);
    void UpdateFonts();

    QMenu* m_items;
    QStyle* m_style;
    SuiFileThemeRef m_fileTheme;
    TsuiUIStyle m_uiStyle = Sui::DeepBlue;
    int m_itemHeight = 21;
    int m_separatorHeight = 21;
    int m_barWidth = 0;
    platform::COLORREF m_barColor = platform::kSystemColorFlag | platform::COLOR_BTNFACE;
    platform::COLORREF m_color = 0xFFFFFF;
    platform::COLORREF m_separatorColor = 0x808080;
    platform::COLORREF m_selectedBorderColor = platform::kSystemColorFlag | platform::COLOR_HIGHLIGHT;
    platform::COLORREF m_selectedColor = platform::kSystemColorFlag | platform::COLOR_HIGHLIGHT;
    platform::COLORREF m_selectedFontColor = 0xFFFFFF;
    platform::COLORREF m_fontColor = 0xFFFFFF;
    platform::COLORREF m_borderColor = 0x000000;
    bool m_flatMenu = false;
    QString m_fontName = QStringLiteral("MS Sans Serif");
    int m_fontSize = 8;
    int m_fontCharset = 1;
    bool m_useSystemFont = true;
};

// The shared painting routines.
void Menu_DrawBorder(QPainter& canvas, const QRect& rect, platform::COLORREF color);
void Menu_DrawBackGround(QPainter& canvas, const QRect& rect, platform::COLORREF color);
void Menu_DrawLineItem(QPainter& canvas, const QRect& rect, platform::COLORREF color, int barWidth);
void Menu_DrawMacOSLineItem(QPainter& canvas, const QRect& rect);
void Menu_DrawMacOSSelectedItem(QPainter& canvas, const QRect& rect);
void Menu_DrawMacOSNonSelectedItem(QPainter& canvas, const QRect& rect);
// The flat outline of a drop-down whose whole area is rect: black, white inside it,
// and lineColor along the top, the right and the bottom edge.
void Menu_DrawWindowBorder(QPainter& canvas, const QRect& rect, platform::COLORREF color,
                           platform::COLORREF lineColor);
// The system's menu font and menu-text colour.
void Menu_GetSystemFont(QFont& font, QColor& color);
