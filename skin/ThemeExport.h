#pragma once
// A built-in look written out as a complete theme file: every entry under its key name,
// pictures as BMP files.

#include "Themes.h"

#include <QString>

bool ExportBuiltInTheme(TsuiUIStyle look, const QString& path);
