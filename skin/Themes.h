#pragma once
// Looks and theme entries: the five built-in looks, the 42 numbered entries through
// which every skinned control asks for its colours, sizes, flags and pictures, and the
// built-in value of each entry in each look.

#include "platform/Colors.h"

#include <QImage>
#include <QObject>
#include <cstdint>

namespace Sui {
Q_NAMESPACE

enum TsuiUIStyle : std::uint8_t {
    FromThemeFile = 0,  // values from the control's file theme; DeepBlue without one
    MacOS = 1,
    WinXP = 2,
    DeepBlue = 3,  // the default and the fallback
    Protein = 4,
    BlueGlass = 5,
};
Q_ENUM_NS(TsuiUIStyle)

}  // namespace Sui

using TsuiUIStyle = Sui::TsuiUIStyle;

enum TsuiThemeEntry : int {
    SUI_THEME_BUTTON_IMAGE = 1,
    SUI_THEME_BUTTON_TRANSPARENT_BOOL = 2,
    SUI_THEME_CHECKBOX_IMAGE = 3,
    SUI_THEME_RADIOBUTTON_IMAGE = 4,
    SUI_THEME_TITLEBAR_BUTTON_IMAGE = 5,
    SUI_THEME_TITLEBAR_BUTTON_TRANSPARENT_BOOL = 6,
    SUI_THEME_TITLEBAR_BUTTON_LEFTOFFSET_INT = 7,
    SUI_THEME_TITLEBAR_BUTTON_RIGHTOFFSET_INT = 8,
    SUI_THEME_TITLEBAR_BUTTON_TOP_INT = 9,
    SUI_THEME_TITLEBAR_LEFT_IMAGE = 10,
    SUI_THEME_TITLEBAR_CLIENT_IMAGE = 11,
    SUI_THEME_TITLEBAR_RIGHT_IMAGE = 12,
    SUI_THEME_FORM_MINWIDTH_INT = 13,
    SUI_THEME_FORM_ROUNDCORNER_INT = 14,
    SUI_THEME_FORM_BACKGROUND_COLOR = 15,
    SUI_THEME_FORM_BORDER_COLOR = 16,
    SUI_THEME_FORM_BORDERWIDTH_INT = 17,
    SUI_THEME_MENU_SELECTED_BORDER_COLOR = 18,
    SUI_THEME_MENU_SELECTED_BACKGROUND_COLOR = 19,
    SUI_THEME_MENU_SELECTED_FONT_COLOR = 20,
    SUI_THEME_MENU_BACKGROUND_COLOR = 21,
    SUI_THEME_MENU_FONT_COLOR = 22,
    SUI_THEME_MENU_BAR_COLOR = 23,
    SUI_THEME_PROGRESSBAR_IMAGE = 24,
    SUI_THEME_CONTROL_BORDER_COLOR = 25,
    SUI_THEME_CONTROL_BACKGROUND_COLOR = 26,
    SUI_THEME_CONTROL_FONT_COLOR = 27,
    SUI_THEME_TRACKBAR_BAR_IMAGE = 28,
    SUI_THEME_TRACKBAR_SLIDER_IMAGE = 29,
    SUI_THEME_TRACKBAR_SLIDER_V_IMAGE = 30,
    SUI_THEME_SCROLLBAR_BACKGROUND_COLOR = 31,
    SUI_THEME_SCROLLBAR_BUTTON_IMAGE = 32,
    SUI_THEME_SCROLLBAR_SLIDER_IMAGE = 33,
    SUI_THEME_CHECKLISTBOX_IMAGE = 34,
    SUI_THEME_TOOLBAR_BUTTON_BORDER_COLOR = 35,
    SUI_THEME_TOOLBAR_BUTTON_BACKGROUND_COLOR = 36,
    SUI_THEME_TOOLBAR_BUTTON_DOWN_BACKGROUND_COLOR = 37,
    SUI_THEME_SCROLLBUTTON_IMAGE = 38,
    SUI_THEME_TABCONTROL_TAB_IMAGE = 39,
    SUI_THEME_TABCONTROL_BAR_IMAGE = 40,
    SUI_THEME_SIDECHANNEL_HANDLE_IMAGE = 41,
    SUI_THEME_SIDECHANNEL_BAR_IMAGE = 42,
};

inline constexpr int SUI_THEME_ENTRY_COUNT = 42;

// What an entry holds; the numbers are those the entry table stores.
enum class TsuiEntryKind : std::uint8_t { Integer = 0, Color = 1, Picture = 2, Boolean = 3 };

// Special values of SUI_THEME_CONTROL_FONT_COLOR in a theme file, which the window frame,
// the title bar and the skinned panel test for.
inline constexpr int SUI_THEME_FILE_STYLE_1 = 0x10000;
inline constexpr int SUI_THEME_FILE_STYLE_2 = 0x20000;
inline constexpr int SUI_THEME_FILE_STYLE_3 = 0x30000;
inline constexpr int SUI_THEME_FILE_STYLE_4 = 0x40000;
inline constexpr int SUI_THEME_FILE_STYLE_5 = 0x50000;

bool IsBuiltInLook(int look);

// The entry's kind and its key name in theme files; entry is 1 to 42.
TsuiEntryKind ThemeEntryKind(int entry);
const char* ThemeEntryKeyName(int entry);

// The resource name of a picture entry in a built-in look (nullptr otherwise).
const char* ThemeEntryResource(TsuiUIStyle look, int entry);

// The built-in value of an entry: its own kind's value in a built-in look; otherwise
// colour 0, integer -1, boolean false.
platform::COLORREF GetInsideThemeColor(TsuiUIStyle look, int entry);
int GetInsideThemeInt(TsuiUIStyle look, int entry);
bool GetInsideThemeBool(TsuiUIStyle look, int entry);
// Fills bitmap with the entry's picture, or with frame frameIndex (1-based) of its
// frameCount equal frames. A look without built-in values leaves bitmap as it is with
// frameCount 0, and makes it empty with a frame count above 0.
void GetInsideThemeBitmap(TsuiUIStyle look, int entry, QImage* bitmap, int frameCount = 0, int frameIndex = 0);

// What a skinned window frame tells the controls created on its window.
class TsuiFormLook {
public:
    virtual TsuiUIStyle FormUIStyle() const = 0;

protected:
    ~TsuiFormLook() = default;
};

// Whether the object's class publishes a property of that name (never a dynamic one).
bool IsHasProperty(const QObject* component, const char* name);

// The look a new control takes from its owner: the look of the first skinned window
// frame (a TsuiFormLook) among the direct children of the owner's window, which is the
// owner itself when it is a window; DeepBlue for no owner, an owner that is no widget,
// or a window without a frame.
TsuiUIStyle GetSUIFormStyle(const QObject* owner);
