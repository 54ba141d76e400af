#pragma once
// Theme files (".sui"): a 24-byte header and a chain of named records holding embedded
// files (pictures as BMP files), integers, booleans and strings. Little-endian throughout.
//
// The reader trusts nothing in the file: a file whose header, offsets, sizes or chain
// break the format is refused whole.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr char kSuiMagic[] = "Orvelit_TB";
inline constexpr std::uint32_t kSuiHeaderSize = 24;
inline constexpr std::uint32_t kSuiRecordHeaderSize = 77;
inline constexpr std::size_t kSuiMaxFileSize = 64u << 20;  // larger files are refused unread

enum TsuiRecordKind : std::uint8_t { SUI_RECORD_FILE = 0, SUI_RECORD_INTEGER = 1, SUI_RECORD_BOOL = 2, SUI_RECORD_STRING = 3 };

// True when the file can be read and its first 12 bytes, up to the first zero byte, are
// exactly "Orvelit_TB". Never raises.
bool IsSUIThemeFile(const QString& path);

class TsuiThemeFileReader {
public:
    // Reads the whole file at once; IsValid tells whether it followed the format.
    explicit TsuiThemeFileReader(const QString& path);
    TsuiThemeFileReader() = default;

    // Parses a theme file held in memory; false (and empty tables) when it breaks the format.
    bool Load(const QByteArray& bytes);
    bool IsValid() const { return m_valid; }
    const std::string& Error() const { return m_error; }

    // Names match without regard to letter case; the first record of a name wins.
    const QByteArray* GetFile(const QString& name) const;  // null when absent
    int GetInteger(const QString& name) const;             // -1 when absent
    bool GetBool(const QString& name) const;               // false when absent
    QString GetStr(const QString& name) const;             // empty when absent

    struct Record {
        QString name;
        std::uint8_t kind;
        std::uint32_t offset, size;
    };
    const std::vector<Record>& Records() const { return m_records; }

private:
    bool Fail(std::string why);

    bool m_valid = false;
    std::string m_error;
    QHash<QString, QByteArray> m_files;
    QHash<QString, int> m_integers;
    QHash<QString, bool> m_bools;
    QHash<QString, QString> m_strings;
    std::vector<Record> m_records;
};

class TsuiThemeFileWriter {
public:
    explicit TsuiThemeFileWriter(const QString& path);
    ~TsuiThemeFileWriter();  // saves, unless Save ran already
    TsuiThemeFileWriter(const TsuiThemeFileWriter&) = delete;
    TsuiThemeFileWriter& operator=(const TsuiThemeFileWriter&) = delete;

    // Names longer than 64 characters are cut to 64.
    void AddFile(const QString& name, const QString& filePath);
    void AddFileData(const QString& name, const QByteArray& bytes);
    void AddInteger(const QString& name, int value);
    void AddBool(const QString& name, bool value);
    void AddStr(const QString& name, const QString& value);

    // Writes the file in one step (a temporary file renamed into place); false when it
    // cannot be written or an embedded file cannot be read.
    bool Save();

private:
    QString m_path;
    bool m_saved = false;
    struct Embedded {
        QByteArray name;
        QString path;     // read at Save when data is empty
        QByteArray data;
    };
    std::vector<Embedded> m_files;
    std::vector<std::pair<QByteArray, QByteArray>> m_strings;
    std::vector<std::pair<QByteArray, int>> m_integers;
    std::vector<std::pair<QByteArray, bool>> m_bools;
};
