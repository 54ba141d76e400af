#include "ThemeFuzz.h"

#include "FuzzCheck.h"
#include "skin/ThemeFile.h"

int QxFuzzTheme(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TsuiThemeFileReader reader;
    const bool valid = reader.Load(bytes);
    qxfuzz::Require(valid == reader.IsValid() && (valid || (!reader.Error().empty() && reader.Records().empty())));
    for (const auto& record : reader.Records()) {
        // Every record read lies inside the file, and reading it back gives its data.
        qxfuzz::Require(std::size_t(record.offset) + record.size <= size && record.name.size() <= 64);
        if (record.kind == SUI_RECORD_FILE)
            qxfuzz::Require(reader.GetFile(record.name) != nullptr);
        reader.GetInteger(record.name);
        reader.GetBool(record.name);
        reader.GetStr(record.name);
    }
    return qxfuzz::Result();
}
