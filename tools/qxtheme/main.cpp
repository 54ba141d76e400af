// qxtheme: writes a built-in look out as a theme file, or lists a theme file's records.
//   qxtheme export LOOK FILE.sui     LOOK: macos, winxp, deepblue, protein, blueglass
//   qxtheme dump FILE.sui

#include "skin/ThemeExport.h"
#include "skin/ThemeFile.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstring>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: qxtheme export macos|winxp|deepblue|protein|blueglass FILE.sui\n"
                         "       qxtheme dump FILE.sui\n");
    return 2;
}

int Dump(const QString& path)
{
    if (!IsSUIThemeFile(path)) {
        std::fprintf(stderr, "qxtheme: %s is not a theme file\n", qPrintable(path));
        return 1;
    }
    const TsuiThemeFileReader reader(path);
    if (!reader.IsValid()) {
        std::fprintf(stderr, "qxtheme: %s is broken: %s\n", qPrintable(path), reader.Error().c_str());
        return 1;
    }
    static const char* const kinds[] = {"file", "integer", "boolean", "string"};
    for (const auto& r : reader.Records()) {
        const char* kind = r.kind < 4 ? kinds[r.kind] : "unknown";
        std::printf("%-36s %-8s offset %-8u size %-7u", qPrintable(r.name), kind, r.offset, r.size);
        if (r.kind == SUI_RECORD_INTEGER)
            std::printf(" %d (0x%08X)", reader.GetInteger(r.name), unsigned(reader.GetInteger(r.name)));
        else if (r.kind == SUI_RECORD_BOOL)
            std::printf(" %s", reader.GetBool(r.name) ? "true" : "false");
        else if (r.kind == SUI_RECORD_STRING)
            std::printf(" \"%s\"", qPrintable(reader.GetStr(r.name)));
        else if (r.kind == SUI_RECORD_FILE) {
            const QImage image = QImage::fromData(*reader.GetFile(r.name));
            if (!image.isNull())
                std::printf(" picture %d x %d", image.width(), image.height());
        }
        std::printf("\n");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "dump") == 0)
        return Dump(QString::fromLocal8Bit(argv[2]));
    if (argc != 4 || std::strcmp(argv[1], "export") != 0)
        return Usage();
    const struct {
        const char* name;
        TsuiUIStyle look;
    } looks[] = {{"macos", Sui::MacOS}, {"winxp", Sui::WinXP}, {"deepblue", Sui::DeepBlue},
                 {"protein", Sui::Protein}, {"blueglass", Sui::BlueGlass}};
    for (const auto& l : looks)
        if (qstricmp(argv[2], l.name) == 0) {
            if (!ExportBuiltInTheme(l.look, QString::fromLocal8Bit(argv[3]))) {
                std::fprintf(stderr, "qxtheme: %s cannot be written\n", argv[3]);
                return 1;
            }
            return 0;
        }
    return Usage();
}
