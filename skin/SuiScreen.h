#pragma once
// The program's main window and the screen: where windows go, and whether a window
// counts as the active one for the keyboard.

#include <QPoint>
#include <QRect>
#include <optional>

class QMenu;
class QObject;
class QWidget;

// The available area of the screen of the main window, else of the primary screen.
QRect GetWorkAreaRect();

void PlaceControl(QWidget* control, const QRect& rect);
void PlaceControl(QWidget* control, const QPoint& point);
// Moves a window to the middle of the available area of the screen it is on.
void CentreOnScreen(QWidget* window);
// Moves a window to wanted where the whole window fits there, else as little from it as
// keeps it inside the available area of that screen (the desktop's panels excluded); a
// window larger than the area keeps its top left corner in it.
void MoveIntoWorkArea(QWidget* window, QPoint wanted);

// Whether a window's cut corners are painted clear instead of cut by its mask. An X
// server cuts a window to its mask (and, without a compositor, would show clear pixels
// black); a Wayland compositor takes a mask for input only and shows what is painted.
bool SuiCornersPaintedClear();
// Tests choose either way on any platform; nullopt goes back to the platform's way.
void SetSuiCornersPaintedClear(std::optional<bool> forced);

// Shows a menu with its top left corner at a point of the screen, as a drop-down of the
// window that owner (or the nearest widget above it) lies in. That window becomes the
// menu's transient parent: a Wayland compositor knows no window's place on the screen
// and puts a drop-down where its parent says.
void PopupMenuFrom(QMenu* menu, QPoint global, const QObject* owner);

// Whether the window counts as the application's active one for keyboard handling.
bool FormHasFocus(const QWidget* form);
// The main window that FormHasFocus and GetWorkAreaRect measure against; none until the
// program sets it.
void SetSuiMainForm(QWidget* form);
QWidget* SuiMainForm();
