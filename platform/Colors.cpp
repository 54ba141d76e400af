#include "Colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace platform {
namespace {

QColor SystemColor(int index)
{
    const QPalette pal = QGuiApplication::palette();
    switch (index) {
    case COLOR_SCROLLBAR: return pal.color(QPalette::Button);
    case COLOR_ACTIVECAPTION: return pal.color(QPalette::Active, QPalette::Highlight);
    case COLOR_INACTIVECAPTION: return pal.color(QPalette::Inactive, QPalette::Dark);
    case COLOR_MENU: return pal.color(QPalette::Window);
    case COLOR_WINDOW: return pal.color(QPalette::Base);
    case COLOR_WINDOWFRAME: return pal.color(QPalette::Shadow);
    case COLOR_MENUTEXT: return pal.color(QPalette::WindowText);
    case COLOR_WINDOWTEXT: return pal.color(QPalette::Text);
    case COLOR_CAPTIONTEXT: return pal.color(QPalette::HighlightedText);
    case COLOR_HIGHLIGHT: return pal.color(QPalette::Highlight);
    case COLOR_HIGHLIGHTTEXT: return pal.color(QPalette::HighlightedText);
    case COLOR_BTNFACE: return pal.color(QPalette::Button);
    case COLOR_BTNSHADOW: return pal.color(QPalette::Dark);
    case COLOR_GRAYTEXT: return pal.color(QPalette::Disabled, QPalette::Text);
    case COLOR_BTNTEXT: return pal.color(QPalette::ButtonText);
    case COLOR_INACTIVECAPTIONTEXT: return pal.color(QPalette::Inactive, QPalette::WindowText);
    case COLOR_BTNHIGHLIGHT: return pal.color(QPalette::Light);
    default: return pal.color(QPalette::Window);
    }
}

}  // namespace

COLORREF ColorToRGB(COLORREF color)
{
    if (color & kSystemColorFlag)
        return FromQColor(SystemColor(int(color & 0xFF)));
    return color & 0x00FFFFFF;
}

QColor ToQColor(COLORREF color)
{
    const COLORREF c = ColorToRGB(color);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

COLORREF FromQColor(const QColor& color)
{
    return RGB(color.red(), color.green(), color.blue());
}

}  // namespace platform
