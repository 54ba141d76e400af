#pragma once
// Windows colour values: 0x00BBGGRR, or 0x80000000 + n for system colour n, which we
// take from the application's palette.

#include <QColor>
#include <cstdint>

namespace platform {

using COLORREF = std::uint32_t;

inline constexpr COLORREF RGB(int r, int g, int b)
{
    return COLORREF(r & 0xFF) | (COLORREF(g & 0xFF) << 8) | (COLORREF(b & 0xFF) << 16);
}
inline constexpr int GetRValue(COLORREF c) { return int(c & 0xFF); }
inline constexpr int GetGValue(COLORREF c) { return int((c >> 8) & 0xFF); }
inline constexpr int GetBValue(COLORREF c) { return int((c >> 16) & 0xFF); }

inline constexpr COLORREF kSystemColorFlag = 0x80000000u;
inline constexpr int COLOR_SCROLLBAR = 0;
inline constexpr int COLOR_ACTIVECAPTION = 2;
inline constexpr int COLOR_INACTIVECAPTION = 3;
inline constexpr int COLOR_MENU = 4;
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWFRAME = 6;
inline constexpr int COLOR_MENUTEXT = 7;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_CAPTIONTEXT = 9;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_BTNSHADOW = 16;
inline constexpr int COLOR_GRAYTEXT = 17;
inline constexpr int COLOR_BTNTEXT = 18;
inline constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
inline constexpr int COLOR_BTNHIGHLIGHT = 20;

// The RGB value of a colour; system colours come from the application palette.
COLORREF ColorToRGB(COLORREF color);
QColor ToQColor(COLORREF color);
COLORREF FromQColor(const QColor& color);

}  // namespace platform
