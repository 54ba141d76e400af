// qx_artgen OUTDIR NAMES: draws every picture of the catalog into OUTDIR/NAME.png.
// qx_artgen --icons OUTDIR NAME: draws the program's icon at the icon theme's sizes.
// NAMES is the list the build embeds; the run fails when it and the catalog differ,
// so a picture cannot be drawn without being embedded, or listed without being drawn.
#include "ArtworkCatalog.h"
#include "Kit.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <set>
#include <string>

namespace {

QImage draw(const artwork::Picture& pic)
{
    if (pic.look == "MACOS")
        return artgen::drawMacOS(pic);
    if (pic.look == "WINXP")
        return artgen::drawWinXP(pic);
    if (pic.look == "DEEPBLUE")
        return artgen::drawDeepBlue(pic);
    if (pic.look == "PROTEIN")
        return artgen::drawProtein(pic);
    if (pic.look == "BLUEGLASS")
        return artgen::drawBlueGlass(pic);
    return artgen::drawShared(pic);
}

bool mayHoldMagenta(artwork::Drawing d)
{
    using D = artwork::Drawing;
    return d == D::NineKeyed || d == D::Shaped || d == D::KeyBottomLeft || d == D::KeyTopLeft;
}

// What no picture may carry: a wrong size, colours a hair away from the key (they
// would show as pink fringes), or the key in a picture drawn opaque.
std::string fault(const artwork::Picture& pic, const QImage& image)
{
    if (image.isNull())
        return "nothing drawn";
    if (image.width() != pic.width || image.height() != pic.height)
        return "drawn " + std::to_string(image.width()) + "x" + std::to_string(image.height());
    if (pic.drawing == artwork::Drawing::Alpha)
        return {};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            const std::string at = " at " + std::to_string(x) + "," + std::to_string(y);
            if (artgen::nearMagenta(c))
                return "near-magenta pixel" + at;
            if ((c & 0xFFFFFF) == 0xFF00FF && !mayHoldMagenta(pic.drawing))
                return "magenta in an opaque picture" + at;
        }
    return {};
}

}  // namespace

// The program's icon for the desktop's icon theme: OUTDIR/NxN/apps/NAME.png.
int drawDesktopIcons(const QString& outDir, const QString& name)
{
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(outDir).arg(size);
        QDir().mkpath(dir);
        const QString path = dir + "/" + name + ".png";
        if (!artgen::mainIcon(size).save(path, "PNG")) {
            std::fprintf(stderr, "qx_artgen: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--icons")
        return drawDesktopIcons(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (argc != 3) {
        std::fprintf(stderr, "usage: qx_artgen OUTDIR NAMES\n       qx_artgen --icons OUTDIR NAME\n");
        return 2;
    }
    // Raster painting only, no text: no application object needed.
    const QString outDir = QString::fromLocal8Bit(argv[1]);

    QFile namesFile(QString::fromLocal8Bit(argv[2]));
    if (!namesFile.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "qx_artgen: cannot read %s\n", argv[2]);
        return 1;
    }
    std::set<std::string> listed;
    QTextStream in(&namesFile);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (!line.isEmpty() && !line.startsWith('#'))
            listed.insert(line.toStdString());
    }
    std::set<std::string> known;
    for (const artwork::Picture& pic : artwork::catalog())
        known.insert(pic.name);
    bool same = true;
    for (const std::string& name : known)
        if (!listed.count(name)) {
            std::fprintf(stderr, "qx_artgen: %s is in the catalog but not in %s\n", name.c_str(), argv[2]);
            same = false;
        }
    for (const std::string& name : listed)
        if (!known.count(name)) {
            std::fprintf(stderr, "qx_artgen: %s is listed but not in the catalog\n", name.c_str());
            same = false;
        }
    if (!same)
        return 1;

    QDir().mkpath(outDir);
    int failures = 0;
    for (const artwork::Picture& pic : artwork::catalog()) {
        QImage image = draw(pic);
        const std::string problem = fault(pic, image);
        if (!problem.empty()) {
            std::fprintf(stderr, "qx_artgen: %s: %s\n", pic.name.c_str(), problem.c_str());
            ++failures;
            continue;
        }
        image = image.convertToFormat(pic.drawing == artwork::Drawing::Alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        const QString path = outDir + "/" + QString::fromStdString(pic.name) + ".png";
        if (!image.save(path, "PNG")) {
            std::fprintf(stderr, "qx_artgen: cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
