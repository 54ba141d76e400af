#pragma once
// Passing a look on: a container gives its look and file theme to its direct children.

#include "FileTheme.h"
#include "Themes.h"

class QWidget;

// Sets FileTheme then UIStyle on every direct child that publishes both.
void ContainerApplyUIStyle(QWidget* container, TsuiUIStyle look, TsuiFileTheme* fileTheme);
