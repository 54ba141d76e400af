#include "TsuiCustomButton.h"

#include "skin/SuiPicture.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

namespace {

bool IsEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool IsDialogKey(int key)
{
    return IsEnterKey(key) || key == Qt::Key_Escape;
}

// Return, Enter and Escape that reach a window unused (no control accepted them) are
// offered to the window's skinned buttons, before the window's own handling (a
// QDialog would otherwise reject or pick its own default).
class DialogKeyRouter : public QObject {
public:
    using QObject::QObject;

    static void Install()
    {
        static QPointer<DialogKeyRouter> router;
        if (!router && qApp) {
            router = new DialogKeyRouter(qApp);
            qApp->installEventFilter(router);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto* window = static_cast<QWidget*>(watched);
        if (!window->isWindow())
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (!IsDialogKey(key->key()))
            return false;
        return TsuiCustomButton::OfferDialogKey(window, key->key(), key->modifiers());
    }
};

// Leading and trailing blanks and control characters do not count as a caption.
bool HasVisibleCaption(const QString& caption)
{
    for (QChar c : caption)
        if (c.unicode() > 32)
            return true;
    return false;
}

// A focused push button takes Enter itself, away from the Default one.
bool TakesEnterWhenFocused(const QWidget* widget)
{
    const auto* button = qobject_cast<const TsuiCustomButton*>(widget);
    return button && button->IsPushButton();
}

}  // namespace

TsuiCustomButton::TsuiCustomButton(QWidget* parent)
    : QWidget(parent), m_fileTheme([this] { SetUIStyle(Sui::DeepBlue); })
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
    m_uiStyle = GetSUIFormStyle(parent ? parent->window() : nullptr);
    DialogKeyRouter::Install();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { FocusChanged(now); });
}

TsuiCustomButton::~TsuiCustomButton() = default;

void TsuiCustomButton::SetAutoSize(bool on)
{
    m_autoSize = on;
    AutoSizeChanged();
    update();
}

void TsuiCustomButton::AutoSizeChanged()
{
    if (!m_autoSize)
        return;
    QImage picture;
    GetInsideThemeBitmap(m_uiStyle, SUI_THEME_BUTTON_IMAGE, &picture);
    const int height = picture.height() > 0 ? picture.height() : 21;
    const int width = picture.width() > 0 ? picture.width() : 74;
    resize(width / 3, height);
}

void TsuiCustomButton::SetCaption(const QString& caption)
{
    m_caption = caption;
    UpdateAccelerator();
    CaptionChanged();
    update();
}

void TsuiCustomButton::UpdateAccelerator()
{
    if (m_shortcutId) {
        releaseShortcut(m_shortcutId);
        m_shortcutId = 0;
    }
    const QChar accelerator = SuiAccelerator(m_caption);
    if (!accelerator.isNull())
        m_shortcutId = grabShortcut(QKeySequence(Qt::ALT | QKeySequence(QString(accelerator))[0].key()));
}

void TsuiCustomButton::SetDefault(bool on)
{
    m_default = on;
    // Every button of the window works out again whether Enter is its key now.
    QWidget* form = window();
    QWidget* focused = form->focusWidget();
    const auto buttons = form->findChildren<TsuiCustomButton*>();
    for (TsuiCustomButton* button : buttons)
        if (button->window() == form) {
            button->m_activeDefault = TakesEnterWhenFocused(focused) ? focused == button : button->m_default;
            button->update();
        }
    if (this == form)
        m_activeDefault = m_default;
}

void TsuiCustomButton::FocusChanged(QWidget* now)
{
    if (!now || now->window() != window())
        return;
    m_activeDefault = TakesEnterWhenFocused(now) ? now == this : m_default;
    update();
}

void TsuiCustomButton::SetTransparent(bool on)
{
    m_transparent = on;
    TransparentChanged();
    update();
}

void TsuiCustomButton::SetUIStyle(TsuiUIStyle look)
{
    m_uiStyle = look;
    UIStyleChanged();
    update();
}

void TsuiCustomButton::SetFileTheme(TsuiFileTheme* fileTheme)
{
    m_fileTheme.Set(fileTheme);
    SetUIStyle(m_uiStyle);
}

void TsuiCustomButton::SetPicTransparent(bool on)
{
    m_picTransparent = on;
    update();
}

void TsuiCustomButton::SetFocusedRectMargin(int margin)
{
    m_focusedRectMargin = margin;
    update();
}

void TsuiCustomButton::SetTabStop(bool on)
{
    m_tabStop = on;
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
    update();
}

void TsuiCustomButton::PaintButton(int themeIndex, int picCount, int picIndex, QImage* bitmap) const
{
    SuiBitmap(FileTheme(), m_uiStyle, themeIndex, bitmap, picCount, picIndex);
}

void TsuiCustomButton::paintEvent(QPaintEvent*)
{
    SuiOffscreen offscreen(this);
    QPainter& canvas = offscreen.Painter();

    QImage picture;
    if (!isEnabled())
        PaintButtonDisabled(&picture);
    else if (m_pressed)
        PaintButtonMouseDown(&picture);
    else if (m_mouseOver)
        PaintButtonMouseOn(&picture);
    else
        PaintButtonNormal(&picture);

    if (m_transparent)
        DoTrans(canvas, this);
    else
        canvas.fillRect(rect(), palette().color(backgroundRole()));

    PaintPic(canvas, picture);
    if (hasFocus() && m_tabStop)
        PaintFocus(canvas);
    canvas.setFont(font());
    if (HasVisibleCaption(m_caption))
        PaintText(canvas, m_caption);
}

void TsuiCustomButton::PaintPic(QPainter& canvas, const QImage& picture)
{
    if (picture.isNull())
        return;
    QImage shown = m_picTransparent ? SuiKeyedImage(picture, picture.pixel(0, 0)) : picture;
    if (!isEnabled())
        shown = SuiDisabledImage(shown);
    canvas.drawImage(0, 0, shown);
}

void TsuiCustomButton::PaintFocus(QPainter& canvas)
{
    // A dotted rectangle that inverts what is under it, so it shows on every face.
    const int m = m_focusedRectMargin;
    const QRect box = RectLTRB(m, m, width() - m, height() - m);
    if (box.width() <= 0 || box.height() <= 0)
        return;
    canvas.save();
    QPen pen(Qt::white, 1);
    pen.setDashPattern({1, 1});
    pen.setCosmetic(true);
    canvas.setPen(pen);
    canvas.setBrush(Qt::NoBrush);
    canvas.setCompositionMode(QPainter::CompositionMode_Difference);
    canvas.drawRect(box.adjusted(0, 0, -1, -1));
    canvas.restore();
}

void TsuiCustomButton::DrawCaption(QPainter& canvas, const QRect& rect, int flags, const QString& caption, bool bold)
{
    canvas.save();
    QFont f = font();
    if (bold)
        f.setBold(true);
    canvas.setFont(f);
    flags |= Qt::TextShowMnemonic | Qt::TextSingleLine;
    if (!isEnabled()) {
        canvas.setPen(QColor(0xFF, 0xFF, 0xFF));
        canvas.drawText(rect.translated(1, 1), flags, caption);
        canvas.setPen(QColor(0x80, 0x80, 0x80));
        canvas.drawText(rect, flags, caption);
    } else {
        canvas.setPen(palette().color(foregroundRole()));
        canvas.drawText(m_pressed ? rect.translated(1, 1) : rect, flags, caption);
    }
    canvas.restore();
}

void TsuiCustomButton::PaintText(QPainter& canvas, const QString& caption)
{
    DrawCaption(canvas, rect(), Qt::AlignCenter, caption, m_boldCaption);
    m_boldCaption = false;
}

void TsuiCustomButton::Click()
{
    QPointer<TsuiCustomButton> alive(this);
    if (m_pressed) {
        StopRepeat();
        m_pressed = false;
        update();
    }
    QWidget* form = window();
    if (form != this) {
        if (IsHasProperty(form, "ModalResult"))
            form->setProperty("ModalResult", m_modalResult);
        else if (auto* dialog = qobject_cast<QDialog*>(form)) {
            dialog->setResult(m_modalResult);
            if (m_modalResult != 0)
                dialog->done(m_modalResult);
        }
    }
    if (alive)
        emit OnClick();
}

bool TsuiCustomButton::OfferDialogKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers)
{
    if (!window || !IsDialogKey(key) || (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
        return false;
    const auto buttons = window->findChildren<TsuiCustomButton*>();
    for (TsuiCustomButton* button : buttons) {
        if (button->window() != window || !button->isVisible() || !button->isEnabled())
            continue;
        if ((IsEnterKey(key) && button->m_activeDefault) || (key == Qt::Key_Escape && button->m_cancel)) {
            button->Click();
            return true;
        }
    }
    return false;
}

bool TsuiCustomButton::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut) {
        // Shortcuts go only to enabled widgets; the check keeps a late disable safe.
        if (isEnabled())
            Click();
        return true;
    }
    return QWidget::event(event);
}

void TsuiCustomButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            m_pressed = false;
            StopRepeat();
        }
        EnableChanged();
        update();
    } else if (event->type() == QEvent::FontChange) {
        FontChanged();
    }
    QWidget::changeEvent(event);
}

void TsuiCustomButton::enterEvent(QEnterEvent*)
{
    if (m_mouseOver)
        return;
    m_mouseOver = true;
    update();
    emit OnMouseEnter();
}

void TsuiCustomButton::leaveEvent(QEvent*)
{
    if (m_mouseOver || m_pressed || m_repeatTimer)
        PointerLeft();
}

void TsuiCustomButton::PointerLeft()
{
    const bool wasOver = m_mouseOver;
    m_mouseOver = false;
    m_pressed = false;
    StopRepeat();
    update();
    if (wasOver)
        emit OnMouseExit();
}

void TsuiCustomButton::StopRepeat()
{
    delete m_repeatTimer;
    m_repeatTimer = nullptr;
}

void TsuiCustomButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        if (!m_repeatTimer) {
            m_repeatTimer = new QTimer(this);
            m_repeatTimer->setInterval(std::max(m_repeatInterval, 0));
            // Never early: the first tick comes a whole interval after the press.
            m_repeatTimer->setTimerType(Qt::PreciseTimer);
            connect(m_repeatTimer, &QTimer::timeout, this, &TsuiCustomButton::OnMouseContinuouslyDown);
            // An interval of 0 means a timer that never ticks, not one that fires
            // as fast as the event loop runs.
            if (m_repeatTimer->interval() > 0)
                m_repeatTimer->start();
        }
        if (m_tabStop && focusPolicy() != Qt::NoFocus && isEnabled() && isVisible())
            setFocus(Qt::MouseFocusReason);
        update();
    }
    QWidget::mousePressEvent(event);
}

void TsuiCustomButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    // No double clicks: a fast second click is a second press.
    mousePressEvent(event);
}

void TsuiCustomButton::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    const QPoint p = event->position().toPoint();
    const bool inside = p.x() >= 0 && p.x() <= width() && p.y() >= 0 && p.y() <= height();
    // While the button is held the pointer stays grabbed, so crossing the edge is
    // seen here rather than as a leave or enter of the widget.
    if (!inside && (m_mouseOver || m_pressed))
        PointerLeft();
    else if (inside && !m_mouseOver && (event->buttons() & Qt::LeftButton)) {
        m_mouseOver = true;
        update();
        emit OnMouseEnter();
    }
}

void TsuiCustomButton::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    if (rect().contains(event->position().toPoint())) {
        Click();
        return;
    }
    // The repeat timer never outlives the held button.
    StopRepeat();
    if (m_pressed) {
        m_pressed = false;
        update();
    }
}

void TsuiCustomButton::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (IsDialogKey(key) && OfferDialogKey(window(), key, event->modifiers())) {
        event->accept();
        return;
    }
    if ((key == Qt::Key_Space || IsEnterKey(key)) && isEnabled()) {
        if (!event->isAutoRepeat()) {
            m_pressed = true;
            update();
        }
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TsuiCustomButton::keyReleaseEvent(QKeyEvent* event)
{
    const int key = event->key();
    if ((key == Qt::Key_Space || IsEnterKey(key)) && !event->isAutoRepeat()) {
        if (isEnabled() && m_pressed) {
            m_pressed = false;
            update();
            Click();
        }
        event->accept();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void TsuiCustomButton::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void TsuiCustomButton::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}
