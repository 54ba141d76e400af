#include "TsuiMenu.h"

#include "SuiPicture.h"
#include "Resources.h"
#include "SuiApplication.h"

#include <QAction>
#include <QActionEvent>
#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <functional>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

namespace {

using platform::COLORREF;

QColor Qc(COLORREF color)
{
    return platform::ToQColor(color);
}

TsuiMenuItem ItemOf(const QStyleOptionMenuItem& option)
{
    TsuiMenuItem item;
    const qsizetype tab = option.text.indexOf(QLatin1Char('\t'));
    item.caption = tab < 0 ? option.text : option.text.left(tab);
    item.shortcut = tab < 0 ? QString() : option.text.mid(tab + 1);
    item.enabled = option.state & QStyle::State_Enabled;
    item.checked = option.checkType != QStyleOptionMenuItem::NotCheckable && option.checked;
    item.separator = option.menuItemType == QStyleOptionMenuItem::Separator;
    item.isDefault = option.menuItemType == QStyleOptionMenuItem::DefaultItem;
    item.image = option.icon;
    return item;
}

// The drop-downs of one menu measure and paint their items through the menu.
class MenuStyle : public QProxyStyle {
public:
    explicit MenuStyle(const TsuiMenu* menu) : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))), m_menu(menu)
    {
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        switch (metric) {
        case PM_MenuPanelWidth: return kPanel;
        case PM_MenuHMargin:
        case PM_MenuVMargin:
        case PM_MenuDesktopFrameWidth: return 0;
        case PM_SmallIconSize: return 16;
        default: return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        switch (hint) {
        case SH_Menu_AllowActiveAndDisabled: return 0;  // a disabled item is never selected
        case SH_Menu_MouseTracking:
        case SH_UnderlineShortcut:
        case SH_Menu_SpaceActivatesItem: return 1;
        case SH_Menu_FlashTriggeredItem:
        case SH_Menu_FadeOutOnHide: return 0;
        default: return QProxyStyle::styleHint(hint, option, widget, returnData);
        }
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (type != CT_MenuItem || !item)
            return QProxyStyle::sizeFromContents(type, option, size, widget);
        // The menu adds the widest shortcut text to every item itself.
        TsuiMenuItem measured = ItemOf(*item);
        measured.shortcut.clear();
        return m_menu->MeasureItem(measured);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element == CE_MenuItem && item) {
            const TsuiMenuItem shown = ItemOf(*item);
            m_menu->DrawItem(*painter, option->rect, shown, option->state & State_Selected);
            if (item->menuItemType == QStyleOptionMenuItem::SubMenu)
                DrawSubMenuArrow(*painter, option->rect, shown.enabled,
                                 (option->state & State_Selected) && shown.enabled);
            return;
        }
        if (element == CE_MenuEmptyArea) {
            FillPanel(*painter, option->rect);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element == PE_PanelMenu) {
            FillPanel(*painter, option->rect);
            return;
        }
        if (element == PE_FrameMenu) {
            DrawFrame(*painter, option->rect);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

private:
    static constexpr int kPanel = 3;

    void FillPanel(QPainter& canvas, const QRect& rect) const
    {
        if (m_menu->UIStyle() == Sui::MacOS && !m_menu->FileTheme())
            Menu_DrawMacOSNonSelectedItem(canvas, rect);
        else
            Menu_DrawBackGround(canvas, rect, m_menu->Color());
    }

    void DrawFrame(QPainter& canvas, const QRect& rect) const
    {
        if (m_menu->FlatMenu()) {
            TsuiUIStyle resolved{};
            const COLORREF line = UsingFileTheme(m_menu->FileTheme(), m_menu->UIStyle(), resolved)
                                      ? m_menu->FileTheme()->GetColor(SUI_THEME_FORM_BACKGROUND_COLOR)
                                      : GetInsideThemeColor(resolved, SUI_THEME_FORM_BACKGROUND_COLOR);
            Menu_DrawWindowBorder(canvas, rect, 0x000000, line);
            return;
        }
        // The raised edge of a drop-down window, then one ring in the item colour.
        const auto ring = [&](int inset, const QColor& topLeft, const QColor& bottomRight) {
            const QRect r = rect.adjusted(inset, inset, -inset, -inset);
            canvas.fillRect(r.left(), r.top(), r.width(), 1, topLeft);
            canvas.fillRect(r.left(), r.top(), 1, r.height(), topLeft);
            canvas.fillRect(r.left(), r.bottom(), r.width(), 1, bottomRight);
            canvas.fillRect(r.right(), r.top(), 1, r.height(), bottomRight);
        };
        ring(0, Qc(platform::kSystemColorFlag | platform::COLOR_BTNFACE), QColor(0x40, 0x40, 0x40));
        ring(1, Qt::white, QColor(0x80, 0x80, 0x80));
        QRect inner = rect.adjusted(2, 2, -2, -2);
        canvas.save();
        canvas.setClipRegion(QRegion(inner).subtracted(QRegion(inner.adjusted(1, 1, -1, -1))));
        FillPanel(canvas, inner);
        canvas.restore();
    }

    void DrawSubMenuArrow(QPainter& canvas, const QRect& rect, bool enabled, bool selected) const
    {
        const QColor c = !enabled ? QColor(0x80, 0x80, 0x80) : Qc(selected ? m_menu->SelectedFontColor() : m_menu->FontColor());
        const int x = rect.right() - 10, y = rect.center().y();
        for (int i = 0; i < 4; ++i)
            canvas.fillRect(x + i, y - 3 + i, 1, 7 - 2 * i, c);
    }

    const TsuiMenu* m_menu;
};

}  // namespace

TsuiMenuItem TsuiMenuItem::Of(const QAction* action)
{
    TsuiMenuItem item;
    if (!action)
        return item;
    item.caption = action->text();
    item.shortcut = action->shortcut().toString(QKeySequence::NativeText);
    item.enabled = action->isEnabled();
    item.checked = action->isCheckable() && action->isChecked();
    item.separator = action->isSeparator() || item.caption == QLatin1String("-");
    for (QObject* o : action->associatedObjects())
        if (auto* menu = qobject_cast<QMenu*>(o); menu && menu->defaultAction() == action)
            item.isDefault = true;
    item.image = action->icon();
    return item;
}

TsuiMenu::TsuiMenu(QObject* owner)
    : QObject(owner), m_items(new QMenu), m_style(new MenuStyle(this)), m_fileTheme([this] { SetUIStyle(Sui::DeepBlue); })
{
    m_style->setParent(this);
    Adopt(m_items);
    SetUIStyle(GetSUIFormStyle(owner));
}

TsuiMenu::~TsuiMenu()
{
    // The drop-downs go before the style they are drawn with.
    delete m_items;
}

QAction* TsuiMenu::AddItem(const QString& caption, QMenu* menu)
{
    QMenu* into = menu ? menu : m_items;
    QAction* action = into->addAction(caption);
    AdoptAction(action);
    return action;
}

QMenu* TsuiMenu::AddSubMenu(const QString& caption, QMenu* menu)
{
    QMenu* into = menu ? menu : m_items;
    QMenu* sub = into->addMenu(caption);
    Adopt(sub);
    return sub;
}

void TsuiMenu::Adopt(QMenu* menu)
{
    if (menu->style() != m_style)
        menu->setStyle(m_style);
    menu->setFont(ItemFont());
    menu->removeEventFilter(this);
    menu->installEventFilter(this);
    for (QAction* action : menu->actions())
        AdoptAction(action);
}

void TsuiMenu::AdoptAction(QAction* action)
{
    if (action->text() == QLatin1String("-") && !action->isSeparator())
        action->setSeparator(true);
    if (QMenu* sub = action->menu())
        Adopt(sub);
}

bool TsuiMenu::eventFilter(QObject* watched, QEvent* event)
{
    auto* menu = qobject_cast<QMenu*>(watched);
    if (!menu)
        return false;
    const bool top = menu == m_items;
    switch (event->type()) {
    case QEvent::ActionAdded:
        AdoptAction(static_cast<QActionEvent*>(event)->action());
        if (top)
            SuiGuarded([this] { emit ItemsChanged(); });
        break;
    case QEvent::ActionRemoved:
        if (top)
            SuiGuarded([this] { emit ItemsChanged(); });
        break;
    case QEvent::ActionChanged:
        AdoptAction(static_cast<QActionEvent*>(event)->action());
        if (top)
            SuiGuarded([this] { emit ItemChanged(); });
        break;
    default: break;
    }
    return false;
}

void TsuiMenu::SetFileTheme(TsuiFileTheme* fileTheme)
{
    m_fileTheme.Set(fileTheme);
    SetUIStyle(m_uiStyle);
}

void TsuiMenu::SetUIStyle(TsuiUIStyle look)
{
    m_uiStyle = look;
    m_barWidth = 26;
    if (look == Sui::MacOS) {
        m_itemHeight = 20;
        m_separatorHeight = 12;
        m_separatorColor = 0x000000;
    } else {
        m_itemHeight = 21;
        m_separatorHeight = 5;
        m_separatorColor = 0x848284;
    }
    TsuiUIStyle resolved{};
    TsuiFileTheme* fileTheme = m_fileTheme.Get();
    const bool fromFile = UsingFileTheme(fileTheme, look, resolved);
    const auto color = [&](int entry) {
        return fromFile ? fileTheme->GetColor(entry) : GetInsideThemeColor(resolved, entry);
    };
    m_barColor = color(SUI_THEME_MENU_BAR_COLOR);
    m_color = color(SUI_THEME_MENU_BACKGROUND_COLOR);
    m_fontColor = color(SUI_THEME_MENU_FONT_COLOR);
    m_selectedBorderColor = color(SUI_THEME_MENU_SELECTED_BORDER_COLOR);
    m_selectedColor = color(SUI_THEME_MENU_SELECTED_BACKGROUND_COLOR);
    m_selectedFontColor = color(SUI_THEME_MENU_SELECTED_FONT_COLOR);
}

void TsuiMenu::SetHeight(int height)
{
    if (m_uiStyle != Sui::MacOS)
        m_itemHeight = height;
}

void TsuiMenu::SetSeparatorHeight(int height)
{
    if (m_uiStyle != Sui::MacOS)
        m_separatorHeight = height;
}

void TsuiMenu::SetFontName(const QString& name)
{
    m_fontName = name;
    UpdateFonts();
}

void TsuiMenu::SetFontSize(int points)
{
    m_fontSize = points;
    UpdateFonts();
}

void TsuiMenu::SetUseSystemFont(bool on)
{
    m_useSystemFont = on;
    UpdateFonts();
}

void TsuiMenu::UpdateFonts()
{
    Adopt(m_items);
    emit FontChanged();
}

QFont TsuiMenu::ItemFont() const
{
    QFont font(m_fontName);
    font.setPointSize(m_fontSize > 0 ? m_fontSize : 8);
    if (m_useSystemFont) {
        QColor ignored;
        Menu_GetSystemFont(font, ignored);
    }
    return font;
}

QColor TsuiMenu::TextColor() const
{
    QFont ignored;
    QColor color = Qc(m_fontColor);
    if (m_useSystemFont)
        Menu_GetSystemFont(ignored, color);
    return color;
}

QSize TsuiMenu::MeasureItem(const TsuiMenuItem& item) const
{
    if (item.separator)
        return QSize(m_barWidth + 40, m_separatorHeight);
    QFont font = ItemFont();
    font.setBold(item.isDefault);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(item.caption) +
                      (item.shortcut.isEmpty() ? 0 : metrics.horizontalAdvance(item.shortcut)) + m_barWidth + 40;
    return QSize(width, m_itemHeight);
}

QImage TsuiMenu::CheckMark() const
{
    static const QImage mark = SuiKeyedImage(LoadBitmapResource(QStringLiteral("MENU_CHECKED")), 0xFFFFFFFF);
    return mark;
}

void TsuiMenu::DrawItem(QPainter& canvas, const QRect& rect, const TsuiMenuItem& item, bool selected) const
{
    const bool macOS = m_uiStyle == Sui::MacOS;
    const int left = rect.left(), top = rect.top(), right = rect.left() + rect.width(), bottom = rect.top() + rect.height();
    const auto normalBackground = [&] {
        if (macOS) {
            Menu_DrawMacOSNonSelectedItem(canvas, rect);
        } else if (m_barWidth > 0) {
            Menu_DrawBackGround(canvas, RectLTRB(left, top, left + m_barWidth, bottom), m_barColor);
            Menu_DrawBackGround(canvas, RectLTRB(left + m_barWidth, top, right, bottom), m_color);
        } else {
            Menu_DrawBackGround(canvas, rect, m_color);
        }
    };
    canvas.save();
    if (item.separator) {
        if (macOS) {
            Menu_DrawMacOSLineItem(canvas, rect);
        } else {
            normalBackground();
            Menu_DrawLineItem(canvas, rect, m_separatorColor, m_barWidth);
        }
        canvas.restore();
        return;
    }
    const bool shownSelected = selected && item.enabled;
    if (shownSelected) {
        if (macOS) {
            Menu_DrawMacOSSelectedItem(canvas, rect);
        } else {
            Menu_DrawBackGround(canvas, rect, m_selectedColor);
            Menu_DrawBorder(canvas, rect, m_selectedBorderColor);
        }
    } else {
        normalBackground();
    }

    QFont font = ItemFont();
    font.setBold(item.isDefault);
    canvas.setFont(font);
    canvas.setBrush(Qt::NoBrush);
    canvas.setPen(!item.enabled ? QColor(0x80, 0x80, 0x80) : Qc(shownSelected ? m_selectedFontColor : m_fontColor));
    canvas.drawText(RectLTRB(left + m_barWidth + 4, top + 4, right, bottom),
                    Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic, item.caption);
    if (!item.shortcut.isEmpty()) {
        const QFontMetrics metrics(font);
        const int w = metrics.horizontalAdvance(item.shortcut);
        canvas.drawText(QRect(right - w - 16, top + 4, w, std::max(bottom - top - 4, 0)),
                        Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, item.shortcut);
    }

    const bool hasImage = !item.image.isNull();
    if (item.checked) {
        if (hasImage) {
            canvas.fillRect(RectLTRB(left + 2, top + 1, left + 21, top + 2), Qt::black);
            canvas.fillRect(RectLTRB(left + 2, top + 19, left + 21, top + 20), Qt::black);
            canvas.fillRect(RectLTRB(left + 2, top + 1, left + 3, top + 20), Qt::black);
            canvas.fillRect(RectLTRB(left + 20, top + 1, left + 21, top + 20), Qt::black);
            canvas.fillRect(RectLTRB(left + 3, top + 2, left + 20, top + 19), Qc(m_selectedColor));
        } else {
            const QImage mark = CheckMark();
            canvas.drawImage(left + 4, top + 3, item.enabled ? mark : SuiDisabledImage(mark));
        }
    }
    if (hasImage) {
        const QImage image = item.image.pixmap(16, 16).toImage();
        canvas.drawImage(left + 4, top + 3, item.enabled ? image : SuiDisabledImage(image));
    }
    canvas.restore();
}

bool TsuiMenu::IsShortCut(const QKeySequence& key)
{
    if (key.isEmpty())
        return false;
    std::function<QAction*(QMenu*)> find = [&](QMenu* menu) -> QAction* {
        for (QAction* action : menu->actions()) {
            if (QMenu* sub = action->menu()) {
                if (QAction* found = find(sub))
                    return found;
            } else if (!action->isSeparator() && action->shortcut() == key) {
                return action;
            }
        }
        return nullptr;
    };
    QAction* action = find(m_items);
    if (!action || !action->isEnabled())
        return false;
    action->trigger();
    return true;
}

void Menu_DrawBorder(QPainter& canvas, const QRect& rect, platform::COLORREF color)
{
    const QColor c = Qc(color);
    canvas.fillRect(rect.left(), rect.top(), rect.width(), 1, c);
    canvas.fillRect(rect.left(), rect.bottom(), rect.width(), 1, c);
    canvas.fillRect(rect.left(), rect.top(), 1, rect.height(), c);
    canvas.fillRect(rect.right(), rect.top(), 1, rect.height(), c);
}

void Menu_DrawBackGround(QPainter& canvas, const QRect& rect, platform::COLORREF color)
{
    canvas.fillRect(rect, Qc(color));
}

void Menu_DrawLineItem(QPainter& canvas, const QRect& rect, platform::COLORREF color, int barWidth)
{
    const int x0 = rect.left() + barWidth + 4, x1 = rect.left() + rect.width() - 2;
    if (x1 > x0)
        canvas.fillRect(x0, rect.top() + 2, x1 - x0, 1, Qc(color));
}

namespace {

void StretchRows(QPainter& canvas, const QRect& rect, const char* name, int rows)
{
    const QImage picture = LoadBitmapResource(QString::fromLatin1(name));
    const QImage piece = picture.copy(0, 0, picture.width(), std::min(rows, picture.height()));
    canvas.save();
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, false);
    canvas.drawImage(rect, piece);
    canvas.restore();
}

}  // namespace

void Menu_DrawMacOSLineItem(QPainter& canvas, const QRect& rect)
{
    StretchRows(canvas, rect, "MACOS_MENU_BAR", 12);
}

void Menu_DrawMacOSSelectedItem(QPainter& canvas, const QRect& rect)
{
    StretchRows(canvas, rect, "MACOS_MENU_SELECT", 20);
}

void Menu_DrawMacOSNonSelectedItem(QPainter& canvas, const QRect& rect)
{
    StretchRows(canvas, rect, "MACOS_MENU_BAR", 20);
}

void Menu_DrawWindowBorder(QPainter& canvas, const QRect& rect, platform::COLORREF color, platform::COLORREF lineColor)
{
    const int L = rect.left(), T = rect.top(), R = rect.left() + rect.width(), B = rect.top() + rect.height();
    Menu_DrawBorder(canvas, RectLTRB(L, T + 1, R - 1, B - 1), color);
    Menu_DrawBorder(canvas, RectLTRB(L + 1, T + 2, R - 2, B - 2), 0xFFFFFF);
    const QColor line = Qc(lineColor);
    canvas.fillRect(L, B - 1, R - L, 1, line);  // bottom, then up the right edge, then the top
    canvas.fillRect(R - 1, T, 1, B - T, line);
    canvas.fillRect(L, T, R - L, 1, line);
}

void Menu_GetSystemFont(QFont& font, QColor& color)
{
    font = QApplication::font("QMenu");
    color = Qc(platform::kSystemColorFlag | platform::COLOR_MENUTEXT);
}
