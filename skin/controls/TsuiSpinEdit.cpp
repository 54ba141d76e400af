#include "TsuiSpinEdit.h"

#include "skin/SuiPicture.h"
#include "skin/controls/TsuiCustomButton.h"
#include "skin/controls/TsuiSpinButtons.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPainter>
#include <limits>

namespace {
constexpr int kSpinButtonWidth = 15;
constexpr int kBorder = 2;  // the flat frame: outer line in BorderColor, inner in the edit colour
}  // namespace

TsuiSpinEdit::TsuiSpinEdit(QWidget* parent)
    : QLineEdit(parent), m_fileTheme([this] { SetUIStyle(Sui::DeepBlue); })
{
    setFrame(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_button = new TsuiSpinButtons(this);
    m_button->resize(kSpinButtonWidth, 20);
    connect(m_button, &TsuiSpinButtons::OnUpClick, this, &TsuiSpinEdit::UpClick);
    connect(m_button, &TsuiSpinButtons::OnDownClick, this, &TsuiSpinEdit::DownClick);
    setText(QStringLiteral("0"));
    resize(121, 21);
    SetUIStyle(GetSUIFormStyle(parent ? parent->window() : nullptr));
    PlaceButtons();
}

void TsuiSpinEdit::SetUIStyle(TsuiUIStyle look)
{
    m_uiStyle = look;
    m_borderColor = SuiColor(FileTheme(), look, SUI_THEME_CONTROL_BORDER_COLOR);
    UIStyleChanged();
    update();
}

void TsuiSpinEdit::UIStyleChanged()
{
    m_button->SetUIStyle(m_uiStyle);
    m_button->SetFileTheme(FileTheme());
}

void TsuiSpinEdit::SetFileTheme(TsuiFileTheme* fileTheme)
{
    m_fileTheme.Set(fileTheme);
    SetUIStyle(m_uiStyle);
}

void TsuiSpinEdit::SetBorderColor(platform::COLORREF color)
{
    m_borderColor = color;
    update();
}

void TsuiSpinEdit::SetEditorEnabled(bool on)
{
    m_editorEnabled = on;
    setAcceptDrops(on);
}

int TsuiSpinEdit::Value() const
{
    bool ok = false;
    const int value = text().toInt(&ok, 10);
    return ok ? value : m_minValue;
}

void TsuiSpinEdit::SetValue(int value)
{
    setText(QString::number(CheckValue(value)));
}

int TsuiSpinEdit::CheckValue(int value) const
{
    if (m_maxValue == m_minValue)
        return value;
    if (value < m_minValue)
        return m_minValue;
    if (value > m_maxValue)
        return m_maxValue;
    return value;
}

void TsuiSpinEdit::Step(int direction)
{
    if (isReadOnly()) {
        SuiMessageBeep();
        return;
    }
    // Without a range the step stops at the ends of int instead of wrapping round.
    const long long next = static_cast<long long>(Value()) + static_cast<long long>(direction) * m_increment;
    const long long limited = std::clamp<long long>(next, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    SetValue(static_cast<int>(limited));
}

void TsuiSpinEdit::UpClick()
{
    Step(+1);
}

void TsuiSpinEdit::DownClick()
{
    Step(-1);
}

bool TsuiSpinEdit::IsValidChar(QChar c) const
{
    if (c == QLatin1Char('\r'))
        return false;
    if (!m_editorEnabled && (c == QLatin1Char('\b') || c.unicode() >= 32))
        return false;
    return c.unicode() < 32 || c == QLatin1Char('-') || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

void TsuiSpinEdit::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        key == Qt::Key_Up ? UpClick() : DownClick();
        event->accept();
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
        if (TsuiCustomButton::OfferDialogKey(window(), key, event->modifiers())) {
            event->accept();
            return;
        }
        if (key != Qt::Key_Escape) {
            SuiMessageBeep();
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)) {
        if (m_editorEnabled && !isReadOnly())
            QLineEdit::keyPressEvent(event);
        event->accept();
        return;
    }
    // Delete edits like a typed character, so it obeys EditorEnabled too.
    if (key == Qt::Key_Delete && !m_editorEnabled) {
        SuiMessageBeep();
        event->accept();
        return;
    }
    QChar c;
    if (key == Qt::Key_Backspace)
        c = QLatin1Char('\b');
    else if (!event->text().isEmpty())
        c = event->text().front();
    if (!c.isNull() && !IsValidChar(c)) {
        SuiMessageBeep();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TsuiSpinEdit::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_editorEnabled) {
        event->accept();
        return;
    }
    QLineEdit::contextMenuEvent(event);
}

void TsuiSpinEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (m_autoSelect && event->reason() != Qt::MouseFocusReason)
        selectAll();
}

void TsuiSpinEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Only a real move of the focus counts as leaving (not a menu or another window).
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    const int value = Value();
    if (CheckValue(value) != value)
        SetValue(value);
}

void TsuiSpinEdit::PlaceButtons()
{
    // Inside the frame, against its right side; the text stops short of the arrows.
    const int clientHeight = height() - 2 * kBorder;
    m_button->setGeometry(kBorder + width() - kSpinButtonWidth - 4, kBorder, kSpinButtonWidth,
                          std::max(clientHeight, 0));
    setTextMargins(kBorder, kBorder, kBorder + kSpinButtonWidth + 2, kBorder);
}

void TsuiSpinEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    PlaceButtons();
}

void TsuiSpinEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    QPainter canvas(this);
    DrawControlBorder(canvas, this, m_borderColor, platform::FromQColor(palette().color(QPalette::Base)), true);
}
