#include "TsuiStatusBar.h"

#include "skin/SuiPicture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kGrip = 16;

// A line from `from` towards `to`, leaving `to` undrawn, as the platform draws lines.
void LineTo(QPainter& canvas, QPoint from, QPoint to, const QColor& color)
{
    const int dx = (to.x() > from.x()) - (to.x() < from.x());
    const int dy = (to.y() > from.y()) - (to.y() < from.y());
    const int steps = std::max(std::abs(to.x() - from.x()), std::abs(to.y() - from.y()));
    for (int i = 0; i < steps; ++i)
        canvas.fillRect(from.x() + i * dx, from.y() + i * dy, 1, 1, color);
}

}  // namespace

TsuiStatusBar::TsuiStatusBar(QWidget* parent)
    : QWidget(parent), m_fileTheme([this] { SetUIStyle(Sui::DeepBlue); }), m_aligner(new SuiAligner(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    resize(parent ? parent->width() : 200, 19);
    SetUIStyle(GetSUIFormStyle(parent ? parent->window() : nullptr));
    m_aligner->SetAlign(SuiLayout::alBottom);
}

void TsuiStatusBar::SetUIStyle(TsuiUIStyle look)
{
    m_uiStyle = look;
    SetColor(SuiColor(m_fileTheme.Get(), look, SUI_THEME_FORM_BACKGROUND_COLOR));
}

void TsuiStatusBar::SetFileTheme(TsuiFileTheme* theme)
{
    m_fileTheme.Set(theme);
    SetUIStyle(m_uiStyle);
}

void TsuiStatusBar::SetColor(platform::COLORREF color)
{
    m_color = color;
    update();
}

void TsuiStatusBar::SetSimplePanel(bool on)
{
    m_simplePanel = on;
    update();
}

void TsuiStatusBar::SetSimpleText(const QString& text)
{
    m_simpleText = text;
    update();
}

void TsuiStatusBar::SetSizeGrip(bool on)
{
    m_sizeGrip = on;
    update();
}

void TsuiStatusBar::SetPanels(const QList<Panel>& panels)
{
    m_panels = panels;
    update();
}

void TsuiStatusBar::SetPanelText(int index, const QString& text)
{
    if (index < 0 || index >= m_panels.size())
        return;
    m_panels[index].text = text;
    update();
}

bool TsuiStatusBar::ParentSizeable() const
{
    const QWidget* form = window();
    if (!form || form == this)
        return false;
    if (form->windowFlags() & Qt::MSWindowsFixedSizeDialogHint)
        return false;
    return form->minimumSize() != form->maximumSize();
}

bool TsuiStatusBar::ParentMaximized() const
{
    const QWidget* form = window();
    return form && form != this && (form->windowState() & Qt::WindowMaximized);
}

bool TsuiStatusBar::GripActive() const
{
    return m_sizeGrip && ParentSizeable() && !ParentMaximized();
}

QRect TsuiStatusBar::GripSquare() const
{
    return RectLTRB(width() - kGrip, height() - kGrip, width() - 1, height() - 1);
}

void TsuiStatusBar::paintEvent(QPaintEvent* /*event*/)
{
    SuiOffscreen offscreen(this);
    QPainter& canvas = offscreen.Painter();
    const QColor color = platform::ToQColor(m_color);
    canvas.fillRect(rect(), color);

    // The bar as the window system draws it: sunken panels, or the simple text.
    const QColor text = palette().color(QPalette::Active, QPalette::WindowText);
    const QColor shadow = platform::ToQColor(platform::kSystemColorFlag | platform::COLOR_BTNSHADOW);
    const QColor light = platform::ToQColor(platform::kSystemColorFlag | platform::COLOR_BTNHIGHLIGHT);
    canvas.setPen(text);
    const int top = 2, bottom = height();
    if (m_simplePanel || m_panels.isEmpty()) {
        const QRect area = RectLTRB(4, top, width() - (m_sizeGrip ? kGrip : 0), bottom);
        canvas.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_simpleText);
    } else {
        int left = 0;
        for (qsizetype i = 0; i < m_panels.size(); ++i) {
            const bool last = i + 1 == m_panels.size();
            const int right = last ? width() : left + m_panels[i].width;
            const QRect box = RectLTRB(left, top, right - 2, bottom);
            canvas.fillRect(box.left(), box.top(), box.width(), 1, shadow);
            canvas.fillRect(box.left(), box.top(), 1, box.height(), shadow);
            canvas.fillRect(box.left(), box.bottom(), box.width(), 1, light);
            canvas.fillRect(box.right(), box.top(), 1, box.height(), light);
            canvas.setPen(text);
            canvas.drawText(box.adjusted(3, 1, -3, -1), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                            m_panels[i].text);
            left = right;
        }
    }

    // On a window the user may size, the grip corner is ours: flat, in the bar's colour.
    if (!ParentSizeable())
        return;
    const QRect square = GripSquare();
    canvas.fillRect(square, color);
    if (m_sizeGrip && !ParentMaximized()) {
        const int left = square.left(), right = square.left() + square.width();
        const int gripTop = square.top() + 1, gripBottom = square.top() + square.height();
        const QColor line = platform::ToQColor(platform::kSystemColorFlag | platform::COLOR_INACTIVECAPTION);
        for (int offset = 1; offset <= 13; offset += 4)
            LineTo(canvas, QPoint(left + offset, gripBottom), QPoint(right, gripTop + offset - 1), line);
    }
    if (height() - kGrip > 3)
        canvas.fillRect(RectLTRB(width() - kGrip, 3, width() - 1, height() - kGrip), color);
}

void TsuiStatusBar::mousePressEvent(QMouseEvent* event)
{
    // The grip sizes the window only while it may be sized and is not maximised.
    if (event->button() != Qt::LeftButton || !GripActive() ||
        !RectLTRB(width() - kGrip, height() - kGrip, width(), height()).contains(event->position().toPoint())) {
        QWidget::mousePressEvent(event);
        return;
    }
    QWindow* handle = window()->windowHandle();
    if (handle && handle->startSystemResize(Qt::BottomEdge | Qt::RightEdge))
        return;
    m_sizing = true;
    m_sizingOrigin = event->globalPosition().toPoint();
    m_sizingStart = window()->size();
}

void TsuiStatusBar::mouseMoveEvent(QMouseEvent* event)
{
    if (m_sizing) {
        const QPoint moved = event->globalPosition().toPoint() - m_sizingOrigin;
        window()->resize(m_sizingStart + QSize(moved.x(), moved.y()));
        return;
    }
    const bool overGrip =
        GripActive() && RectLTRB(width() - kGrip, height() - kGrip, width(), height()).contains(event->position().toPoint());
    if (overGrip)
        setCursor(Qt::SizeFDiagCursor);
    else
        unsetCursor();
    QWidget::mouseMoveEvent(event);
}

void TsuiStatusBar::mouseReleaseEvent(QMouseEvent* event)
{
    m_sizing = false;
    QWidget::mouseReleaseEvent(event);
}
