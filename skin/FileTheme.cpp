#include "FileTheme.h"

#include "SuiPicture.h"
#include "SuiError.h"
#include "platform/Module.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWidget>

bool TsuiFileThemeMgr::LoadFromFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    auto reader = std::make_unique<TsuiThemeFileReader>(path);
    if (!reader->IsValid())
        return false;
    m_reader = std::move(reader);
    return true;
}

platform::COLORREF TsuiFileThemeMgr::GetColor(int entry) const
{
    return m_reader ? platform::COLORREF(m_reader->GetInteger(ThemeEntryKeyName(entry))) : 0;
}

int TsuiFileThemeMgr::GetInt(int entry) const
{
    return m_reader ? m_reader->GetInteger(ThemeEntryKeyName(entry)) : 0;
}

bool TsuiFileThemeMgr::GetBool(int entry) const
{
    return m_reader && m_reader->GetBool(ThemeEntryKeyName(entry));
}

void TsuiFileThemeMgr::GetBitmap(int entry, QImage* bitmap) const
{
    if (!m_reader || !bitmap)
        return;
    const QByteArray* data = m_reader->GetFile(ThemeEntryKeyName(entry));
    if (!data)
        return;  // the theme lacks this picture: the control keeps what it had
    QImage image;
    if (image.loadFromData(*data, "BMP") || image.loadFromData(*data))
        *bitmap = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

TsuiFileTheme::TsuiFileTheme(QObject* owner) : QObject(owner) {}

bool TsuiFileTheme::CheckThemeFile(const QString& path)
{
    return IsSUIThemeFile(path);
}

void TsuiFileTheme::GetBitmap(int entry, QImage* bitmap, int frameCount, int frameIndex) const
{
    if (!bitmap)
        return;
    QImage whole;
    m_mgr.GetBitmap(entry, &whole);
    SpitBitmap(whole, *bitmap, std::max(frameCount, 1), frameIndex);
}

void TsuiFileTheme::SetThemeFile(const QString& path)
{
    if (path == m_themeFile)
        return;
    LoadThemeFile(path);
}

void TsuiFileTheme::LoadThemeFile(const QString& path)
{
    // The file as given, else by its name beside the program.
    QString found;
    if (!path.isEmpty() && QFileInfo(path).isFile()) {
        found = path;
    } else if (!path.isEmpty()) {
        char exe[platform::MAX_PATH];
        const platform::DWORD n = platform::GetModuleFileNameA(nullptr, exe, sizeof exe);
        if (n > 0 && n < sizeof exe) {
            const platform::PathParts parts = platform::SplitPath(exe);
            const QString besideProgram = QString::fromStdString(parts.drive + parts.dir) + QFileInfo(path).fileName();
            if (QFileInfo(besideProgram).isFile())
                found = besideProgram;
        }
    }
    if (found.isEmpty())
        return;
    if (!CheckThemeFile(found))
        throw ESuiError("Invalid skin file for Orvelit!");
    TsuiFileThemeMgr loaded;
    if (!loaded.LoadFromFile(found))
        throw ESuiError("Invalid skin file for Orvelit!");  // the header is right but the rest is not
    m_themeFile = found;
    m_mgr = std::move(loaded);
    m_canUse = true;

    // Controls of the owner's window that show this theme reload their values from the
    // new file, wherever on the window the theme is kept (the window, its frame, a panel).
    auto* owner = qobject_cast<QWidget*>(parent());
    if (!owner)
        return;
    for (QObject* c : owner->window()->findChildren<QObject*>()) {
        // The skin's own controls, by their class prefix, as the theme format has it.
        if (!QByteArray(c->metaObject()->className()).startsWith("Tsui") || !IsHasProperty(c, "FileTheme"))
            continue;
        if (c->property("FileTheme").value<TsuiFileTheme*>() == this)
            c->setProperty("FileTheme", QVariant::fromValue(this));
    }
}

TsuiBuiltInFileTheme::TsuiBuiltInFileTheme(QObject* owner) : TsuiFileTheme(owner) {}

QByteArray TsuiBuiltInFileTheme::SkinData() const
{
    QFile file(m_builtInThemeFile);
    if (m_builtInThemeFile.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString TsuiBuiltInFileTheme::TemporaryThemePath()
{
    const QString dir = QDir::tempPath() + QLatin1Char('/');
    QString path = dir + QStringLiteral("ORVELTT.sui");
    for (int n = 1; QFileInfo::exists(path); ++n)
        path = dir + QStringLiteral("ORVELTT%1.sui").arg(n);
    return path;
}

void TsuiBuiltInFileTheme::SetSkinData(const QByteArray& bytes)
{
    const QString temp = TemporaryThemePath();
    QFile file(temp);
    // A new file only: an existing one of that name (made meanwhile) is never overwritten.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return;
    const bool written = file.write(bytes) == bytes.size();
    file.close();
    struct Remove {
        QString path;
        ~Remove() { QFile::remove(path); }
    } remove{temp};
    if (written)
        TsuiFileTheme::SetThemeFile(temp);
}

bool UsingFileTheme(const TsuiFileTheme* fileTheme, TsuiUIStyle look, TsuiUIStyle& resolvedLook)
{
    resolvedLook = look;
    if (look != Sui::FromThemeFile)
        return false;
    if (fileTheme && fileTheme->CanUse())
        return true;
    resolvedLook = Sui::DeepBlue;
    return false;
}
