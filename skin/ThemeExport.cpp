#include "ThemeExport.h"

#include "ThemeFile.h"

#include <QBuffer>

bool ExportBuiltInTheme(TsuiUIStyle look, const QString& path)
{
    if (!IsBuiltInLook(look))
        return false;
    TsuiThemeFileWriter writer(path);
    for (int entry = 1; entry <= SUI_THEME_ENTRY_COUNT; ++entry) {
        const QString key = QString::fromLatin1(ThemeEntryKeyName(entry));
        switch (ThemeEntryKind(entry)) {
        case TsuiEntryKind::Picture: {
            QImage picture;
            GetInsideThemeBitmap(look, entry, &picture);
            QByteArray bmp;
            QBuffer buffer(&bmp);
            buffer.open(QIODevice::WriteOnly);
            if (!picture.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP"))
                return false;
            writer.AddFileData(key, bmp);
            break;
        }
        case TsuiEntryKind::Color:
            writer.AddInteger(key, int(GetInsideThemeColor(look, entry)));
            break;
        case TsuiEntryKind::Integer:
            writer.AddInteger(key, GetInsideThemeInt(look, entry));
            break;
        case TsuiEntryKind::Boolean:
            writer.AddBool(key, GetInsideThemeBool(look, entry));
            break;
        }
    }
    return writer.Save();
}
