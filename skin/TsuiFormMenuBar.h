#pragma once
// The menu bar of a skinned window frame: one flat button per top-level item of the
// frame's menu, in menu order, wrapping onto further rows when the bar is too narrow.
// Pressing a button drops its item's menu down under it; while one is down, moving the
// pointer to another button, or Left and Right, switch to that item's menu. Buttons and
// background are drawn in the menu's look.

#include "SuiAlign.h"
#include "TsuiMenu.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class QAction;
class QMenu;

class TsuiFormMenuBar : public QWidget {
    Q_OBJECT

public:
    explicit TsuiFormMenuBar(QWidget* frame);

    void SetMenu(TsuiMenu* menu);
    TsuiMenu* Menu() const { return m_menu; }
    platform::COLORREF Color() const { return m_color; }
    void SetColor(platform::COLORREF color);
    int BarHeight() const { return m_barHeight; }
    // Every button, and a row of buttons, is this high.
    void SetBarHeight(int height);

    // Makes the buttons anew from the menu's top-level items.
    void Rebuild();
    // Copies each item's caption and enabled state to its button.
    void UpdateTop();

    int ButtonCount() const { return int(m_buttons.size()); }
    QRect ButtonRect(int index) const { return m_buttons.value(index).rect; }
    QString ButtonCaption(int index) const { return m_buttons.value(index).caption; }
    bool ButtonEnabled(int index) const { return m_buttons.value(index).enabled; }
    // The button whose item's menu is down, -1 for none.
    int OpenIndex() const { return m_openIndex; }
    int HotIndex() const { return m_hotIndex; }

    // Drops the button's menu down (or runs an item without one); false for a missing or
    // disabled button.
    bool OpenButton(int index);
    // Opens the button whose caption has this accelerator letter; false when none has.
    bool OpenByAccelerator(QChar letter);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Button {
        QPointer<QAction> action;
        QString caption;
        bool enabled = true;
        QRect rect;
    };

    void Relayout();
    int IndexAt(const QPoint& point) const;
    QFont BarFont() const;
    void PaintButton(QPainter& canvas, const Button& button, bool hot, bool pressed);

    QPointer<TsuiMenu> m_menu;
    QList<Button> m_buttons;
    platform::COLORREF m_color = 0xE7E7E7;
    int m_barHeight = 22;
    int m_hotIndex = -1;
    int m_openIndex = -1;
    int m_pressedIndex = -1;  // held on a button of an item without a menu
    QPointer<QMenu> m_openMenu;
    SuiAligner* m_aligner;
};
