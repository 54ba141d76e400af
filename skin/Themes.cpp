#include "Themes.h"

#include "SuiPicture.h"
#include "Resources.h"

#include <QWidget>
#include <array>

namespace {

using platform::COLORREF;
using Kind = TsuiEntryKind;

struct EntryInfo {
    const char* key;
    Kind kind;
    const char* element;  // picture entries: the resource name after the look's prefix
};

constexpr std::array<EntryInfo, SUI_THEME_ENTRY_COUNT> kEntries{{
    {"ButtonImage", Kind::Picture, "BUTTON"},
    {"ButtonTransparentBool", Kind::Boolean, nullptr},
    {"CheckBoxImage", Kind::Picture, "CHECKBOX"},
    {"RadioButtonImage", Kind::Picture, "RADIOBUTTON"},
    {"TitleBarButtonImage", Kind::Picture, "TITLEBTN"},
    {"TitleBarButtonTransparentBool", Kind::Boolean, nullptr},
    {"TitleBarButtonLeftOffsetInt", Kind::Integer, nullptr},
    {"TitleBarButtonRightOffsetInt", Kind::Integer, nullptr},
    {"TitleBarButtonTopInt", Kind::Integer, nullptr},
    {"TitleBarLeftImage", Kind::Picture, "TITLE_LEFT"},
    {"TitleBarClientImage", Kind::Picture, "TITLE_CLIENT"},
    {"TitleBarRightImage", Kind::Picture, "TITLE_RIGHT"},
    {"FormMinWidthInt", Kind::Integer, nullptr},
    {"FormRoundCornerInt", Kind::Integer, nullptr},
    {"FormBackgroundColor", Kind::Color, nullptr},
    {"FormBorderColor", Kind::Color, nullptr},
    {"FormBorderWidthInt", Kind::Integer, nullptr},
    {"MenuSelectedBorderColor", Kind::Color, nullptr},
    {"MenuSelectedBackgroundColor", Kind::Color, nullptr},
    {"MenuSelectedFontColor", Kind::Color, nullptr},
    {"MenuBackgroundColor", Kind::Color, nullptr},
    {"MenuFontColor", Kind::Color, nullptr},
    {"MenuBarColor", Kind::Color, nullptr},
    {"ProgressBarImage", Kind::Picture, "PROGRESSBAR"},
    {"ControlBorderColor", Kind::Color, nullptr},
    {"ControlBackgroundColor", Kind::Color, nullptr},
    {"ControlFontColor", Kind::Color, nullptr},
    {"TrackBarBarImage", Kind::Picture, "TRACKBAR_BAR"},
    {"TrackBarSliderImage", Kind::Picture, "TRACKBAR_SLIDER"},
    {"TrackBarSliderVImage", Kind::Picture, "TRACKBAR_SLIDER_V"},
    {"ScrollBarBackgroundColor", Kind::Color, nullptr},
    {"ScrollBarButtonImage", Kind::Picture, "SCROLLBAR_BUTTON"},
    {"ScrollBarSliderImage", Kind::Picture, "SCROLLBAR_TRACK"},
    {"CheckListBoxImage", Kind::Picture, "CHECKLIST"},
    {"ToolBarButtonBorderColor", Kind::Color, nullptr},
    {"ToolBarButtonBackgroundColor", Kind::Color, nullptr},
    {"ToolBarButtonDownBackgroundColor", Kind::Color, nullptr},
    {"ScrollButtonImage", Kind::Picture, "SCROLLBUTTON"},
    {"TabControlTabImage", Kind::Picture, "TAB"},
    {"TabControlBarImage", Kind::Picture, "TAB_LINE"},
    {"SideChannelHandleImage", Kind::Picture, "SIDECHENNEL_HANDLE"},
    {"SideChannelBarImage", Kind::Picture, "SIDECHENNEL_BAR"},
}};

// Values of the integer, colour and boolean entries, one column per built-in look
// (MacOS, WinXP, DeepBlue, Protein, BlueGlass); picture entries take their names from
// kEntries.
struct Row {
    int entry;
    std::int32_t values[5];
};

constexpr Row kValues[] = {
    {2, {1, 0, 0, 0, 1}},
    {6, {0, 0, 0, 1, 1}},
    {7, {3, 2, 0, 0, 4}},
    {8, {-2, -2, 0, 0, -3}},
    {9, {4, 5, 2, 2, 6}},
    {13, {130, 150, 130, 130, 270}},
    {14, {0, 13, 0, 0, 11}},
    {15, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}},
    {16, {0x7F7F7F, 0xC82C00, 0x000000, 0x000000, 0x000000}},
    {17, {1, 3, 1, 1, 1}},
    {18, {0xC47339, 0xC66931, 0xA04A44, 0xC4302D, 0xEC5E5E}},
    {19, {0xC47339, 0xEFD3C6, 0xA04A44, 0xC4302D, 0xEC5E5E}},
    {20, {0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}},
    {21, {0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xE7E7E7}},
    {22, {0x000000, 0x000000, 0x000000, 0x000000, 0x000000}},
    {23, {0x000000, 0xCED3D6, 0xCED3D6, 0xCED3D6, 0xCED3D6}},
    {25, {0x7F7F7F, 0x686868, 0x000000, 0x000000, 0x000000}},
    {26, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}},
    {27, {0x000000, 0xCF4602, 0x000000, 0x000000, 0x000000}},
    {31, {0xC9C9C9, 0xF9F9F9, 0xF5F5F5, 0xF5F5F5, 0xF4F4F4}},
    {35, {0x474747, 0xC66931, 0x474747, 0x474747, 0x474747}},
    {36, {0xEFEFEF, 0xEFD3C6, 0xEFEFEF, 0xEFEFEF, 0xEFEFEF}},
    {37, {0xD8D8D8, 0xE1AC93, 0xD8D8D8, 0xD8D8D8, 0xD8D8D8}},
};

constexpr const char* kPrefixes[] = {"MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS"};

// The resource names of every built-in picture, made once.
struct PictureNames {
    std::string names[5][SUI_THEME_ENTRY_COUNT];
    PictureNames()
    {
        for (int look = 0; look < 5; ++look)
            for (int e = 0; e < SUI_THEME_ENTRY_COUNT; ++e)
                if (kEntries[std::size_t(e)].element)
                    names[look][e] = std::string(kPrefixes[look]) + "_" + kEntries[std::size_t(e)].element;
        // Three looks share one menu scroll button picture.
        for (int look : {2, 3, 4})
            names[look][SUI_THEME_SCROLLBUTTON_IMAGE - 1] = "MORE_SCROLLBUTTON";
    }
};

const PictureNames& Names()
{
    static const PictureNames names;
    return names;
}

bool ValidEntry(int entry)
{
    return entry >= 1 && entry <= SUI_THEME_ENTRY_COUNT;
}

// The entry's value in a look, if the look is built in and the entry is of that kind.
bool Lookup(TsuiUIStyle look, int entry, Kind kind, std::int32_t& value)
{
    if (!IsBuiltInLook(look) || !ValidEntry(entry) || kEntries[std::size_t(entry - 1)].kind != kind)
        return false;
    for (const Row& row : kValues)
        if (row.entry == entry) {
            value = row.values[look - 1];
            return true;
        }
    return false;
}

}  // namespace

bool IsBuiltInLook(int look)
{
    return look >= Sui::MacOS && look <= Sui::BlueGlass;
}

TsuiEntryKind ThemeEntryKind(int entry)
{
    return ValidEntry(entry) ? kEntries[std::size_t(entry - 1)].kind : Kind::Integer;
}

const char* ThemeEntryKeyName(int entry)
{
    return ValidEntry(entry) ? kEntries[std::size_t(entry - 1)].key : "";
}

const char* ThemeEntryResource(TsuiUIStyle look, int entry)
{
    if (!IsBuiltInLook(look) || !ValidEntry(entry) || kEntries[std::size_t(entry - 1)].kind != Kind::Picture)
        return nullptr;
    return Names().names[look - 1][entry - 1].c_str();
}

COLORREF GetInsideThemeColor(TsuiUIStyle look, int entry)
{
    std::int32_t v = 0;
    return Lookup(look, entry, Kind::Color, v) ? COLORREF(v) : 0;
}

int GetInsideThemeInt(TsuiUIStyle look, int entry)
{
    std::int32_t v = 0;
    return Lookup(look, entry, Kind::Integer, v) ? v : -1;
}

bool GetInsideThemeBool(TsuiUIStyle look, int entry)
{
    std::int32_t v = 0;
    return Lookup(look, entry, Kind::Boolean, v) && v != 0;
}

void GetInsideThemeBitmap(TsuiUIStyle look, int entry, QImage* bitmap, int frameCount, int frameIndex)
{
    if (!bitmap)
        return;
    const char* name = ThemeEntryResource(look, entry);
    const QImage picture = name ? LoadBitmapResource(name) : QImage();
    if (frameCount <= 0) {
        if (name)
            *bitmap = picture;
        return;
    }
    SpitBitmap(picture, *bitmap, frameCount, frameIndex);
}

TsuiUIStyle GetSUIFormStyle(const QObject* owner)
{
    const auto* widget = qobject_cast<const QWidget*>(owner);
    if (!widget)
        return Sui::DeepBlue;
    for (const QObject* child : widget->window()->children())
        if (const auto* frame = dynamic_cast<const TsuiFormLook*>(child))
            return frame->FormUIStyle();
    return Sui::DeepBlue;
}

bool IsHasProperty(const QObject* component, const char* name)
{
    return component && name && component->metaObject()->indexOfProperty(name) >= 0;
}
