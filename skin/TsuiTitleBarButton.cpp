#include "TsuiTitleBarButton.h"

#include "TsuiPopupMenu.h"
#include "platform/MessageBox.h"

namespace {

// First of the three frames (normal, mouse over, pressed) of each built-in type.
int FirstFrame(TsuiTitleBarBtnType type, bool maximized)
{
    switch (type) {
    case SuiTitleBar::suiControlBox: return 1;
    case SuiTitleBar::suiHelp: return 4;
    case SuiTitleBar::suiMax: return maximized ? 10 : 7;
    case SuiTitleBar::suiMin: return 13;
    case SuiTitleBar::suiClose: return 16;
    case SuiTitleBar::suiCustom: break;
    }
    return 0;
}

}  // namespace

TsuiTitleBarButton::TsuiTitleBarButton(TsuiTitleBarButtons* collection)
    : QObject(collection), m_collection(collection)
{
}

void TsuiTitleBarButton::Changed()
{
    if (m_collection)
        m_collection->Changed();
}

void TsuiTitleBarButton::LoadFrames(int first)
{
    TsuiTitleBarButtonHost* host = m_collection ? m_collection->Host() : nullptr;
    TsuiFileTheme* fileTheme = host ? host->HostFileTheme() : nullptr;
    TsuiUIStyle resolved{};
    const bool fromFile = UsingFileTheme(fileTheme, m_uiStyle, resolved);
    QImage* targets[3] = {&m_picNormal, &m_picMouseOn, &m_picMouseDown};
    for (int i = 0; i < 3; ++i) {
        if (fromFile)
            fileTheme->GetBitmap(SUI_THEME_TITLEBAR_BUTTON_IMAGE, targets[i], 18, first + i);
        else
            GetInsideThemeBitmap(resolved, SUI_THEME_TITLEBAR_BUTTON_IMAGE, targets[i], 18, first + i);
    }
}

void TsuiTitleBarButton::UpdateUIStyle(TsuiUIStyle look)
{
    m_uiStyle = look;
    TsuiTitleBarButtonHost* host = m_collection ? m_collection->Host() : nullptr;
    TsuiFileTheme* fileTheme = host ? host->HostFileTheme() : nullptr;
    TsuiUIStyle resolved{};
    const bool fromFile = UsingFileTheme(fileTheme, look, resolved);
    m_transparent = fromFile ? fileTheme->GetBool(SUI_THEME_TITLEBAR_BUTTON_TRANSPARENT_BOOL)
                             : GetInsideThemeBool(resolved, SUI_THEME_TITLEBAR_BUTTON_TRANSPARENT_BOOL);
    if (const int first = FirstFrame(m_type, false)) {
        LoadFrames(first);
        m_top = fromFile ? fileTheme->GetInt(SUI_THEME_TITLEBAR_BUTTON_TOP_INT)
                         : GetInsideThemeInt(resolved, SUI_THEME_TITLEBAR_BUTTON_TOP_INT);
    }
    if (m_type == SuiTitleBar::suiMax)
        UpdateMaxPictures();
    Changed();
}

void TsuiTitleBarButton::UpdateMaxPictures()
{
    TsuiTitleBarButtonHost* host = m_collection ? m_collection->Host() : nullptr;
    if (m_type != SuiTitleBar::suiMax || !host || host->HostCustom())
        return;
    LoadFrames(FirstFrame(SuiTitleBar::suiMax, host->HostFormMaximized()));
    Changed();
}

void TsuiTitleBarButton::SetButtonType(TsuiTitleBarBtnType type)
{
    if (type == SuiTitleBar::suiControlBox && m_collection) {
        for (int i = 0; i < m_collection->Count(); ++i)
            if (m_collection->Item(i)->m_type == SuiTitleBar::suiControlBox) {
                platform::MessageBoxA(nullptr, "Sorry, only one button's ButtonType property can be \"suiControlBox\"",
                                      "Error", platform::MB_OK | platform::MB_ICONERROR);
                return;
            }
    }
    m_type = type;
    UpdateUIStyle(m_uiStyle);
}

void TsuiTitleBarButton::SetTransparent(bool on)
{
    m_transparent = on;
    Changed();
}

void TsuiTitleBarButton::SetTop(int top)
{
    m_top = top;
    Changed();
}

void TsuiTitleBarButton::SetControlBoxMenu(TsuiPopupMenu* menu)
{
    m_controlBoxMenu = menu;
    Changed();
}

void TsuiTitleBarButton::SetVisible(bool on)
{
    m_visible = on;
    Changed();
}

void TsuiTitleBarButton::SetPicNormal(const QImage& picture)
{
    m_picNormal = picture;
    Changed();
}

void TsuiTitleBarButton::SetPicMouseOn(const QImage& picture)
{
    m_picMouseOn = picture;
    Changed();
}

void TsuiTitleBarButton::SetPicMouseDown(const QImage& picture)
{
    m_picMouseDown = picture;
    Changed();
}

void TsuiTitleBarButton::DoClick()
{
    if (m_collection && m_collection->Host())
        m_collection->Host()->ButtonClicked(this);
}

int TsuiTitleBarButton::Index() const
{
    return m_collection ? m_collection->IndexOf(this) : -1;
}

void TsuiTitleBarButton::Assign(const TsuiTitleBarButton& other)
{
    m_uiStyle = other.m_uiStyle;
    m_type = other.m_type;
    m_transparent = other.m_transparent;
    m_top = other.m_top;
    m_controlBoxMenu = other.m_controlBoxMenu;
    m_visible = other.m_visible;
    m_picNormal = other.m_picNormal;
    m_picMouseOn = other.m_picMouseOn;
    m_picMouseDown = other.m_picMouseDown;
    Changed();
}

TsuiTitleBarButtons::TsuiTitleBarButtons(TsuiTitleBarButtonHost* host, QObject* parent) : QObject(parent), m_host(host)
{
}

TsuiTitleBarButton* TsuiTitleBarButtons::Add()
{
    auto* button = new TsuiTitleBarButton(this);
    m_items.append(button);
    Changed();
    return button;
}

void TsuiTitleBarButtons::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    delete m_items.takeAt(index);
    Changed();
}

void TsuiTitleBarButtons::Clear()
{
    qDeleteAll(m_items);
    m_items.clear();
    Changed();
}

void TsuiTitleBarButtons::Assign(const TsuiTitleBarButtons& other)
{
    if (&other == this)
        return;
    qDeleteAll(m_items);
    m_items.clear();
    for (const TsuiTitleBarButton* source : other.m_items) {
        auto* button = new TsuiTitleBarButton(this);
        m_items.append(button);
        button->Assign(*source);
    }
    Changed();
}

int TsuiTitleBarButtons::IndexOf(const TsuiTitleBarButton* button) const
{
    return int(m_items.indexOf(const_cast<TsuiTitleBarButton*>(button)));
}

void TsuiTitleBarButtons::Changed()
{
    if (m_host)
        m_host->ButtonsChanged();
}
