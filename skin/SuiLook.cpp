#include "SuiLook.h"

#include <QWidget>

void ContainerApplyUIStyle(QWidget* container, TsuiUIStyle look, TsuiFileTheme* fileTheme)
{
    if (!container)
        return;
    for (QObject* child : container->children()) {
        if (!child->isWidgetType() || !IsHasProperty(child, "FileTheme") || !IsHasProperty(child, "UIStyle"))
            continue;
        child->setProperty("FileTheme", QVariant::fromValue(fileTheme));
        child->setProperty("UIStyle", QVariant::fromValue(look));
    }
}
