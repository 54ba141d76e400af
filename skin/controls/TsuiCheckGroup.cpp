#include "TsuiCheckGroup.h"

#include "skin/SuiError.h"
#include "skin/controls/TsuiCheckGroupButton.h"

#include <QEvent>
#include <QFocusEvent>

TsuiCheckGroup::TsuiCheckGroup(QWidget* parent) : TsuiCustomGroupBox(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void TsuiCheckGroup::SetItems(const QStringList& items)
{
    m_items = items;
    UpdateButtons();
}

void TsuiCheckGroup::SetColumns(int columns)
{
    if (columns < 1)
        return;
    m_columns = columns;
    ArrangeButtons();
}

void TsuiCheckGroup::SetTopMargin(int margin)
{
    if (margin < 0)
        return;
    m_topMargin = margin;
    ArrangeButtons();
}

TsuiCheckBox* TsuiCheckGroup::CreateAButton()
{
    return new TsuiCheckGroupButton(this);
}

void TsuiCheckGroup::UpdateButtons()
{
    const int lines = int(m_items.size());
    bool created = false;
    while (Count() < lines) {
        TsuiCheckBox* button = CreateAButton();
        button->setFont(font());
        button->SetAutoSize(true);
        button->SetFileTheme(FileTheme());
        button->SetUIStyle(UIStyle());
        button->SetTransparent(Transparent());
        button->SetTabStop(false);
        connect(button, &TsuiCheckBox::OnClick, this, &TsuiCheckGroup::ItemClick);
        button->show();
        m_buttons.push_back(button);
        created = true;
    }
    while (Count() > lines) {
        delete m_buttons.back();
        m_buttons.pop_back();
    }
    for (int i = 0; i < lines; ++i) {
        m_buttons[i]->SetCaption(m_items[i]);
        m_buttons[i]->SetAutoSize(true);
    }
    ArrangeButtons();
    if (created)
        SetTransparent(Transparent());
}

void TsuiCheckGroup::ArrangeButtons()
{
    const int n = Count();
    if (n == 0)
        return;
    const QRect client = GetClient();
    const int k = m_columns;
    const int top = client.top() + m_topMargin;
    const int available = client.top() + client.height() - top;
    const int rows = (n + k - 1) / k;
    const int columnWidth = (width() - 10) / k;
    const int rowHeight = available / rows;
    const int firstTop = (available % rows) / 2 + top;
    for (int i = 0; i < n; ++i)
        m_buttons[i]->move((i / rows) * columnWidth + 8, (i % rows) * rowHeight + firstTop);
}

TsuiCheckBox* TsuiCheckGroup::Item(int index) const
{
    return index >= 0 && index < Count() ? m_buttons[index] : nullptr;
}

TsuiCheckBox* TsuiCheckGroup::CheckedIndex(int index, const char* what) const
{
    TsuiCheckBox* item = Item(index);
    if (!item)
        throw ESuiError(std::string(what) + ": list index out of bounds (" + std::to_string(index) + ")");
    return item;
}

bool TsuiCheckGroup::Checked(int index) const
{
    const TsuiCheckBox* item = Item(index);
    return item && item->Checked();
}

void TsuiCheckGroup::SetChecked(int index, bool checked)
{
    CheckedIndex(index, "Checked")->SetChecked(checked);
}

bool TsuiCheckGroup::ItemEnabled(int index) const
{
    const TsuiCheckBox* item = Item(index);
    return item && item->isEnabled();
}

void TsuiCheckGroup::SetItemEnabled(int index, bool enabled)
{
    CheckedIndex(index, "ItemEnabled")->setEnabled(enabled);
}

void TsuiCheckGroup::UpdateUIStyle(TsuiUIStyle look, TsuiFileTheme* fileTheme)
{
    TsuiCustomGroupBox::UpdateUIStyle(look, fileTheme);
    for (TsuiCheckBox* button : m_buttons) {
        button->SetFileTheme(fileTheme);
        button->SetUIStyle(look);
        QPalette pal = button->palette();
        pal.setColor(QPalette::Window, platform::ToQColor(Color()));
        button->setPalette(pal);
    }
}

void TsuiCheckGroup::SetTransparent(bool on)
{
    TsuiCustomGroupBox::SetTransparent(on);
    for (TsuiCheckBox* button : m_buttons)
        button->SetTransparent(on);
}

void TsuiCheckGroup::ItemClick()
{
    NewClick();
    if (!SuiIsLoading(this))
        emit OnClick();
}

void TsuiCheckGroup::FocusUpdate()
{
    if (TsuiCheckBox* first = Item(0); first && first->isEnabled() && first->isVisible())
        first->setFocus(Qt::OtherFocusReason);
}

void TsuiCheckGroup::FocusNextItem(const TsuiCheckBox* from, bool forward)
{
    const int n = Count();
    int at = -1;
    for (int i = 0; i < n; ++i)
        if (m_buttons[i] == from)
            at = i;
    if (at < 0)
        return;
    // Round the items, past those that cannot take the focus.
    for (int step = 1; step < n; ++step) {
        TsuiCheckBox* next = m_buttons[((at + (forward ? step : -step)) % n + n) % n];
        if (next->isEnabled() && next->isVisible()) {
            next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

void TsuiCheckGroup::resizeEvent(QResizeEvent* event)
{
    TsuiCustomGroupBox::resizeEvent(event);
    ArrangeButtons();
}

void TsuiCheckGroup::changeEvent(QEvent* event)
{
    TsuiCustomGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        for (TsuiCheckBox* button : m_buttons)
            button->setFont(font());
        ArrangeButtons();
    }
}

void TsuiCheckGroup::focusInEvent(QFocusEvent* event)
{
    TsuiCustomGroupBox::focusInEvent(event);
    FocusUpdate();
}
