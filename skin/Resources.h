#pragma once
// The program's own pictures, drawn at build time and embedded as Qt resources, loaded
// by name. A name that is not there raises ESuiError naming it.

#include <QImage>
#include <QString>

QImage LoadBitmapResource(const QString& name);
bool HasBitmapResource(const QString& name);
