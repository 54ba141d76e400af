#pragma once
// The program's own pictures, drawn at build time and embedded as Qt resources, loaded
// by name. A name that is not there raises ESuiError naming it.

#include <QImage>
#include <QString>
#include <QStringList>

QImage LoadBitmapResource(const QString& name);
bool HasBitmapResource(const QString& name);
// Decodes the pictures into the cache ahead of their first use; for a thread of its own
// while the program starts. Any thread.
void PreloadBitmapResources(const QStringList& names);
