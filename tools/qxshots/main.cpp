// qxshots: pictures for reviewing the skin by eye.
//
//   qxshots --art DIR      one sheet per look (and one for the shared pictures) showing
//                          every built-in picture at 2x with its name and frames
//   qxshots --gallery DIR  one window per look holding every skinned control in its states
//   qxshots --frames DIR   per look a framed window with its menu, closed and open, and
//                          every look's title bar in its states
//   qxshots --windows DIR  the program's windows in every look, from the real classes
//   qxshots --help-pictures DIR  the help page's pictures, in the default look
#include "ArtSheet.h"
#include "FrameSheet.h"
#include "Gallery.h"
#include "HelpPictures.h"
#include "WindowShots.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

struct Mode {
    const char* option;
    const char* usage;
    int (*run)(const QString& dir);
};

const Mode kModes[] = {
    {"--art", "DIR       sheets of the built-in artwork, one PNG per look", qxshots::writeArtSheets},
    {"--gallery", "DIR   every skinned control in its states, one PNG per look", qxshots::writeGalleries},
    {"--frames", "DIR    framed windows with their menus, one PNG per look, and the title bars", qxshots::writeFrameSheets},
    {"--windows", "DIR   every window of the program in every look, and a contact sheet per look", qxshots::writeWindowShots},
    {"--help-pictures", "DIR  the help page's pictures of the program's pages, in the default look",
     qxshots::writeHelpPictures},
};

int usage()
{
    std::fprintf(stderr, "usage:\n");
    for (const Mode& m : kModes)
        std::fprintf(stderr, "  qxshots %s %s\n", m.option, m.usage);
    std::fprintf(stderr, "  --scale N       with any of them: N device pixels a pixel (a dense screen)\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // "--scale N" paints everything at N device pixels a pixel, as on a dense screen.
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--scale") == 0)
            qputenv("QT_SCALE_FACTOR", argv[i + 1]);
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    if (const qsizetype at = args.indexOf("--scale"); at > 0 && at + 1 < args.size())
        args.remove(at, 2);
    if (args.size() != 3)
        return usage();
    for (const Mode& m : kModes)
        if (args[1] == QLatin1String(m.option))
            return m.run(args[2]);
    return usage();
}
