#include "Kit.h"

#include <algorithm>
#include <cmath>

namespace artgen {

void paintFace(QPainter& p, const QRectF& r, qreal radius, const Face& f)
{
    p.save();
    p.setPen(Qt::NoPen);
    if (f.border.isValid() && f.border.alpha() > 0) {
        p.setBrush(f.border);
        p.drawPath(rounded(r, radius));
    }
    const QRectF in = r.adjusted(1, 1, -1, -1);
    const qreal rin = std::max<qreal>(0, radius - 1);
    const QPainterPath body = rounded(in, rin);
    QLinearGradient g(0, in.top(), 0, in.bottom());
    g.setColorAt(0, f.top);
    if (f.split.isValid()) {
        // The change falls between two whole rows (the upper one when it would split a
        // row), so that the two middle rows of an odd-height picture, which the stretch
        // repeats, lie on the same side of it.
        const qreal at = (std::floor(in.top() + f.splitAt * in.height()) - in.top()) / in.height();
        g.setColorAt(std::max<qreal>(0, at - 0.001), f.splitEnd.isValid() ? f.splitEnd : f.top);
        g.setColorAt(at, f.split);
    }
    g.setColorAt(1, f.bottom);
    p.setBrush(g);
    p.drawPath(body);
    if (f.ring.isValid() && f.ring.alpha() > 0) {
        const QPainterPath hole = rounded(in.adjusted(2, 2, -2, -2), std::max<qreal>(0, rin - 2));
        p.setBrush(vertical(in.top(), in.bottom(), {{0, f.ring}, {1, f.ringBottom.isValid() ? f.ringBottom : f.ring}}));
        p.drawPath(body.subtracted(hole));
    }
    if (f.innerLight.isValid() && f.innerLight.alpha() > 0) {
        QPainterPath line;
        line.addRect(QRectF(in.left(), in.top(), in.width(), 1));
        p.setBrush(f.innerLight);
        p.drawPath(body.intersected(line));
    }
    if (f.gloss.isValid() && f.gloss.alpha() > 0) {
        const qreal gh = std::round(in.height() * f.glossHeight);
        const QRectF sheen(in.left() + 1, in.top() + 1, in.width() - 2, gh);
        QColor faint = f.gloss;
        faint.setAlphaF(f.gloss.alphaF() * 0.2);
        p.setBrush(vertical(sheen.top(), sheen.bottom(), {{0, f.gloss}, {1, faint}}));
        p.drawPath(rounded(sheen, std::max<qreal>(0, rin - 1)).intersected(body));
    }
    p.restore();
}

void stampFace(QImage& dst, const QRectF& r, qreal radius, const Face& f, const QColor& backdrop)
{
    QImage layer = layerImage(dst.width(), dst.height());
    {
        LayerPainter p(&layer);
        paintFace(p, r, radius, f);
    }
    stamp(dst, layer, {0, 0}, backdrop);
}

QColor faded(const QColor& c, const QColor& towards, qreal amount)
{
    if (!c.isValid())
        return c;
    QColor out = mix(c, towards, amount);
    out.setAlpha(c.alpha());
    return out;
}

Face fadedFace(const Face& f, const QColor& towards, qreal amount)
{
    Face out = f;
    for (QColor* c : {&out.border, &out.top, &out.bottom, &out.split, &out.splitEnd, &out.ring, &out.ringBottom})
        *c = faded(*c, towards, amount);
    if (out.gloss.isValid())
        out.gloss.setAlphaF(out.gloss.alphaF() * (1 - amount));
    return out;
}

QImage columnPicture(int w, int h, const std::function<QColor(int)>& row)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const QRgb c = row(y).rgb();
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, c);
    }
    return image;
}

QImage framed(const Picture& pic, const std::function<QImage(int)>& frame)
{
    std::vector<QImage> frames;
    for (int i = 0; i < pic.frames; ++i)
        frames.push_back(frame(i));
    return joinFrames(frames, pic.width);
}

QColor ramp(int y, std::initializer_list<std::pair<int, QColor>> stops)
{
    auto prev = *stops.begin();
    if (y <= prev.first)
        return prev.second;
    for (const auto& stop : stops) {
        if (y <= stop.first)
            return mix(prev.second, stop.second, qreal(y - prev.first) / std::max(1, stop.first - prev.first));
        prev = stop;
    }
    return prev.second;
}

QImage roundTitleEnd(const QImage& content, bool left, qreal radius, const QColor& rim)
{
    const int w = content.width();
    const int h = content.height();
    QImage out = rgbImage(w, h, kMagenta);
    QImage layer = layerImage(w, h);
    {
        LayerPainter p(&layer);
        // Only the outer top corner is round: a big rounded rectangle reaching past the
        // other sides.
        const QRectF shape = left ? QRectF(0, 0, w + 4 * radius, h + 4 * radius)
                                  : QRectF(-4 * radius, 0, w + 4 * radius, h + 4 * radius);
        p.setBrush(QBrush(content));
        p.drawPath(rounded(shape, radius));
    }
    stamp(out, layer, {0, 0}, rim, 24);
    return out;
}

namespace {

bool valid(const Face& f) { return f.top.isValid(); }

// The frame index of a four-state mark picture: checked, unchecked, both disabled.
struct MarkState {
    bool checked;
    bool disabled;
};
MarkState markState(int i) { return {i == 0 || i == 2, i >= 2}; }

Face boxFace(const Style& s, MarkState st)
{
    if (st.checked && valid(s.checked))
        return st.disabled ? (valid(s.checkedDisabled) ? s.checkedDisabled : fadedFace(s.checked, s.form)) : s.checked;
    return st.disabled ? (valid(s.boxDisabled) ? s.boxDisabled : fadedFace(s.box, s.form)) : s.box;
}

QPainterPath pointerPath(const QRectF& r, bool sideways)
{
    // A thumb that points down (or right) at the track.
    QPainterPath body, point;
    QPolygonF tip;
    if (!sideways) {
        const qreal len = std::floor(r.width() / 2);
        const QRectF box(r.left(), r.top(), r.width(), r.height() - len);
        body.addRoundedRect(box.adjusted(0, 0, 0, 1), 2, 2);
        tip << QPointF(r.left(), box.bottom() - 1) << QPointF(r.right(), box.bottom() - 1) << QPointF(r.center().x(), r.bottom());
    } else {
        const qreal len = std::floor(r.height() / 2);
        const QRectF box(r.left(), r.top(), r.width() - len, r.height());
        body.addRoundedRect(box.adjusted(0, 0, 1, 0), 2, 2);
        tip << QPointF(box.right() - 1, r.top()) << QPointF(box.right() - 1, r.bottom()) << QPointF(r.right(), r.center().y());
    }
    point.addPolygon(tip);
    point.closeSubpath();
    return body.united(point);
}

}  // namespace

QImage checkBoxPicture(const Picture& pic, const Style& s)
{
    const int fw = pic.frameWidth();
    const int box = std::min(fw, pic.height) - (fw > 13 ? 2 : 0);
    const QRect r((fw - box) / 2, (pic.height - box) / 2, box, box);
    return framed(pic, [&](int i) {
        const MarkState st = markState(i);
        QImage f = rgbImage(fw, pic.height, s.form);
        QImage layer = layerImage(fw, pic.height);
        {
            LayerPainter p(&layer);
            paintFace(p, r, s.boxRadius, boxFace(s, st));
            if (st.checked)
                drawCheck(p, r.adjusted(3, 3, -3, -3), st.disabled ? s.markDisabled : s.mark);
        }
        stamp(f, layer, {0, 0}, s.form);
        return f;
    });
}

QImage radioPicture(const Picture& pic, const Style& s)
{
    const int fw = pic.frameWidth();
    const int d = std::min(fw, pic.height) - (fw > 13 ? 2 : 0);
    const QRectF r((fw - d) / 2, (pic.height - d) / 2, d, d);
    return framed(pic, [&](int i) {
        const MarkState st = markState(i);
        QImage f = rgbImage(fw, pic.height, kMagenta);
        QImage layer = layerImage(fw, pic.height);
        {
            LayerPainter p(&layer);
            paintFace(p, r, d / 2.0, boxFace(s, st));
            if (st.checked) {
                const qreal dot = d >= 14 ? 6 : 5;
                const QRectF dr(r.center().x() - dot / 2, r.center().y() - dot / 2, dot, dot);
                const QColor c = st.disabled ? s.markDisabled : s.mark;
                p.setBrush(vertical(dr.top(), dr.bottom(), {{0, shade(c, 0.35)}, {1, c}}));
                p.drawEllipse(dr);
            }
        }
        stamp(f, layer, {0, 0}, s.form);
        return f;
    });
}

QImage checkListPicture(const Picture& pic, const Style& s)
{
    const int fw = pic.frameWidth();
    const int box = std::min(fw, pic.height) - 1;
    const QRect r((fw - box) / 2, (pic.height - box) / 2, box, box);
    return framed(pic, [&](int i) {
        const MarkState st = markState(i);
        QImage f = rgbImage(fw, pic.height, s.list);
        QImage layer = layerImage(fw, pic.height);
        {
            LayerPainter p(&layer);
            paintFace(p, r, std::min<qreal>(s.boxRadius, 1.5), boxFace(s, st));
            if (st.checked)
                drawCheck(p, r.adjusted(1, 1, -1, -1), st.disabled ? s.markDisabled : s.mark);
        }
        stamp(f, layer, {0, 0}, s.list);
        return f;
    });
}

QImage scrollBarButtonPicture(const Picture& pic, const Style& s, qreal radius)
{
    const int fw = pic.frameWidth();
    return framed(pic, [&](int i) {
        const int state = i % 3;
        const bool down = i >= 3;
        QImage f = rgbImage(fw, pic.height, s.scrollTrack);
        QImage layer = layerImage(fw, pic.height);
        {
            LayerPainter p(&layer);
            const Face& face = state == 0 ? s.normal : state == 1 ? s.hover : s.pressed;
            paintFace(p, QRectF(0, 0, fw, pic.height), radius, face);
            const QRect box = QRect(0, 0, fw, pic.height).translated(state == 2 ? QPoint(1, 1) : QPoint(0, 0));
            drawGlyph(p, down ? Glyph::ArrowDown : Glyph::ArrowUp, box, 7, 1, s.arrow.isValid() ? s.arrow : s.mark);
        }
        stamp(f, layer, {0, 0}, s.scrollTrack);
        return f;
    });
}

QImage scrollThumbPicture(const Picture& pic, const Style& s)
{
    const int fw = pic.frameWidth();
    return framed(pic, [&](int i) {
        QImage f = rgbImage(fw, pic.height, kMagenta);
        const Face& face = i == 0 ? s.thumb : i == 1 ? s.thumbHover : s.thumbPressed;
        stampFace(f, QRectF(0, 0, fw, pic.height), std::min(fw, pic.height) / 2.0 - 0.5, face, s.scrollTrack);
        return f;
    });
}

QImage menuScrollButtonPicture(const Picture& pic, const Style& s)
{
    const int fw = pic.frameWidth();
    return framed(pic, [&](int i) {
        const bool hot = i % 2 == 1;
        const bool down = i >= 2;
        QImage f = rgbImage(fw, pic.height, s.list);
        QPainter p(&f);
        if (hot) {
            p.fillRect(0, 0, fw, pic.height, s.menuHoverBorder);
            p.fillRect(1, 1, fw - 2, pic.height - 2, s.menuHover);
        }
        drawGlyph(p, down ? Glyph::ArrowDown : Glyph::ArrowUp, QRect(0, 0, fw, pic.height), 7, 1, s.menuMark);
        return f;
    });
}

QImage trackBarPicture(const Picture& pic, const Style& s)
{
    QImage f = rgbImage(pic.width, pic.height, kMagenta);
    stampFace(f, QRectF(0, 0, pic.width, pic.height), pic.height / 2.0, s.groove, s.form);
    return f;
}

QImage sliderPicture(const Picture& pic, const Style& s, bool sideways)
{
    QImage f = rgbImage(pic.width, pic.height, kMagenta);
    QImage layer = layerImage(pic.width, pic.height);
    {
        LayerPainter p(&layer);
        const QRectF r(0, 0, pic.width, pic.height);
        p.setBrush(s.slider.border);
        p.drawPath(pointerPath(r, sideways));
        const QRectF in = sideways ? r.adjusted(1, 1, -1.5, -1) : r.adjusted(1, 1, -1, -1.5);
        p.setBrush(vertical(in.top(), in.bottom(), {{0, s.slider.top}, {1, s.slider.bottom}}));
        p.drawPath(pointerPath(in, sideways));
        if (s.slider.innerLight.isValid())
            p.fillRect(QRectF(in.left() + 1, in.top(), in.width() - 2 - (sideways ? in.height() / 2 : 0), 1),
                       s.slider.innerLight);
    }
    stamp(f, layer, {0, 0}, s.form);
    // The engine keys on the top-left pixel: keep it the background.
    f.setPixel(0, 0, kMagenta.rgb());
    return f;
}

QImage tabPicture(const Picture& pic, const Style& s)
{
    QImage f = rgbImage(pic.width, pic.height, kMagenta);
    // Taller than the picture so that the bottom stays open towards the page.
    stampFace(f, QRectF(0, 0, pic.width, pic.height + 4), 3, s.tab, s.form);
    return f;
}

QImage tabLinePicture(const Picture& pic, const Style& s)
{
    return columnPicture(pic.width, pic.height, [&](int y) {
        if (y == 0)
            return s.tabLine;
        if (y == 1)
            return s.tabLineLight;
        return mix(s.tabLineLight, s.form, (y - 1.0) / std::max(1, pic.height - 2));
    });
}

QImage handlePicture(const Picture& pic, const Style& s)
{
    QImage f = rgbImage(pic.width, pic.height, s.form);
    stampFace(f, QRectF(0, 0, pic.width, pic.height), 2, s.handle, s.form);
    QPainter p(&f);
    const int x = pic.width / 2 - 1;
    const int count = 6;
    const int top = pic.height / 2 - count * 3 / 2;
    for (int k = 0; k < count; ++k) {
        p.fillRect(x + 1, top + k * 3 + 1, 1, 1, s.gripLight);
        p.fillRect(x, top + k * 3, 1, 1, s.grip);
    }
    return f;
}

QImage drawGeneric(const Picture& pic, const Style& s)
{
    const std::string& e = pic.element;
    if (e == "CHECKBOX")
        return checkBoxPicture(pic, s);
    if (e == "RADIOBUTTON")
        return radioPicture(pic, s);
    if (e == "CHECKLIST")
        return checkListPicture(pic, s);
    if (e == "SCROLLBAR_BUTTON")
        return scrollBarButtonPicture(pic, s, 2);
    if (e == "SCROLLBAR_TRACK")
        return scrollThumbPicture(pic, s);
    if (e == "SCROLLBUTTON")
        return menuScrollButtonPicture(pic, s);
    if (e == "TRACKBAR_BAR")
        return trackBarPicture(pic, s);
    if (e == "TRACKBAR_SLIDER")
        return sliderPicture(pic, s, false);
    if (e == "TRACKBAR_SLIDER_V")
        return sliderPicture(pic, s, true);
    if (e == "TAB")
        return tabPicture(pic, s);
    if (e == "TAB_LINE")
        return tabLinePicture(pic, s);
    if (e == "SIDECHENNEL_HANDLE")
        return handlePicture(pic, s);
    return {};
}

QImage mainIcon(int size)
{
    // Designed at 16 and at 32 pixels; other sizes scale the nearest design at or below.
    const int design = size >= 32 ? 32 : 16;
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const bool scaled = size != design;
    if (scaled)
        p.scale(qreal(size) / design, qreal(size) / design);
    size = design;
    const qreal k = size / 32.0;
    const QRectF body = size >= 32 ? QRectF(2, 1, 28, 28) : QRectF(0, 0, 16, 16);
    const qreal radius = size >= 32 ? 6 : 3.5;
    if (size >= 32) {
        p.setBrush(QColor(0, 0, 0, 70));
        p.drawPath(rounded(body.translated(0, 2), radius));
    }
    p.setBrush(QColor(0x0E, 0x2F, 0x78));
    p.drawPath(rounded(body, radius));
    const QRectF in = body.adjusted(1, 1, -1, -1);
    p.setBrush(vertical(in.top(), in.bottom(), {{0, QColor(0x4C, 0xA8, 0xFF)}, {0.55, QColor(0x1F, 0x68, 0xD8)}, {1, QColor(0x14, 0x45, 0xA8)}}));
    p.drawPath(rounded(in, radius - 1));
    const QRectF sheen(in.left() + 1, in.top() + 1, in.width() - 2, std::round(in.height() * 0.45));
    p.setBrush(vertical(sheen.top(), sheen.bottom(), {{0, QColor(255, 255, 255, 150)}, {1, QColor(255, 255, 255, 25)}}));
    p.drawPath(rounded(sheen, radius - 2));
    // The play mark: a video, going somewhere.
    QPolygonF play;
    if (size >= 32)
        play << QPointF(11, 7.5) << QPointF(11, 22.5) << QPointF(23, 15);
    else
        play << QPointF(5, 3.5) << QPointF(5, 12.5) << QPointF(12.5, 8);
    if (size >= 32) {
        p.setBrush(QColor(0, 0x20, 0x60, 90));
        p.drawPolygon(play.translated(0, 1));
    }
    p.setBrush(Qt::white);
    p.drawPolygon(play);
    if (size >= 32) {
        // A small orange badge with an arrow: converted for the pocket screen.
        const QRectF badge(19 * k, 18 * k, 12 * k, 12 * k);
        p.setBrush(QColor(0x8A, 0x3A, 0x00));
        p.drawEllipse(badge);
        p.setBrush(vertical(badge.top(), badge.bottom(), {{0, QColor(0xFF, 0xC4, 0x4A)}, {1, QColor(0xF0, 0x78, 0x10)}}));
        p.drawEllipse(badge.adjusted(1, 1, -1, -1));
        p.setRenderHint(QPainter::Antialiasing, scaled);
        p.fillRect(QRect(24, 21, 2, 4), Qt::white);
        p.fillRect(QRect(22, 24, 6, 1), Qt::white);
        p.fillRect(QRect(23, 25, 4, 1), Qt::white);
        p.fillRect(QRect(24, 26, 2, 1), Qt::white);
    }
    return icon;
}

}  // namespace artgen
