#include "SuiControl.h"

#include "skin/DrawUtil.h"

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

SuiOffscreen::SuiOffscreen(QWidget* widget)
    : m_widget(widget), m_image(widget->size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied)
{
    m_image.fill(Qt::transparent);
    m_painter.begin(&m_image);
    m_painter.setFont(widget->font());
}

SuiOffscreen::~SuiOffscreen()
{
    m_painter.end();
    QPainter onto(m_widget);
    onto.drawImage(0, 0, m_image);
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

void SuiBeginLoading(QWidget* window)
{
    ++Loading().depth[window];
}

void SuiEndLoading(QWidget* window)
{
    LoadingState& s = Loading();
    if (--s.depth[window] > 0)
        return;
    s.depth.remove(window);
    const auto steps = s.pending.take(window);
    for (const auto& [control, loaded] : steps)
        if (control)
            loaded();
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

SuiFileThemeRef::~SuiFileThemeRef()
{
    QObject::disconnect(m_connection);
}

void SuiFileThemeRef::Set(TsuiFileTheme* theme)
{
    if (theme == m_theme)
        return;
    QObject::disconnect(m_connection);
    m_theme = theme;
    if (theme)
        m_connection = QObject::connect(theme, &QObject::destroyed, [this] {
            m_theme = nullptr;
            if (m_onGone)
                m_onGone();
        });
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

QImage SuiKeyedImage(const QImage& image, QRgb key)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    key |= 0xFF000000u;
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((row[x] | 0xFF000000u) == key && qAlpha(row[x]) == 255)
                row[x] = 0;
    }
    return out;
}

QImage SuiDisabledImage(const QImage& image)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int grey = 128 + qGray(row[x]) / 2;
            row[x] = qRgba(grey, grey, grey, qAlpha(row[x]));
        }
    }
    return out;
}
