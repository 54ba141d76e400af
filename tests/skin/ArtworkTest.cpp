// The built-in artwork as the skin loads it: every catalog picture embedded at its
// size and frame layout, magenta only where the drawing leaves the background and
// never a near-magenta fringe, opaque pictures that match what they are drawn over.
#include "ArtworkCatalog.h"
#include "ArtworkResources.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

namespace {

using artwork::Drawing;
using artwork::Picture;

constexpr QRgb kMagenta = 0xFF00FF;

QImage load(const std::string& name) { return QImage(artwork::resourcePath(name)); }

bool isMagenta(QRgb c) { return (c & 0xFFFFFF) == kMagenta; }

QImage frame(const QImage& image, int frames, int index)
{
    const int fw = image.width() / frames;
    return image.copy(index * fw, 0, fw, image.height());
}

TEST(Artwork, EveryCatalogPictureLoadsAtItsSize)
{
    ASSERT_EQ(artwork::catalog().size(), 101u);
    for (const Picture& pic : artwork::catalog()) {
        SCOPED_TRACE(pic.name);
        const QImage image = load(pic.name);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(pic.width, pic.height));
        EXPECT_EQ(static_cast<int>(pic.frameLabels.size()), pic.frames);
        // Only the application icon carries alpha; the skin keys everything else on colours.
        EXPECT_EQ(image.hasAlphaChannel(), pic.drawing == Drawing::Alpha);
    }
}

TEST(Artwork, FrameLayoutsFollowTheLookTable)
{
    struct Case {
        const char* name;
        int width, height, frames, frameWidth;
    };
    const Case cases[] = {
        {"MACOS_BUTTON", 252, 23, 3, 84},        {"WINXP_BUTTON", 54, 21, 3, 18},
        {"DEEPBLUE_BUTTON", 222, 21, 3, 74},     {"PROTEIN_BUTTON", 222, 21, 3, 74},
        {"BLUEGLASS_BUTTON", 231, 27, 3, 77},    {"MACOS_CHECKBOX", 60, 17, 4, 15},
        {"MACOS_RADIOBUTTON", 64, 17, 4, 16},    {"WINXP_RADIOBUTTON", 52, 13, 4, 13},
        {"MACOS_TITLEBTN", 306, 17, 18, 17},     {"WINXP_TITLEBTN", 378, 21, 18, 21},
        {"BLUEGLASS_TITLEBTN", 342, 19, 18, 19}, {"PROTEIN_TITLE_LEFT", 441, 23, 1, 441},
        {"BLUEGLASS_TITLE_RIGHT", 101, 33, 1, 101}, {"BLUEGLASS_SCROLLBAR_BUTTON", 102, 16, 6, 17},
        {"MACOS_SCROLLBAR_TRACK", 33, 16, 3, 11}, {"DEEPBLUE_SIDECHENNEL_BAR", 1, 20, 1, 1},
        {"MACOS_SCROLLBUTTON", 72, 18, 4, 18},   {"MORE_SCROLLBUTTON", 72, 17, 4, 18},
        {"PANEL_BUTTON", 52, 12, 4, 13},         {"MACOS_FORM_BACKGROUND", 8, 8, 1, 8},
        {"MACOS_MENU_BAR", 1, 22, 1, 1},         {"MENU_CHECKED", 16, 16, 1, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Picture* pic = artwork::findPicture(c.name);
        ASSERT_NE(pic, nullptr);
        EXPECT_EQ(pic->width, c.width);
        EXPECT_EQ(pic->height, c.height);
        EXPECT_EQ(pic->frames, c.frames);
        EXPECT_EQ(pic->frameWidth(), c.frameWidth);
    }
    // Frame order of the title buttons: six groups of normal, mouse over, pressed.
    const Picture* buttons = artwork::findPicture("WINXP_TITLEBTN");
    EXPECT_EQ(buttons->frameLabels[15], "close normal");
    EXPECT_EQ(buttons->frameLabels[6], "maximise normal");
    EXPECT_EQ(buttons->frameLabels[9], "restore normal");
}

TEST(Artwork, OnlyCatalogNamesAreEmbedded)
{
    std::set<std::string> expected;
    for (const Picture& pic : artwork::catalog())
        expected.insert(pic.name + ".png");
    std::set<std::string> embedded;
    for (const QString& file : QDir(QStringLiteral(":/art")).entryList(QDir::Files))
        embedded.insert(file.toStdString());
    EXPECT_EQ(embedded, expected);

    // The three looks that share MORE_SCROLLBUTTON have none of their own; the
    // element names keep their spelling.
    for (const char* absent : {"DEEPBLUE_SCROLLBUTTON", "PROTEIN_SCROLLBUTTON", "BLUEGLASS_SCROLLBUTTON",
                               "WINXP_SIDECHANNEL_BAR", "STATUSBAR_HANDLE", "NO_SUCH_PICTURE"}) {
        EXPECT_EQ(artwork::findPicture(absent), nullptr) << absent;
        EXPECT_TRUE(load(absent).isNull()) << absent;
    }
    for (const char* present : {"MACOS_SCROLLBUTTON", "WINXP_SCROLLBUTTON", "BLUEGLASS_SIDECHENNEL_HANDLE"})
        EXPECT_FALSE(load(present).isNull()) << present;
}

TEST(Artwork, NoPixelIsANearMissOfMagenta)
{
    for (const Picture& pic : artwork::catalog()) {
        if (pic.drawing == Drawing::Alpha)
            continue;
        SCOPED_TRACE(pic.name);
        const QImage image = load(pic.name);
        const bool keyed = pic.drawing == Drawing::NineKeyed || pic.drawing == Drawing::Shaped ||
                           pic.drawing == Drawing::KeyBottomLeft || pic.drawing == Drawing::KeyTopLeft;
        int fringe = 0, key = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y);
                const int dr = 255 - qRed(c), dg = qGreen(c), db = 255 - qBlue(c);
                if (isMagenta(c))
                    ++key;
                else if (dr * dr + dg * dg + db * db <= 64 * 64)
                    ++fringe;
            }
        EXPECT_EQ(fringe, 0);
        // Pictures drawn opaque would show magenta on screen.
        if (!keyed) {
            EXPECT_EQ(key, 0);
        }
    }
}

TEST(Artwork, MaskedPicturesAreMagentaWhereTheyAreCut)
{
    for (const Picture& pic : artwork::catalog()) {
        SCOPED_TRACE(pic.name);
        const QImage image = load(pic.name);
        for (int k = 0; k < pic.frames; ++k) {
            const QImage f = frame(image, pic.frames, k);
            const int r = f.width() - 1, b = f.height() - 1;
            // The middle of every frame is the picture itself.
            EXPECT_FALSE(isMagenta(f.pixel(f.width() / 2, f.height() / 2)));
            switch (pic.drawing) {
            case Drawing::NineKeyed:  // rounded top corners outside the face
                EXPECT_TRUE(isMagenta(f.pixel(0, 0)));
                EXPECT_TRUE(isMagenta(f.pixel(r, 0)));
                break;
            case Drawing::KeyBottomLeft:  // the bottom-left pixel is the key
                EXPECT_TRUE(isMagenta(f.pixel(0, b)));
                break;
            case Drawing::KeyTopLeft:
                EXPECT_TRUE(isMagenta(f.pixel(0, 0)));
                break;
            case Drawing::Shaped:  // the window's round top corner
                EXPECT_TRUE(isMagenta(f.pixel(pic.element == "TITLE_LEFT" ? 0 : r, 0)));
                EXPECT_FALSE(isMagenta(f.pixel(pic.element == "TITLE_LEFT" ? r : 0, 0)));
                break;
            case Drawing::KeyWhite:
                EXPECT_EQ(f.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
                break;
            default: break;
            }
        }
    }
    // Radio marks are round: all four corners of each frame are left out.
    const QImage radio = load("MACOS_RADIOBUTTON");
    for (int k = 0; k < 4; ++k) {
        const QImage f = frame(radio, 4, k);
        for (QPoint corner : {QPoint(0, 0), QPoint(f.width() - 1, 0), QPoint(0, f.height() - 1), QPoint(f.width() - 1, f.height() - 1)})
            EXPECT_TRUE(isMagenta(f.pixel(corner))) << k;
    }
}

// Within a few levels of `expected` in every channel: an edge softly blended with it.
bool near(QRgb c, QRgb expected, int levels = 24)
{
    return std::abs(qRed(c) - qRed(expected)) <= levels && std::abs(qGreen(c) - qGreen(expected)) <= levels &&
           std::abs(qBlue(c) - qBlue(expected)) <= levels;
}

// Buttons of the looks that draw their corners opaque sit on the window colour there.
TEST(Artwork, OpaqueButtonCornersAreTheWindowColour)
{
    const std::pair<const char*, QRgb> cases[] = {
        {"WINXP_BUTTON", 0xEFEBDE}, {"DEEPBLUE_BUTTON", 0xE8E8E8}, {"PROTEIN_BUTTON", 0xFBFBFB}};
    for (const auto& [name, form] : cases) {
        SCOPED_TRACE(name);
        const Picture* pic = artwork::findPicture(name);
        ASSERT_EQ(pic->drawing, Drawing::NineOpaque);
        const QImage image = load(name);
        for (int k = 0; k < 3; ++k) {
            const QImage f = frame(image, 3, k);
            EXPECT_TRUE(near(f.pixel(0, 0), form)) << std::hex << f.pixel(0, 0);
            EXPECT_TRUE(near(f.pixel(f.width() - 1, f.height() - 1), form)) << std::hex << f.pixel(f.width() - 1, 0);
        }
    }
}

// Title buttons drawn opaque carry the bar's own rows around their face, taken from
// where the bar places them, so no box shows around a button.
TEST(Artwork, OpaqueTitleButtonsCarryTheBarBehindThem)
{
    const std::pair<const char*, int> cases[] = {{"MACOS", 4}, {"WINXP", 5}, {"DEEPBLUE", 2}};
    for (const auto& [look, top] : cases) {
        SCOPED_TRACE(look);
        const std::string prefix = look;
        ASSERT_EQ(artwork::findPicture(prefix + "_TITLEBTN")->drawing, Drawing::Plain);
        const QImage buttons = load(prefix + "_TITLEBTN");
        const QImage bar = load(prefix + "_TITLE_CLIENT");
        const QImage controlBox = frame(buttons, 18, 0);
        for (int y = 0; y < controlBox.height(); ++y)
            EXPECT_EQ(controlBox.pixel(0, y), bar.pixel(0, top + y)) << "row " << y;
    }
}

TEST(Artwork, LooksDrawEveryElementTheirOwnWay)
{
    std::set<std::string> elements;
    for (const Picture& pic : artwork::catalog())
        if (!pic.look.empty())
            elements.insert(pic.element);
    for (const std::string& element : elements) {
        std::vector<std::pair<std::string, QImage>> looks;
        for (const std::string& look : artwork::lookPrefixes())
            if (artwork::findPicture(look + "_" + element))
                looks.emplace_back(look, load(look + "_" + element));
        for (std::size_t i = 0; i < looks.size(); ++i)
            for (std::size_t j = i + 1; j < looks.size(); ++j)
                EXPECT_NE(looks[i].second, looks[j].second) << element << ": " << looks[i].first << " and " << looks[j].first;
    }
}

TEST(Artwork, EveryFrameShowsAStateOfItsOwn)
{
    for (const Picture& pic : artwork::catalog()) {
        if (pic.frames < 2)
            continue;
        const QImage image = load(pic.name);
        for (int i = 0; i < pic.frames; ++i)
            for (int j = i + 1; j < pic.frames; ++j)
                EXPECT_NE(frame(image, pic.frames, i), frame(image, pic.frames, j))
                    << pic.name << ": " << pic.frameLabels[i] << " and " << pic.frameLabels[j];
    }
}

TEST(Artwork, ApplicationIconIsShapedByItsAlpha)
{
    for (const char* name : {"MAINICON", "MAINICON_16"}) {
        SCOPED_TRACE(name);
        const QImage icon = load(name).convertToFormat(QImage::Format_ARGB32);
        const int s = icon.width();
        // Round corners: next to nothing of the corner pixels is covered.
        EXPECT_LT(qAlpha(icon.pixel(0, s - 1)), 100);
        EXPECT_LT(qAlpha(icon.pixel(s - 1, 0)), 100);
        EXPECT_EQ(qAlpha(icon.pixel(s / 2, s / 2)), 255);
    }
}

}  // namespace
