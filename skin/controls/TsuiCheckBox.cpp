#include "TsuiCheckBox.h"

#include "skin/SuiPicture.h"
#include "skin/controls/TsuiCustomButton.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>

TsuiCheckBox::TsuiCheckBox(QWidget* parent)
    : QWidget(parent), m_fileTheme([this] { SetUIStyle(Sui::DeepBlue); })
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
    resize(93, 17);
    m_uiStyle = GetSUIFormStyle(parent ? parent->window() : nullptr);
}

void TsuiCheckBox::SetChecked(bool checked)
{
    if (checked == m_checked)
        return;
    m_checked = checked;
    update();
    CheckStateChanged();
}

void TsuiCheckBox::CheckStateChanged()
{
    if (!SuiIsLoading(this))
        emit OnClick();
}

void TsuiCheckBox::DoClick()
{
    Toggle();
    SetChecked(!m_checked);
}

void TsuiCheckBox::Click()
{
    DoClick();
}

void TsuiCheckBox::SetUIStyle(TsuiUIStyle look)
{
    m_uiStyle = look;
    AdjustAutoSize();
    update();
}

void TsuiCheckBox::SetFileTheme(TsuiFileTheme* fileTheme)
{
    m_fileTheme.Set(fileTheme);
    SetUIStyle(m_uiStyle);
}

void TsuiCheckBox::SetTransparent(bool on)
{
    m_transparent = on;
    update();
}

void TsuiCheckBox::SetAutoSize(bool on)
{
    m_autoSize = on;
    AdjustAutoSize();
    update();
}

void TsuiCheckBox::SetCaption(const QString& caption)
{
    m_caption = caption;
    UpdateAccelerator();
    AdjustAutoSize();
    update();
}

void TsuiCheckBox::SetTabStop(bool on)
{
    m_tabStop = on;
    // Without a tab stop the control is still focused by a click or by code.
    setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
    update();
}

void TsuiCheckBox::UpdateAccelerator()
{
    if (m_shortcutId) {
        releaseShortcut(m_shortcutId);
        m_shortcutId = 0;
    }
    const QChar accelerator = SuiAccelerator(m_caption);
    if (!accelerator.isNull())
        m_shortcutId = grabShortcut(QKeySequence(Qt::ALT | QKeySequence(QString(accelerator))[0].key()));
}

int TsuiCheckBox::FrameIndex() const
{
    if (m_checked)
        return isEnabled() ? 1 : 3;
    return isEnabled() ? 2 : 4;
}

QImage TsuiCheckBox::Picture() const
{
    QImage picture;
    SuiBitmap(FileTheme(), m_uiStyle, GetPicThemeIndex(), &picture, 4, FrameIndex());
    return picture;
}

void TsuiCheckBox::AdjustAutoSize()
{
    if (!m_autoSize)
        return;
    const QImage picture = Picture();
    const QFontMetrics fm(font());
    const int h = std::max(fm.height() + 2, picture.height()) + 4;
    // The '&' of an accelerator is not drawn, so it takes no room.
    const int w = picture.width() + fm.horizontalAdvance(SuiStripAccelerator(m_caption)) + 8;
    if (size() != QSize(w, h))
        resize(w, h);
}

void TsuiCheckBox::paintEvent(QPaintEvent*)
{
    AdjustAutoSize();
    SuiOffscreen offscreen(this);
    QPainter& canvas = offscreen.Painter();
    QImage picture = Picture();
    if (GetPicTransparent() && !picture.isNull())
        picture = SuiKeyedImage(picture, picture.pixel(0, picture.height() - 1));

    if (m_transparent)
        DoTrans(canvas, this);
    else
        canvas.fillRect(rect(), palette().color(backgroundRole()));

    canvas.drawImage(1, (height() - picture.height()) / 2, picture);

    const QFontMetrics fm(font());
    const int textTop = (height() - fm.height()) / 2;
    canvas.setFont(font());
    // The caption keeps the font colour when disabled; the picture shows the state.
    canvas.setPen(palette().color(QPalette::Active, foregroundRole()));
    canvas.drawText(RectLTRB(picture.width() + 4, textTop, width(), height()),
                    Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic, m_caption);

    if (NeedDrawFocus()) {
        const QRect box = RectLTRB(picture.width() + 3, textTop, width(), textTop + fm.height() + 2);
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
}

bool TsuiCheckBox::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut) {
        if (isEnabled()) {
            if (focusPolicy() != Qt::NoFocus && isVisible())
                setFocus(Qt::ShortcutFocusReason);
            Click();
        }
        return true;
    }
    return QWidget::event(event);
}

void TsuiCheckBox::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        AdjustAutoSize();
        update();
    } else if (event->type() == QEvent::EnabledChange) {
        update();
    }
}

void TsuiCheckBox::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_leftDown = true;
    if (focusPolicy() != Qt::NoFocus && isEnabled() && isVisible())
        setFocus(Qt::MouseFocusReason);
}

void TsuiCheckBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A check box takes a fast second click as a second click; a radio button as
    // a double click, whose release selects nothing more.
    if (!WantsDoubleClicks()) {
        mousePressEvent(event);
        return;
    }
    m_leftDown = false;
    QWidget::mouseDoubleClickEvent(event);
}

void TsuiCheckBox::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !m_leftDown)
        return;
    m_leftDown = false;
    if (rect().contains(event->position().toPoint()))
        Click();
}

void TsuiCheckBox::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (enter && TsuiCustomButton::OfferDialogKey(window(), key, event->modifiers())) {
        // Enter went to a Default button; its release must not toggle this one too.
        m_keyDown = false;
        event->accept();
        return;
    }
    if ((key == Qt::Key_Space || enter) && WantKeyUp()) {
        if (!event->isAutoRepeat())
            m_keyDown = true;
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TsuiCheckBox::keyReleaseEvent(QKeyEvent* event)
{
    const int key = event->key();
    if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) && WantKeyUp() &&
        !event->isAutoRepeat()) {
        const bool pressed = std::exchange(m_keyDown, false);
        if (pressed && isEnabled() && hasFocus()) {
            update();
            Click();
        }
        event->accept();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void TsuiCheckBox::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void TsuiCheckBox::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    m_keyDown = false;
    update();
}
