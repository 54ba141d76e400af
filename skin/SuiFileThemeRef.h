#pragma once
// A skinned component's file theme: not owned. When the theme is destroyed the reference
// forgets it and tells its component through onGone (which sets the look back to
// DeepBlue); an error raised there is reported, never passed into Qt's signal code.

#include "FileTheme.h"

#include <QPointer>
#include <functional>

class SuiFileThemeRef {
public:
    explicit SuiFileThemeRef(std::function<void()> onGone) : m_onGone(std::move(onGone)) {}
    ~SuiFileThemeRef();
    SuiFileThemeRef(const SuiFileThemeRef&) = delete;
    SuiFileThemeRef& operator=(const SuiFileThemeRef&) = delete;
    void Set(TsuiFileTheme* theme);
    TsuiFileTheme* Get() const { return m_theme.data(); }

private:
    QPointer<TsuiFileTheme> m_theme;
    QMetaObject::Connection m_connection;
    std::function<void()> m_onGone;
};
