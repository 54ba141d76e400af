#include "ArtworkCatalog.h"

#include <array>

namespace artwork {
namespace {

// Looks in enumeration order: MacOS, WinXP, DeepBlue, Protein, BlueGlass.
constexpr int kLooks = 5;
constexpr std::array<const char*, kLooks> kPrefixes = {"MACOS", "WINXP", "DEEPBLUE", "PROTEIN",
                                                       "BLUEGLASS"};

struct Size {
    int w;
    int h;
};

// One element of the look table: its size in each look (0 x 0: the look has no picture
// of its own), frame labels and drawing per look.
struct Element {
    const char* name;
    std::array<Size, kLooks> sizes;
    std::vector<std::string> labels;
    std::array<Drawing, kLooks> drawing;
};

std::array<Drawing, kLooks> all(Drawing d) { return {d, d, d, d, d}; }

std::vector<std::string> states3() { return {"normal", "mouse over", "pressed"}; }
std::vector<std::string> checkStates() { return {"checked", "unchecked", "checked disabled", "unchecked disabled"}; }
std::vector<std::string> scrollStates() { return {"up", "up mouse over", "down", "down mouse over"}; }

std::vector<std::string> titleButtonStates()
{
    std::vector<std::string> labels;
    for (const char* group : {"control box", "help", "maximise", "restore", "minimise", "close"})
        for (const char* state : {"normal", "mouse over", "pressed"})
            labels.push_back(std::string(group) + " " + state);
    return labels;
}

std::vector<Element> elements()
{
    using D = Drawing;
    return {
        {"BUTTON", {{{252, 23}, {54, 21}, {222, 21}, {222, 21}, {231, 27}}}, states3(),
         // Only the looks whose buttons take the parent's background mask their corners.
         {D::NineKeyed, D::NineOpaque, D::NineOpaque, D::NineOpaque, D::NineKeyed}},
        {"CHECKBOX", {{{60, 17}, {52, 13}, {52, 13}, {52, 13}, {52, 13}}}, checkStates(), all(D::Plain)},
        {"RADIOBUTTON", {{{64, 17}, {52, 13}, {52, 13}, {52, 13}, {52, 13}}}, checkStates(),
         all(D::KeyBottomLeft)},
        {"TITLEBTN", {{{306, 17}, {378, 21}, {342, 19}, {342, 19}, {342, 19}}}, titleButtonStates(),
         {D::Plain, D::Plain, D::Plain, D::KeyBottomLeft, D::KeyBottomLeft}},
        {"TITLE_LEFT", {{{48, 23}, {35, 29}, {97, 32}, {441, 23}, {162, 33}}}, {""},
         {D::Plain, D::Shaped, D::Plain, D::Plain, D::Shaped}},
        {"TITLE_CLIENT", {{{49, 23}, {37, 29}, {98, 32}, {1, 23}, {179, 33}}}, {""}, all(D::Strip)},
        {"TITLE_RIGHT", {{{48, 23}, {35, 29}, {97, 32}, {1, 23}, {101, 33}}}, {""},
         {D::Plain, D::Shaped, D::Plain, D::Plain, D::Shaped}},
        {"PROGRESSBAR", {{{13, 10}, {6, 10}, {1, 10}, {1, 10}, {1, 10}}}, {""}, all(D::Tiled)},
        {"TRACKBAR_BAR", {{{45, 5}, {45, 8}, {45, 4}, {45, 4}, {45, 4}}}, {""}, all(D::KeyTopLeft)},
        {"TRACKBAR_SLIDER", {{{11, 20}, {11, 21}, {11, 20}, {11, 20}, {11, 20}}}, {""}, all(D::KeyTopLeft)},
        {"TRACKBAR_SLIDER_V", {{{19, 11}, {22, 11}, {18, 11}, {18, 11}, {18, 11}}}, {""}, all(D::KeyTopLeft)},
        {"SCROLLBAR_BUTTON", {{{96, 22}, {96, 17}, {96, 16}, {96, 16}, {102, 16}}},
         {"up normal", "up mouse over", "up pressed", "down normal", "down mouse over", "down pressed"},
         all(D::Plain)},
        {"SCROLLBAR_TRACK", {{{33, 16}, {21, 16}, {21, 16}, {21, 16}, {21, 16}}}, states3(), all(D::NineKeyed)},
        {"CHECKLIST", {{{40, 11}, {44, 11}, {44, 11}, {44, 11}, {44, 11}}}, checkStates(), all(D::Plain)},
        // DeepBlue, Protein and BlueGlass share MORE_SCROLLBUTTON.
        {"SCROLLBUTTON", {{{72, 18}, {72, 18}, {0, 0}, {0, 0}, {0, 0}}}, scrollStates(), all(D::Plain)},
        {"TAB", {{{36, 27}, {18, 18}, {12, 17}, {18, 17}, {18, 17}}}, {""}, all(D::NineKeyed)},
        {"TAB_LINE", {{{17, 7}, {8, 1}, {5, 5}, {10, 5}, {10, 5}}}, {""}, all(D::Strip)},
        {"SIDECHENNEL_HANDLE", {{{7, 84}, {8, 86}, {8, 83}, {8, 83}, {8, 86}}}, {""}, all(D::Plain)},
        {"SIDECHENNEL_BAR", {{{1, 21}, {1, 21}, {1, 20}, {1, 21}, {1, 21}}}, {""}, all(D::Strip)},
    };
}

Picture shared(const char* name, int w, int h, std::vector<std::string> labels, Drawing drawing)
{
    Picture p;
    p.name = name;
    p.element = name;
    p.width = w;
    p.height = h;
    p.frames = static_cast<int>(labels.size());
    p.frameLabels = std::move(labels);
    p.drawing = drawing;
    return p;
}

std::vector<Picture> build()
{
    std::vector<Picture> pictures;
    const std::vector<Element> table = elements();
    for (int look = 0; look < kLooks; ++look) {
        for (const Element& e : table) {
            const Size size = e.sizes[static_cast<std::size_t>(look)];
            if (size.w == 0)
                continue;
            Picture p;
            p.look = kPrefixes[static_cast<std::size_t>(look)];
            p.element = e.name;
            p.name = p.look + "_" + p.element;
            p.width = size.w;
            p.height = size.h;
            p.frames = static_cast<int>(e.labels.size());
            p.frameLabels = e.labels;
            p.drawing = e.drawing[static_cast<std::size_t>(look)];
            pictures.push_back(std::move(p));
        }
    }
    using D = Drawing;
    pictures.push_back(shared("MACOS_FORM_BACKGROUND", 8, 8, {""}, D::Tiled));
    pictures.push_back(shared("PROTEIN_FORM_BACKGROUND", 8, 8, {""}, D::Tiled));
    pictures.push_back(shared("MACOS_MENU_BAR", 1, 22, {""}, D::Strip));
    pictures.push_back(shared("MACOS_MENU_SELECT", 1, 21, {""}, D::Strip));
    pictures.push_back(shared("MENU_CHECKED", 16, 16, {""}, D::KeyWhite));
    // The fold button at the right end of a panel's caption strip; the arrows point the
    // way the panel will go when clicked.
    pictures.push_back(shared("PANEL_BUTTON", 52, 12,
                              {"expanded", "expanded mouse over", "collapsed", "collapsed mouse over"},
                              D::Plain));
    pictures.push_back(shared("MAINICON", 32, 32, {""}, D::Alpha));
    pictures.push_back(shared("MAINICON_16", 16, 16, {""}, D::Alpha));
    pictures.push_back(shared("MORE_SCROLLBUTTON", 72, 17, scrollStates(), D::Plain));
    return pictures;
}

}  // namespace

const std::vector<std::string>& lookPrefixes()
{
    static const std::vector<std::string> prefixes(kPrefixes.begin(), kPrefixes.end());
    return prefixes;
}

const std::vector<Picture>& catalog()
{
    static const std::vector<Picture> pictures = build();
    return pictures;
}

const Picture* findPicture(std::string_view name)
{
    for (const Picture& p : catalog())
        if (p.name == name)
            return &p;
    return nullptr;
}

}  // namespace artwork
