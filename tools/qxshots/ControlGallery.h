#pragma once
// The button family of the skinned controls laid out in their states, for the review
// gallery (qxshots --gallery) and the test that every control paints its whole area.

#include "skin/Themes.h"

#include <QString>
#include <functional>

class QWidget;

namespace qxshots {

// Into parent from the top: push buttons normal, under the mouse, pressed, disabled and
// one named "focused" for the caller to focus once shown; arrow buttons; check boxes and
// radio buttons enabled and disabled; a spin edit; a check group and a radio group; a
// progress bar. heading, when given, is asked to put each row's title at (8, y); every
// row leaves it room either way.
void AddButtonFamily(QWidget* parent, TsuiUIStyle look,
                     const std::function<void(const QString& title, int y)>& heading = {});

}  // namespace qxshots
