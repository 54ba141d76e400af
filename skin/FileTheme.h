#pragma once
// File themes: a look read from a theme file, answering the same entry questions as the
// built-in looks. UsingFileTheme decides, for every control, which of the two it asks.

#include "ThemeFile.h"
#include "Themes.h"

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QString>
#include <memory>

// The value source of a file theme: at most one reader, answering by entry number.
class TsuiFileThemeMgr {
public:
    // Replaces the reader when the file exists; false (reader kept) otherwise, or when
    // the file breaks the theme format.
    bool LoadFromFile(const QString& path);
    bool HasReader() const { return m_reader != nullptr; }

    platform::COLORREF GetColor(int entry) const;  // -1 when absent, 0 without a reader
    int GetInt(int entry) const;
    bool GetBool(int entry) const;
    // The entry's picture into bitmap; bitmap unchanged when there is no such picture.
    void GetBitmap(int entry, QImage* bitmap) const;

private:
    std::unique_ptr<TsuiThemeFileReader> m_reader;
};

class TsuiFileTheme : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString ThemeFile READ ThemeFile WRITE SetThemeFile)

public:
    explicit TsuiFileTheme(QObject* owner = nullptr);

    QString ThemeFile() const { return m_themeFile; }
    // Finds the file (as given, else by its name in the program's folder); a file not
    // found changes nothing; one that is not a theme raises "Invalid skin file for Orvelit!".
    virtual void SetThemeFile(const QString& path);

    bool CanUse() const { return m_canUse; }
    static bool CheckThemeFile(const QString& path);

    platform::COLORREF GetColor(int entry) const { return m_mgr.GetColor(entry); }
    int GetInt(int entry) const { return m_mgr.GetInt(entry); }
    bool GetBool(int entry) const { return m_mgr.GetBool(entry); }
    void GetBitmap(int entry, QImage* bitmap) const { m_mgr.GetBitmap(entry, bitmap); }
    // Frame frameIndex of frameCount (at least 1) equal frames of the entry's picture.
    void GetBitmap(int entry, QImage* bitmap, int frameCount, int frameIndex) const;

protected:
    void LoadThemeFile(const QString& path);

private:
    QString m_themeFile;
    TsuiFileThemeMgr m_mgr;
    bool m_canUse = false;
};

// A file theme whose bytes travel with the window's stored design (SkinData); its
// ThemeFile only names the file those bytes were taken from.
class TsuiBuiltInFileTheme : public TsuiFileTheme {
    Q_OBJECT
    Q_PROPERTY(QString ThemeFile READ ThemeFile WRITE SetThemeFile)
    Q_PROPERTY(QByteArray SkinData READ SkinData WRITE SetSkinData)

public:
    explicit TsuiBuiltInFileTheme(QObject* owner = nullptr);

    QString ThemeFile() const { return m_builtInThemeFile; }
    void SetThemeFile(const QString& path) override { m_builtInThemeFile = path; }

    // What is stored: the named file's bytes, or nothing when it does not exist.
    QByteArray SkinData() const;
    // What is loaded: the bytes go to "ORVELTT.sui" in the temporary folder (or
    // "ORVELTT1.sui", "ORVELTT2.sui", ... when taken), are loaded from there, and the
    // temporary file is removed.
    void SetSkinData(const QByteArray& bytes);

    // The temporary file name SetSkinData would use now.
    static QString TemporaryThemePath();

private:
    QString m_builtInThemeFile;
};

// Whether a control asks its file theme (true) or the built-in table with resolvedLook
// (false). A look of FromThemeFile without a usable file theme resolves to DeepBlue.
bool UsingFileTheme(const TsuiFileTheme* fileTheme, TsuiUIStyle look, TsuiUIStyle& resolvedLook);

