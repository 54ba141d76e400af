#include "SuiControl.h"

#include "skin/SuiApplication.h"

#include <QApplication>
#include <QHash>
#include <QWidget>
#include <utility>
#include <vector>

platform::COLORREF SuiColor(const TsuiFileTheme* fileTheme, TsuiUIStyle look, int entry)
{
    TsuiUIStyle resolved{};
    if (UsingFileTheme(fileTheme, look, resolved))
        return fileTheme->GetColor(entry);
    return GetInsideThemeColor(resolved, entry);
}

int SuiInt(const TsuiFileTheme* fileTheme, TsuiUIStyle look, int entry)
{
    TsuiUIStyle resolved{};
    if (UsingFileTheme(fileTheme, look, resolved))
        return fileTheme->GetInt(entry);
    return GetInsideThemeInt(resolved, entry);
}

bool SuiBool(const TsuiFileTheme* fileTheme, TsuiUIStyle look, int entry)
{
    TsuiUIStyle resolved{};
    if (UsingFileTheme(fileTheme, look, resolved))
        return fileTheme->GetBool(entry);
    return GetInsideThemeBool(resolved, entry);
}

void SuiBitmap(const TsuiFileTheme* fileTheme, TsuiUIStyle look, int entry, QImage* bitmap, int frameCount,
               int frameIndex)
{
    TsuiUIStyle resolved{};
    if (UsingFileTheme(fileTheme, look, resolved)) {
        if (frameCount > 0)
            fileTheme->GetBitmap(entry, bitmap, frameCount, frameIndex);
        else
            fileTheme->GetBitmap(entry, bitmap);
        return;
    }
    GetInsideThemeBitmap(resolved, entry, bitmap, frameCount, frameIndex);
}

namespace {

struct LoadingState {
    QHash<const QWidget*, std::vector<std::pair<QPointer<QWidget>, std::function<void()>>>> pending;
    QHash<const QWidget*, int> depth;
};

LoadingState& Loading()
{
    static LoadingState state;
    return state;
}

}  // namespace

SuiLoadingScope::SuiLoadingScope(QWidget* window) : m_window(window)
{
    if (!window)
        return;
    LoadingState& s = Loading();
    if (s.depth[window]++ == 0)
        QObject::connect(window, &QObject::destroyed, window, [key = static_cast<const QWidget*>(window)] {
            Loading().depth.remove(key);
            Loading().pending.remove(key);
        });
}

SuiLoadingScope::~SuiLoadingScope()
{
    if (!m_window)
        return;  // destroyed meanwhile: already forgotten
    LoadingState& s = Loading();
    if (--s.depth[m_window] > 0)
        return;
    s.depth.remove(m_window);
    QObject::disconnect(m_window, &QObject::destroyed, m_window, nullptr);
    const auto steps = s.pending.take(m_window);
    for (const auto& [control, loaded] : steps)
        if (control)
            SuiGuarded(loaded);
}

bool SuiIsLoading(const QWidget* widget)
{
    return widget && Loading().depth.value(widget->window(), 0) > 0;
}

void SuiOnLoaded(QWidget* control, std::function<void()> loaded)
{
    if (!SuiIsLoading(control)) {
        loaded();
        return;
    }
    Loading().pending[control->window()].emplace_back(control, std::move(loaded));
}

QChar SuiAccelerator(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return caption[i + 1].toUpper();
    }
    return {};
}

QString SuiStripAccelerator(const QString& caption)
{
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) {
            out += caption[++i];
            continue;
        }
        if (caption[i] != QLatin1Char('&'))
            out += caption[i];
    }
    return out;
}

namespace {

std::function<void()>& BeepHandler()
{
    static std::function<void()> handler;
    return handler;
}

}  // namespace

void SuiMessageBeep()
{
    if (BeepHandler())
        BeepHandler()();
    else
        QApplication::beep();
}

std::function<void()> SetSuiBeepHandler(std::function<void()> handler)
{
    return std::exchange(BeepHandler(), std::move(handler));
}
