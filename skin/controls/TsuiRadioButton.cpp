#include "TsuiRadioButton.h"

#include <QApplication>

TsuiRadioButton::TsuiRadioButton(QWidget* parent) : TsuiCheckBox(parent)
{
    connect(qApp, &QApplication::focusChanged, this, &TsuiRadioButton::FocusMoved);
}

void TsuiRadioButton::CheckStateChanged()
{
    if (!Checked())
        return;
    UnCheckGroup();
    if (!SuiIsLoading(this))
        emit OnClick();
}

void TsuiRadioButton::DoClick()
{
    if (!Checked())
        SetChecked(true);
}

void TsuiRadioButton::UnCheckGroup()
{
    QWidget* parent = parentWidget();
    if (!parent)
        return;
    for (QObject* child : parent->children()) {
        auto* other = qobject_cast<TsuiRadioButton*>(child);
        if (other && other != this && other->m_groupIndex == m_groupIndex)
            other->SetChecked(false);
    }
}

void TsuiRadioButton::FocusMoved(QWidget* old, QWidget* now)
{
    // Moving through a radio group with the arrow keys selects the item reached.
    if (now == this && old && old != this && old->inherits("TsuiRadioGroupButton"))
        Click();
}
