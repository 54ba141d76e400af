#pragma once
// What every skinned control shares: theme values for its look (from its file theme
// when UsingFileTheme says so, else from the built-in table of the resolved look),
// painting through an off-screen image, the window's "loading" state, accelerators,
// and a file-theme reference that forgets a theme when it is destroyed.

#include "skin/SuiPicture.h"
#include "skin/FileTheme.h"
#include "skin/SuiFileThemeRef.h"
#include "skin/SuiOffscreen.h"
#include "skin/Themes.h"

#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QString>
#include <functional>

class QWidget;

platform::COLORREF SuiColor(const TsuiFileTheme* fileTheme, TsuiUIStyle look, int entry);
int SuiInt(const TsuiFileTheme* fileTheme, TsuiUIStyle look, int entry);
bool SuiBool(const TsuiFileTheme* fileTheme, TsuiUIStyle look, int entry);
// The entry's picture, or frame frameIndex of frameCount equal frames of it.
void SuiBitmap(const TsuiFileTheme* fileTheme, TsuiUIStyle look, int entry, QImage* bitmap, int frameCount = 0,
               int frameIndex = 0);

// A window is "loading" while it builds its design: controls then skip the reactions
// (events, look pushes) that only make sense once it stands. A scope marks one build;
// scopes nest, and when the outermost ends every Loaded step registered for the
// window's controls runs (those of controls deleted meanwhile are skipped). A window
// destroyed while loading is forgotten with its steps.
class SuiLoadingScope {
public:
    explicit SuiLoadingScope(QWidget* window);
    ~SuiLoadingScope();
    SuiLoadingScope(const SuiLoadingScope&) = delete;
    SuiLoadingScope& operator=(const SuiLoadingScope&) = delete;

private:
    QPointer<QWidget> m_window;
};
bool SuiIsLoading(const QWidget* widget);  // of the widget's window
// Runs loaded now, or when the control's window has finished loading.
void SuiOnLoaded(QWidget* control, std::function<void()> loaded);

// The accelerator of a caption: the character after a single '&' ("&&" is a plain
// '&'), upper-cased; a null QChar when there is none.
QChar SuiAccelerator(const QString& caption);
// The caption as shown: "&&" becomes "&", a single '&' disappears.
QString SuiStripAccelerator(const QString& caption);

// The platform's default message beep; replaceable so that tests can count beeps.
// Setting an empty handler restores the real one; the previous handler is returned.
void SuiMessageBeep();
std::function<void()> SetSuiBeepHandler(std::function<void()> handler);
