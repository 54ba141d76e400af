#pragma once
// The main menu of a window: its top-level items show as buttons on the menu bar of the
// window's skinned frame, and their drop-downs are drawn in the look. Made on a window,
// it puts itself into that window's frame at once; it knows the frame that shows it.

#include "skin/TsuiMenu.h"

#include <QPointer>

class TsuiMainMenu : public TsuiMenu {
    Q_OBJECT

public:
    explicit TsuiMainMenu(QWidget* owner = nullptr);

    // The frame that shows the menu, or null.
    QWidget* Frame() const { return m_frame; }
    void ShownBy(QWidget* frame) override { m_frame = frame; }

private:
    QPointer<QWidget> m_frame;
};
