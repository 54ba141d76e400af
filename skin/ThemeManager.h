#pragma once
// One per window: puts a look (and a file theme) on the window's listed skinned
// controls in one step, by property name, so it needs no knowledge of their classes.

#include "FileTheme.h"
#include "Themes.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>

class TsuiThemeManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(Sui::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(QStringList CompList READ CompList WRITE SetList)

public:
    // owner: the window (or frame) whose components are listed by name.
    explicit TsuiThemeManager(QObject* owner = nullptr);

    TsuiUIStyle UIStyle() const { return m_uiStyle; }
    // Stores the look and updates every listed control, even when it is unchanged;
    // OnUIStyleChanged follows only a real change.
    void SetUIStyle(TsuiUIStyle look);
    TsuiFileTheme* FileTheme() const { return m_fileTheme; }
    void SetFileTheme(TsuiFileTheme* fileTheme);

    QStringList CompList() const { return m_compList; }
    // Replaces the names; updates nothing.
    void SetList(const QStringList& names);

    // Sets UIStyle, then FileTheme, on each listed component found among the owner's
    // descendants (not inside a descendant with a theme manager of its own: another
    // window's); names that match nothing are skipped. A component that lacks one of the two
    // properties raises "Property %s does not exist".
    void UpdateAll();

signals:
    void OnUIStyleChanged(QObject* sender);

private:
    void Track(QObject* component, const QString& name);
    void Removed(const QString& name);

    TsuiUIStyle m_uiStyle = Sui::DeepBlue;
    QPointer<TsuiFileTheme> m_fileTheme;
    QStringList m_compList;
    QSet<QObject*> m_tracked;
};
