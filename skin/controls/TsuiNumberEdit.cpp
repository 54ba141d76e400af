#include "TsuiNumberEdit.h"

#include "platform/MessageBox.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <algorithm>
#include <cmath>

TsuiNumberEdit::TsuiNumberEdit(QWidget* parent) : TsuiEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(this, &QLineEdit::textChanged, this, &TsuiNumberEdit::TextChanged);
}

QString TsuiNumberEdit::FormatValue(double value, const QString& mask)
{
    const QLocale locale;
    if (!std::isfinite(value))
        value = 0;
    int intMin = 0, fracMax = 0, fracMin = 0;
    bool grouping = false, inFraction = false;
    for (QChar c : mask) {
        if (c == QLatin1Char('.')) {
            inFraction = true;
        } else if (c == QLatin1Char(',') && !inFraction) {
            grouping = true;
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            if (inFraction) {
                ++fracMax;
                if (c == QLatin1Char('0'))
                    fracMin = fracMax;
            } else if (c == QLatin1Char('0')) {
                ++intMin;
            }
        }
    }
    if (mask.isEmpty()) {
        fracMax = 15;
        intMin = 1;
    }

    const QString digits = QString::number(std::fabs(value), 'f', fracMax);
    const qsizetype point = digits.indexOf(QLatin1Char('.'));
    QString whole = point < 0 ? digits : digits.left(point);
    QString fraction = point < 0 ? QString() : digits.mid(point + 1);
    while (fraction.size() > fracMin && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    while (whole.size() > intMin && whole.startsWith(QLatin1Char('0')))
        whole.remove(0, 1);
    while (whole.size() < intMin)
        whole.prepend(QLatin1Char('0'));
    if (whole.isEmpty() && fraction.isEmpty())
        whole = QStringLiteral("0");
    if (grouping)
        for (qsizetype at = whole.size() - 3; at > 0; at -= 3)
            whole.insert(at, locale.groupSeparator());

    QString text = whole;
    if (!fraction.isEmpty())
        text += locale.decimalPoint() + fraction;
    const QString shown = whole + fraction;
    const bool shownNonZero =
        std::any_of(shown.begin(), shown.end(), [](QChar c) { return c >= QLatin1Char('1') && c <= QLatin1Char('9'); });
    if (value < 0 && shownNonZero)
        text.prepend(QLatin1Char('-'));
    return text;
}

bool TsuiNumberEdit::Parse(const QString& text, double& value)
{
    const QLocale locale;
    QString plain = text;
    plain.remove(locale.groupSeparator());
    bool ok = false;
    const double parsed = locale.toDouble(plain, &ok);
    if (!ok || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

void TsuiNumberEdit::SetValue(double value)
{
    m_value = value;
    setText(FormatValue(value, m_mask));
}

void TsuiNumberEdit::TextChanged(const QString& text)
{
    if (text.isEmpty() || text == QLatin1String("-")) {
        emit OnChange();
        return;
    }
    if (Parse(text, m_value)) {
        emit OnChange();
        return;
    }
    // Not a number: the previous value comes back and the user is told, as for any
    // error raised while handling input. The restored text is ours, so it cannot loop.
    if (m_restoring)
        return;
    m_restoring = true;
    setText(FormatValue(m_value, m_mask));
    m_restoring = false;
    const std::string message = "'" + text.toStdString() + "' is not a valid floating point value";
    platform::MessageBoxA(window(), message.c_str(), "Error", platform::MB_OK | platform::MB_ICONERROR);
}

void TsuiNumberEdit::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    // Keys that type nothing (arrows, Home, Delete, clipboard shortcuts) edit as usual;
    // a pasted text is checked like any other change.
    if (typed.isEmpty() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QLocale locale;
    const QString current = text();
    const int caret = hasSelectedText() ? selectionStart() : cursorPosition();
    bool accept = false;
    if (typed.size() == 1) {
        const QChar c = typed[0];
        if (c.isDigit() && c.unicode() < 128)
            accept = true;
        else if (typed == locale.decimalPoint())
            accept = m_mask.contains(QLatin1Char('.')) && !current.contains(locale.decimalPoint());
        else if (event->key() == Qt::Key_Backspace)
            accept = true;
        else if (c == QLatin1Char('-'))
            accept = m_mask.contains(QLatin1Char('-')) && caret == 0 && !current.contains(QLatin1Char('-'));
    } else if (typed == locale.decimalPoint()) {
        accept = m_mask.contains(QLatin1Char('.')) && !current.contains(locale.decimalPoint());
    }
    if (accept) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QApplication::beep();
    // Enter and Escape still reach the window's default and cancel buttons.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape)
        event->ignore();
    else
        event->accept();
}

void TsuiNumberEdit::SelectSigns()
{
    if (m_autoSelectSigns <= 0 || !AutoSelect())
        return;
    const int length = int(text().size());
    const int count = std::min(m_autoSelectSigns, length);
    setSelection(length - count, count);
}

void TsuiNumberEdit::focusInEvent(QFocusEvent* event)
{
    TsuiEdit::focusInEvent(event);
    SelectSigns();
}

void TsuiNumberEdit::mouseReleaseEvent(QMouseEvent* event)
{
    TsuiEdit::mouseReleaseEvent(event);
    SelectSigns();
}

void TsuiNumberEdit::focusOutEvent(QFocusEvent* event)
{
    TsuiEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason)
        return;
    if (text().isEmpty() || text() == QLatin1String("-"))
        setText(QStringLiteral("0"));
    SetValue(m_value);
}
