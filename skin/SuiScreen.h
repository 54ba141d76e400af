#pragma once
// The program's main window and the screen: where windows go, and whether a window
// counts as the active one for the keyboard.

#include <QPoint>
#include <QRect>

class QWidget;

// The available area of the screen of the main window, else of the primary screen.
QRect GetWorkAreaRect();

void PlaceControl(QWidget* control, const QRect& rect);
void PlaceControl(QWidget* control, const QPoint& point);
// Moves a window to the middle of the available area of the screen it is on.
void CentreOnScreen(QWidget* window);

// Whether the window counts as the application's active one for keyboard handling.
bool FormHasFocus(const QWidget* form);
// The main window that FormHasFocus and GetWorkAreaRect measure against; none until the
// program sets it.
void SetSuiMainForm(QWidget* form);
QWidget* SuiMainForm();
