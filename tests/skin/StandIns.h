#pragma once
// Stand-in controls that publish UIStyle and FileTheme the way the skinned controls do,
// recording every call.

#include "skin/FileTheme.h"
#include "skin/Themes.h"

#include <QWidget>
#include <string>
#include <vector>

class TsuiStandIn : public QWidget {
    Q_OBJECT
    Q_PROPERTY(Sui::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)

public:
    explicit TsuiStandIn(QWidget* parent, const QString& name) : QWidget(parent) { setObjectName(name); }
    TsuiUIStyle UIStyle() const { return m_look; }
    void SetUIStyle(TsuiUIStyle look)
    {
        m_look = look;
        calls.push_back("UIStyle");
    }
    TsuiFileTheme* FileTheme() const { return m_theme; }
    void SetFileTheme(TsuiFileTheme* theme)
    {
        m_theme = theme;
        calls.push_back("FileTheme");
    }
    std::vector<std::string> calls;

private:
    TsuiUIStyle m_look = Sui::DeepBlue;
    TsuiFileTheme* m_theme = nullptr;
};

// Publishes the same properties but does not carry the skin's class prefix.
class PlainStandIn : public TsuiStandIn {
    Q_OBJECT

public:
    using TsuiStandIn::TsuiStandIn;
};

