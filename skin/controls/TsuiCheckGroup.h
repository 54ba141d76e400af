#pragma once
// A group box that makes one skinned check box per line of Items and lays them out
// in Columns, filling each column from the top before the next.

#include "skin/controls/TsuiCustomGroupBox.h"

#include <QStringList>
#include <vector>

class TsuiCheckBox;

class TsuiCheckGroup : public TsuiCustomGroupBox {
    Q_OBJECT
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(int Columns READ Columns WRITE SetColumns)
    Q_PROPERTY(int TopMargin READ TopMargin WRITE SetTopMargin)
    Q_PROPERTY(uint FontColor READ GroupFontColor WRITE SetGroupFontColor)

public:
    explicit TsuiCheckGroup(QWidget* parent = nullptr);

    QStringList Items() const { return m_items; }
    // Every change of the lines updates the items: added at the end, removed from
    // the end, captions from the lines.
    void SetItems(const QStringList& items);
    int Columns() const { return m_columns; }
    // Below 1 is refused: the layout divides by it.
    void SetColumns(int columns);
    int TopMargin() const { return m_topMargin; }
    void SetTopMargin(int margin);
    platform::COLORREF GroupFontColor() const { return platform::FromQColor(FontColor()); }
    void SetGroupFontColor(platform::COLORREF color) { SetFontColor(color); }

    int Count() const { return int(m_buttons.size()); }
    TsuiCheckBox* Item(int index) const;
    // False outside the items; writing outside raises ESuiError.
    bool Checked(int index) const;
    void SetChecked(int index, bool checked);
    bool ItemEnabled(int index) const;
    void SetItemEnabled(int index, bool enabled);

    void SetTransparent(bool on) override;

    // Moves the focus from the item at index to the next or previous one.
    void FocusNextItem(const TsuiCheckBox* from, bool forward);

signals:
    void OnClick();

protected:
    virtual TsuiCheckBox* CreateAButton();
    virtual void NewClick() {}
    virtual void FocusUpdate();

    void UpdateUIStyle(TsuiUIStyle look, TsuiFileTheme* fileTheme) override;
    void ArrangeButtons();

    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void UpdateButtons();
    void ItemClick();
    TsuiCheckBox* CheckedIndex(int index, const char* what) const;

    QStringList m_items;
    std::vector<TsuiCheckBox*> m_buttons;
    int m_columns = 1;
    int m_topMargin = 8;
};
