#include "ThemeFile.h"

#include <QFile>
#include <QSaveFile>
#include <cstring>
#include <unordered_set>

namespace {

std::uint32_t U32(const QByteArray& b, std::size_t at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData()) + at;
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

void PutU32(QByteArray& out, std::uint32_t v)
{
    const char bytes[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char((v >> 24) & 0xFF)};
    out.append(bytes, 4);
}

QString Key(const QString& name)
{
    return name.toLower();
}

// Single-byte names: Latin-1 both ways, cut to the 64 bytes of the record.
QByteArray RecordName(const QString& name)
{
    return name.toLatin1().left(64);
}

void AppendRecord(QByteArray& out, const QByteArray& name, std::uint8_t kind, const QByteArray& data)
{
    const auto headerAt = std::uint32_t(out.size());
    QByteArray field(64, '\0');
    std::memcpy(field.data(), name.constData(), std::size_t(std::min<qsizetype>(name.size(), 64)));
    out.append(field);
    out.append(char(kind));
    const std::uint32_t dataAt = headerAt + kSuiRecordHeaderSize;
    PutU32(out, dataAt);
    PutU32(out, std::uint32_t(data.size()));
    PutU32(out, dataAt + std::uint32_t(data.size()));
    out.append(data);
}

}  // namespace

bool IsSUIThemeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(16);
    if (head.size() < 12)
        return false;
    const QByteArray magic = head.left(12);
    const qsizetype zero = magic.indexOf('\0');
    return (zero < 0 ? magic : magic.left(zero)) == QByteArray(kSuiMagic);
}

TsuiThemeFileReader::TsuiThemeFileReader(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Fail("the file cannot be read");
        return;
    }
    if (file.size() > qint64(kSuiMaxFileSize)) {
        Fail("the file is larger than a theme can be");
        return;
    }
    Load(file.readAll());
}

bool TsuiThemeFileReader::Fail(std::string why)
{
    m_valid = false;
    m_error = std::move(why);
    m_files.clear();
    m_integers.clear();
    m_bools.clear();
    m_strings.clear();
    m_records.clear();
    return false;
}

bool TsuiThemeFileReader::Load(const QByteArray& bytes)
{
    Fail({});
    const auto size = std::size_t(bytes.size());
    if (size > kSuiMaxFileSize)
        return Fail("the file is larger than a theme can be");
    if (size < kSuiHeaderSize)
        return Fail("the file is shorter than its header");
    if (U32(bytes, 12) != kSuiHeaderSize)
        return Fail("the header size is not 24");
    std::uint32_t at = U32(bytes, 20);
    std::unordered_set<std::uint32_t> visited;
    for (;;) {
        if (at < kSuiHeaderSize || std::size_t(at) + kSuiRecordHeaderSize > size)
            return Fail("a record lies outside the file");
        if (!visited.insert(at).second)
            return Fail("the record chain runs in a loop");
        const char* field = bytes.constData() + at;
        const std::uint8_t kind = std::uint8_t(field[64]);
        const std::uint32_t dataAt = U32(bytes, at + 65);
        const std::uint32_t dataSize = U32(bytes, at + 69);
        const std::uint32_t next = U32(bytes, at + 73);
        if (next == 0)
            break;  // the end record: its name, kind and data mean nothing
        if (std::size_t(dataAt) + dataSize > size)
            return Fail("a record's data lies outside the file");
        const QString name = QString::fromLatin1(field, qsizetype(::strnlen(field, 64)));
        const QString key = Key(name);
        const QByteArray data = bytes.mid(qsizetype(dataAt), qsizetype(dataSize));
        switch (kind) {
        case SUI_RECORD_FILE:
            if (!m_files.contains(key))
                m_files.insert(key, data);
            break;
        case SUI_RECORD_INTEGER:
            if (dataSize != 4)
                return Fail("an integer record is not 4 bytes long");
            if (!m_integers.contains(key))
                m_integers.insert(key, int(U32(bytes, dataAt)));
            break;
        case SUI_RECORD_BOOL:
            if (dataSize != 1)
                return Fail("a boolean record is not 1 byte long");
            if (!m_bools.contains(key))
                m_bools.insert(key, data[0] != 0);
            break;
        case SUI_RECORD_STRING:
            if (!m_strings.contains(key))
                m_strings.insert(key, QString::fromLatin1(data));
            break;
        default:
            break;  // a kind we do not know is passed over
        }
        m_records.push_back({name, kind, dataAt, dataSize});
        at = next;
    }
    m_valid = true;
    return true;
}

const QByteArray* TsuiThemeFileReader::GetFile(const QString& name) const
{
    const auto it = m_files.constFind(Key(name));
    return it == m_files.constEnd() ? nullptr : &*it;
}

int TsuiThemeFileReader::GetInteger(const QString& name) const
{
    return m_integers.value(Key(name), -1);
}

bool TsuiThemeFileReader::GetBool(const QString& name) const
{
    return m_bools.value(Key(name), false);
}

QString TsuiThemeFileReader::GetStr(const QString& name) const
{
    return m_strings.value(Key(name));
}

TsuiThemeFileWriter::TsuiThemeFileWriter(const QString& path) : m_path(path) {}

TsuiThemeFileWriter::~TsuiThemeFileWriter()
{
    if (!m_saved)
        Save();
}

void TsuiThemeFileWriter::AddFile(const QString& name, const QString& filePath)
{
    m_files.push_back({RecordName(name), filePath, {}});
}

void TsuiThemeFileWriter::AddFileData(const QString& name, const QByteArray& bytes)
{
    m_files.push_back({RecordName(name), {}, bytes});
}

void TsuiThemeFileWriter::AddInteger(const QString& name, int value)
{
    m_integers.emplace_back(RecordName(name), value);
}

void TsuiThemeFileWriter::AddBool(const QString& name, bool value)
{
    m_bools.emplace_back(RecordName(name), value);
}

void TsuiThemeFileWriter::AddStr(const QString& name, const QString& value)
{
    m_strings.emplace_back(RecordName(name), value.toLatin1());
}

bool TsuiThemeFileWriter::Save()
{
    m_saved = true;
    QByteArray out;
    out.append(kSuiMagic, 10);
    out.append(2, '\0');
    PutU32(out, kSuiHeaderSize);
    PutU32(out, 1);
    PutU32(out, kSuiHeaderSize);
    for (const Embedded& f : m_files) {
        QByteArray data = f.data;
        if (!f.path.isEmpty()) {
            QFile embedded(f.path);
            if (!embedded.open(QIODevice::ReadOnly))
                return false;
            data = embedded.readAll();
        }
        AppendRecord(out, f.name, SUI_RECORD_FILE, data);
    }
    for (const auto& [name, text] : m_strings)
        AppendRecord(out, name, SUI_RECORD_STRING, text);
    for (const auto& [name, value] : m_integers) {
        QByteArray data;
        PutU32(data, std::uint32_t(value));
        AppendRecord(out, name, SUI_RECORD_INTEGER, data);
    }
    for (const auto& [name, value] : m_bools)
        AppendRecord(out, name, SUI_RECORD_BOOL, QByteArray(1, value ? '\1' : '\0'));
    QByteArray end(qsizetype(kSuiRecordHeaderSize), '\0');
    end[64] = char(SUI_RECORD_BOOL);
    out.append(end);

    QSaveFile file(m_path);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size() && file.commit();
}
