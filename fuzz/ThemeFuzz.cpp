#include "ThemeFuzz.h"

#include "skin/ThemeFile.h"

#include <cstdlib>

int QxFuzzTheme(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TsuiThemeFileReader reader;
    const bool valid = reader.Load(bytes);
    if (valid != reader.IsValid() || (!valid && (reader.Error().empty() || !reader.Records().empty())))
        std::abort();
    for (const auto& record : reader.Records()) {
        // Every record read lies inside the file, and reading it back gives its data.
        if (std::size_t(record.offset) + record.size > size || record.name.size() > 64)
            std::abort();
        if (record.kind == SUI_RECORD_FILE) {
            const QByteArray* file = reader.GetFile(record.name);
            if (!file)
                std::abort();
        }
        reader.GetInteger(record.name);
        reader.GetBool(record.name);
        reader.GetStr(record.name);
    }
    return 0;
}
