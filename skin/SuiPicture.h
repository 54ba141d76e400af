#pragma once
// Picture helpers shared by the skinned controls and the frame: cutting frames out of
// theme pictures, stretching a picture without distorting its corners, tiling, keyed
// and greyed copies, the parent's background under a transparent control, flat
// borders. They know nothing of looks.

#include "platform/Colors.h"

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>

class QWidget;

// The transparent key of stretchable artwork.
inline constexpr QRgb kSuiMagenta = 0xFFFF00FF;

// A rectangle from its left, top, right and bottom edges, right and bottom exclusive.
inline QRect RectLTRB(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}

// All four edges inclusive.
bool InRect(int x, int y, const QRect& rect);
bool InRect(const QPoint& point, const QRect& rect);

// Frame frameIndex (from 1) of frameCount equal frames of source, unscaled; each frame
// is width div frameCount wide. An empty source or a frame out of range gives an empty image.
void SpitBitmap(const QImage& source, QImage& destination, int frameCount, int frameIndex);

// Nine-part stretch of bitmap over rect: corners kept 1:1 (masked on magenta when
// transparent is set), edges and middle stretched, always masked on magenta.
void SpitDraw(const QImage& bitmap, QPainter& canvas, const QRect& rect, bool transparent);

// Three equal parts side by side: caps 1:1 with a transparent key (the top-left pixel when
// topLeftKey is set, else magenta), the middle stretched opaque between them.
void SpitDrawHorizontal(const QImage& bitmap, QPainter& canvas, const QRect& rect, bool topLeftKey);

// The picture 1:1 from the canvas origin across rect's size, clipped by the canvas.
void TileDraw(QPainter& canvas, const QImage& picture, const QRect& rect);

// Paints what the control's parent draws under it (the parent alone, not its other
// children) onto a canvas of the control's size. Nothing without a parent.
void DoTrans(QPainter& canvas, QWidget* control);

// A flat one-pixel frame round the control, and an inner one in innerColor.
void DrawControlBorder(QPainter& canvas, const QWidget* control, platform::COLORREF outerColor,
                       platform::COLORREF innerColor, bool drawInner);

// A copy of the image in which every opaque pixel of colour key is fully transparent.
QImage SuiKeyedImage(const QImage& image, QRgb key);
// The standard disabled rendering of a picture: grey, lightened, alpha kept.
QImage SuiDisabledImage(const QImage& image);
