#include "ThemeManager.h"

#include "FileTheme.h"
#include "SuiError.h"

#include <QWidget>

namespace {

// A component by name among the owner's descendants, breadth first. A descendant that
// holds a theme manager of its own is a window of its own (a wizard page inside the main
// window): its components are its manager's, not this one's.
QObject* FindComponent(const QObject* owner, const QString& name, const QObject* self)
{
    QList<const QObject*> level{owner};
    while (!level.isEmpty()) {
        QList<const QObject*> next;
        for (const QObject* parent : level)
            for (QObject* child : parent->children()) {
                if (child == self)
                    continue;
                if (child->objectName() == name)
                    return child;
                if (!child->findChild<TsuiThemeManager*>(QString(), Qt::FindDirectChildrenOnly))
                    next.append(child);
            }
        level = next;
    }
    return nullptr;
}

}  // namespace

TsuiThemeManager::TsuiThemeManager(QObject* owner) : QObject(owner)
{
    SetUIStyle(Sui::DeepBlue);
}

void TsuiThemeManager::SetUIStyle(TsuiUIStyle look)
{
    const TsuiUIStyle old = m_uiStyle;
    m_uiStyle = look;
    UpdateAll();
    if (look != old)
        emit OnUIStyleChanged(this);
}

void TsuiThemeManager::SetFileTheme(TsuiFileTheme* fileTheme)
{
    if (m_fileTheme != fileTheme) {
        if (m_fileTheme)
            disconnect(m_fileTheme, &QObject::destroyed, this, nullptr);
        m_fileTheme = fileTheme;
        if (fileTheme)
            connect(fileTheme, &QObject::destroyed, this, [this] {
                // The theme is gone: forget it, and fall back to the default look quietly.
                m_fileTheme = nullptr;
                m_uiStyle = Sui::DeepBlue;
            });
    }
    SetUIStyle(m_uiStyle);
}

void TsuiThemeManager::SetList(const QStringList& names)
{
    m_compList = names;
    if (auto* owner = qobject_cast<QWidget*>(parent()))
        for (const QString& name : m_compList)
            if (QObject* c = FindComponent(owner, name, this))
                Track(c, name);
}

void TsuiThemeManager::Track(QObject* component, const QString& name)
{
    if (m_tracked.contains(component))
        return;
    m_tracked.insert(component);
    connect(component, &QObject::destroyed, this, [this, component, name] {
        m_tracked.remove(component);
        Removed(name);
    });
}

void TsuiThemeManager::Removed(const QString& name)
{
    m_compList.removeAll(name);
}

void TsuiThemeManager::UpdateAll()
{
    auto* owner = qobject_cast<QWidget*>(parent());
    if (!owner)
        return;  // only a window or a frame owns components
    const QStringList names = m_compList;  // a control's look change may edit the list
    for (const QString& name : names) {
        QObject* c = FindComponent(owner, name, this);
        if (!c)
            continue;
        Track(c, name);
        if (!IsHasProperty(c, "UIStyle"))
            throw ESuiError("Property UIStyle does not exist");
        c->setProperty("UIStyle", QVariant::fromValue(m_uiStyle));
        if (!IsHasProperty(c, "FileTheme"))
            throw ESuiError("Property FileTheme does not exist");
        c->setProperty("FileTheme", QVariant::fromValue(m_fileTheme.data()));
    }
}
