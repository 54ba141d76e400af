#pragma once
// The controls of the window designs, made with their design name, place and caption.

#include <QRect>
#include <QString>

class QLabel;
class QWidget;
class TsuiButton;
class TsuiRadioButton;

// A plain label sized to its text; blue where the design says so.
QLabel* DesignLabel(QWidget* parent, const char* name, const QString& text, int x, int y, bool blue = false);
// A skinned push button; bold where the design says so.
TsuiButton* DesignButton(QWidget* parent, const char* name, const QString& caption, const QRect& place,
                         bool bold = false);
// A skinned radio button at its place, sized to its caption.
TsuiRadioButton* DesignRadio(QWidget* parent, const char* name, const QString& caption, int x, int y);
