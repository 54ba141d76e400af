#include "SuiPicture.h"

#include <QWidget>
#include <algorithm>

namespace {

// Copies src (a rectangle of bitmap) onto target, stretched with nearest pixels; keyed
// pixels are left undrawn.
void DrawPiece(QPainter& canvas, const QImage& bitmap, const QRect& src, const QRect& target, bool masked,
               QRgb key = kSuiMagenta)
{
    if (src.width() <= 0 || src.height() <= 0 || target.width() <= 0 || target.height() <= 0)
        return;
    const QImage piece = bitmap.copy(src);
    const bool smooth = canvas.testRenderHint(QPainter::SmoothPixmapTransform);
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, false);
    canvas.drawImage(target, masked ? SuiKeyedImage(piece, key) : piece);
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
}

}  // namespace

void SpitBitmap(const QImage& source, QImage& destination, int frameCount, int frameIndex)
{
    if (source.isNull() || frameCount < 1 || frameIndex < 1 || frameIndex > frameCount) {
        destination = QImage();
        return;
    }
    const int fw = source.width() / frameCount;
    destination = fw > 0 ? source.copy((frameIndex - 1) * fw, 0, fw, source.height()) : QImage();
}

void SpitDraw(const QImage& bitmap, QPainter& canvas, const QRect& rect, bool transparent)
{
    if (bitmap.isNull())
        return;
    const int bw = bitmap.width(), bh = bitmap.height();
    const int W = rect.width(), H = rect.height();
    const int hw = bw / 2, hh = bh / 2, HW = W / 2, HH = H / 2;
    const auto at = [&](QRect r) { return r.translated(rect.topLeft()); };
    const auto nonNeg = [](int v) { return std::max(0, v); };

    // 1: top-left corner keeps its left columns and top rows.
    const int w1 = nonNeg(std::min(hw, HW)), h1 = nonNeg(std::min(hh, HH));
    DrawPiece(canvas, bitmap, QRect(0, 0, w1, h1), at(QRect(0, 0, w1, h1)), transparent);
    // 2: bottom-left corner keeps its left columns and bottom rows.
    const int w2 = nonNeg(std::min(hw, HW)), h2 = nonNeg(std::min(hh - 1, HH - 1));
    DrawPiece(canvas, bitmap, QRect(0, bh - h2, w2, h2), at(QRect(0, H - h2, w2, h2)), transparent);
    // 3: left edge, stretched down between the left corners.
    {
        const QRect target = RectLTRB(0, h1, w1, H - h2);
        const QRect src = RectLTRB(0, hh, std::min(hw, target.width()), std::max(bh - hh, hh + 1));
        DrawPiece(canvas, bitmap, src, at(target), true);
    }
    // 4: top-right corner keeps its right columns and top rows.
    const int w4 = nonNeg(std::min(hw - 1, HW - 1)), h4 = nonNeg(std::min(hh, HH));
    DrawPiece(canvas, bitmap, QRect(bw - w4, 0, w4, h4), at(QRect(W - w4, 0, w4, h4)), transparent);
    // 5: bottom-right corner keeps its right columns and bottom rows.
    const int w5 = nonNeg(std::min(hw - 1, HW - 1)), h5 = nonNeg(std::min(hh - 1, HH - 1));
    DrawPiece(canvas, bitmap, QRect(bw - w5, bh - h5, w5, h5), at(QRect(W - w5, H - h5, w5, h5)), transparent);
    // 6: right edge keeps its right columns.
    {
        const QRect target = RectLTRB(W - w4, h4, W, H - h5);
        const int srcW = std::min(hw - 1, target.width());
        const QRect src = RectLTRB(bw - srcW, bh - hh, bw, hh + 2);
        DrawPiece(canvas, bitmap, src, at(target), true);
    }
    // 7: top edge keeps its top rows.
    {
        const QRect target = RectLTRB(w1, 0, W - w4, h1);
        const QRect src = RectLTRB(hw, 0, bw - hw + 1, std::min(hh, target.height()));
        DrawPiece(canvas, bitmap, src, at(target), true);
    }
    // 8: middle. An even-height picture has no middle row; its row hh stands in.
    {
        const QRect target = RectLTRB(w1, h1, W - w4, (H - h5) - 1);
        const QRect src = RectLTRB(hw, hh, bw - hw + 1, std::max(bh - hh, hh + 1));
        DrawPiece(canvas, bitmap, src, at(target), true);
    }
    // 9: bottom edge keeps its bottom rows.
    {
        const QRect target = RectLTRB(w1 - 1, (H - h2) - 1, W - w5, H);
        const int srcH = std::min(hh, target.height());
        const QRect src = RectLTRB(hw, bh - srcH, bw - hw + 1, bh);
        DrawPiece(canvas, bitmap, src, at(target), true);
    }
}

void SpitDrawHorizontal(const QImage& bitmap, QPainter& canvas, const QRect& rect, bool topLeftKey)
{
    if (bitmap.isNull())
        return;
    const int pw = bitmap.width() / 3, ph = bitmap.height();
    const QRgb key = topLeftKey ? bitmap.pixel(0, 0) : kSuiMagenta;
    const int left = rect.left(), top = rect.top(), right = rect.left() + rect.width(), bottom = rect.top() + rect.height();
    DrawPiece(canvas, bitmap, QRect(0, 0, pw, ph), QRect(left, top, pw, ph), true, key);
    DrawPiece(canvas, bitmap, QRect(2 * pw, 0, pw, ph), QRect(right - pw, top, pw, ph), true, key);
    DrawPiece(canvas, bitmap, QRect(pw, 0, pw, ph), RectLTRB(left + pw, top, right - pw, bottom), false);
}

void TileDraw(QPainter& canvas, const QImage& picture, const QRect& rect)
{
    const int pw = picture.width(), ph = picture.height();
    if (pw <= 0 || ph <= 0)
        return;
    for (int x = 0; x < rect.width() + pw; x += pw)
        for (int y = 0; y < rect.height() + ph; y += ph)
            canvas.drawImage(x, y, picture);
}

void DoTrans(QPainter& canvas, QWidget* control)
{
    QWidget* parent = control ? control->parentWidget() : nullptr;
    if (!parent)
        return;
    const QRect under = control->geometry() & parent->rect();
    if (under.isEmpty())
        return;
    canvas.save();
    parent->render(&canvas, under.topLeft() - control->pos(), QRegion(under), QWidget::DrawWindowBackground);
    canvas.restore();
}

void DrawControlBorder(QPainter& canvas, const QWidget* control, platform::COLORREF outerColor,
                       platform::COLORREF innerColor, bool drawInner)
{
    const QRect r(0, 0, control->width(), control->height());
    canvas.save();
    canvas.setPen(Qt::NoPen);
    const auto frame = [&](const QRect& box, platform::COLORREF color) {
        if (box.width() <= 0 || box.height() <= 0)
            return;
        const QColor c = platform::ToQColor(color);
        canvas.fillRect(box.x(), box.y(), box.width(), 1, c);
        canvas.fillRect(box.x(), box.y() + box.height() - 1, box.width(), 1, c);
        canvas.fillRect(box.x(), box.y(), 1, box.height(), c);
        canvas.fillRect(box.x() + box.width() - 1, box.y(), 1, box.height(), c);
    };
    frame(r, outerColor);
    if (drawInner)
        frame(r.adjusted(1, 1, -1, -1), innerColor);
    canvas.restore();
}

bool InRect(int x, int y, const QRect& rect)
{
    return x >= rect.left() && x <= rect.left() + rect.width() && y >= rect.top() && y <= rect.top() + rect.height();
}

bool InRect(const QPoint& point, const QRect& rect)
{
    return InRect(point.x(), point.y(), rect);
}

QImage SuiKeyedImage(const QImage& image, QRgb key)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    key |= 0xFF000000u;
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((row[x] | 0xFF000000u) == key && qAlpha(row[x]) == 255)
                row[x] = 0;
    }
    return out;
}

QImage SuiDisabledImage(const QImage& image)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int grey = 128 + qGray(row[x]) / 2;
            row[x] = qRgba(grey, grey, grey, qAlpha(row[x]));
        }
    }
    return out;
}
