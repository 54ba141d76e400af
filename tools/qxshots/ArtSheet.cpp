// Sheets of the built-in artwork for review: every picture at 2x, cut into its frames
// with their borders marked, and for each look a few pictures put together the way
// the skin uses them (title bar with its buttons, stretched push buttons, marks,
// panel strip), at 1:1 and 2x.
#include "ArtSheet.h"

#include "ArtworkCatalog.h"
#include "ArtworkResources.h"

#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace qxshots {
namespace {

constexpr int kZoom = 2;
constexpr int kMargin = 16;
constexpr int kGap = 24;
const QColor kSheet(0xB4, 0xB4, 0xB4);
const QColor kInk(0x1A, 0x1A, 0x1A);
const QRgb kMagenta = qRgb(0xFF, 0x00, 0xFF);

// What the preview needs of each look: form background and the title-bar layout values.
struct Look {
    const char* prefix;
    QColor form;
    const char* tile;  // tiled window background, or null
    int leftOffset;
    int rightOffset;
    int buttonTop;
    bool keyedTitleButtons;
    bool keyedPushButton;
    QColor caption;
    QColor border;
    int borderWidth;
};

const Look kLooks[] = {
    {"MACOS", QColor(0xE7, 0xE7, 0xE7), "MACOS_FORM_BACKGROUND", 3, -2, 4, false, true, Qt::black, QColor(0x7F, 0x7F, 0x7F), 1},
    {"WINXP", QColor(0xEF, 0xEB, 0xDE), nullptr, 2, -2, 5, false, false, Qt::white, QColor(0x00, 0x2C, 0xC8), 3},
    {"DEEPBLUE", QColor(0xE8, 0xE8, 0xE8), nullptr, 0, 0, 2, false, false, Qt::white, Qt::black, 1},
    {"PROTEIN", QColor(0xFB, 0xFB, 0xFB), "PROTEIN_FORM_BACKGROUND", 0, 0, 2, true, false, Qt::white, Qt::black, 1},
    {"BLUEGLASS", QColor(0xE7, 0xE7, 0xE7), nullptr, 4, -3, 6, true, true, Qt::white, Qt::black, 1},
};

QImage load(const std::string& name) { return QImage(artwork::resourcePath(name)); }

QImage frameOf(const QImage& image, int frames, int index)
{
    const int fw = image.width() / frames;
    return image.copy(index * fw, 0, fw, image.height());
}

// The picture with one colour made transparent, as the skin draws keyed pictures.
QImage keyed(const QImage& image, QRgb key)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            if ((out.pixel(x, y) & 0xFFFFFF) == (key & 0xFFFFFF))
                out.setPixel(x, y, 0);
    return out;
}

QImage zoomed(const QImage& image, int zoom = kZoom)
{
    return image.scaled(image.width() * zoom, image.height() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

void checker(QPainter& p, const QRect& r)
{
    p.save();
    p.setClipRect(r);
    for (int y = r.top(); y < r.bottom() + 1; y += 6)
        for (int x = r.left(); x < r.right() + 1; x += 6)
            p.fillRect(x, y, 6, 6, ((x - r.left()) / 6 + (y - r.top()) / 6) % 2 ? QColor(0xC8, 0xC8, 0xC8) : QColor(0xE0, 0xE0, 0xE0));
    p.restore();
}

QFont font(int pixels, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

void fillForm(QPainter& p, const QRect& r, const Look& look)
{
    if (look.tile)
        p.fillRect(r, QBrush(load(look.tile)));
    else
        p.fillRect(r, look.form);
}

// A rough nine-piece stretch, close enough to judge how a button picture stretches:
// corners kept, edges and middle stretched, magenta left out (in the corners only when
// the look masks them).
QImage ninePiece(const QImage& frame, int w, int h, bool keyedCorners)
{
    const QImage masked = keyed(frame, kMagenta);
    const QImage& cornerSource = keyedCorners ? masked : frame;
    const int bw = frame.width(), bh = frame.height();
    const int hw = bw / 2, hh = bh / 2;
    QImage out(w, h, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter p(&out);
    const int lw = std::min(hw, w / 2), rw = std::min(hw - 1, w / 2 - 1);
    const int th = std::min(hh, h / 2), bt = std::min(hh - 1, h / 2 - 1);
    auto piece = [&](const QImage& src, QRect to, QRect from) {
        if (to.width() > 0 && to.height() > 0 && from.width() > 0 && from.height() > 0)
            p.drawImage(to, src, from);
    };
    piece(cornerSource, {0, 0, lw, th}, {0, 0, lw, th});
    piece(cornerSource, {0, h - bt, lw, bt}, {0, bh - bt, lw, bt});
    piece(cornerSource, {w - rw, 0, rw, th}, {bw - rw, 0, rw, th});
    piece(cornerSource, {w - rw, h - bt, rw, bt}, {bw - rw, bh - bt, rw, bt});
    piece(masked, {0, th, lw, h - th - bt}, {0, hh, lw, 1});
    piece(masked, {w - rw, th, rw, h - th - bt}, {bw - rw, hh + 1, rw, 1});
    piece(masked, {lw, 0, w - lw - rw, th}, {hw, 0, bw - 2 * hw + 1, th});
    piece(masked, {lw, h - bt, w - lw - rw, bt}, {hw, bh - bt, bw - 2 * hw + 1, bt});
    piece(masked, {lw, th, w - lw - rw, h - th - bt}, {hw, hh, bw - 2 * hw + 1, 1});
    return out;
}

// The top of a window in this look: title pictures, buttons in one state, caption.
QImage titleBar(const Look& look, int width, int state)
{
    const std::string p = look.prefix;
    const QImage left = keyed(load(p + "_TITLE_LEFT"), kMagenta);
    const QImage client = load(p + "_TITLE_CLIENT");
    const QImage right = keyed(load(p + "_TITLE_RIGHT"), kMagenta);
    const QImage buttons = load(p + "_TITLEBTN");
    QImage out(width, left.height(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter g(&out);
    if (width - left.width() - right.width() > 0)
        g.drawImage(QRect(left.width(), 0, width - left.width() - right.width(), client.height()), client);
    g.drawImage(0, 0, left);
    g.drawImage(width - right.width(), 0, right);
    g.fillRect(0, 0, look.borderWidth, out.height(), look.border);
    g.fillRect(width - look.borderWidth, 0, look.borderWidth, out.height(), look.border);
    auto button = [&](int group, int x) {
        QImage b = frameOf(buttons, 18, group * 3 + state);
        if (look.keyedTitleButtons)
            b = keyed(b, b.pixel(0, b.height() - 1));
        g.drawImage(x, look.buttonTop, b);
        return b.width();
    };
    // Right-hand buttons from the right: close, maximise, minimise, help.
    const int bar = width - 6;
    int x = bar + look.rightOffset + 1;
    const int pw = buttons.width() / 18;
    for (int group : {5, 2, 4, 1}) {
        x -= pw + 1;
        button(group, 3 + x);
    }
    const int captionX = 3 + look.leftOffset + button(0, 3 + look.leftOffset) + 5;
    g.setFont(font(11, true));
    g.setPen(look.caption);
    const int th = QFontMetrics(g.font()).height();
    g.drawText(QRect(captionX, look.buttonTop + (buttons.height() - th) / 2, 3 + x - captionX, th),
               Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quorlantix Converter Lite"));
    return out;
}

// A few of the look's pictures assembled, at 1:1.
QImage assembled(const Look& look)
{
    const std::string p = look.prefix;
    const int width = 440;
    std::vector<QImage> bars;
    int height = 0;
    for (int state = 0; state < 3; ++state) {
        bars.push_back(titleBar(look, width, state));
        height += bars.back().height() + 4;
    }
    height += 27 * 2 + 8 + 20 + 30 + 8;
    QImage out(width, height + 8, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter g(&out);
    int y = 0;
    for (const QImage& b : bars) {
        g.drawImage(0, y, b);
        y += b.height() + 4;
    }
    // Push buttons in their three states, stretched to two sizes, with a caption.
    fillForm(g, QRect(0, y, width, out.height() - y), look);
    const QImage button = load(p + "_BUTTON");
    const artwork::Picture* pic = artwork::findPicture(p + "_BUTTON");
    g.setFont(font(11, false));
    g.setPen(Qt::black);
    for (int row = 0; row < 2; ++row) {
        const int w = row == 0 ? 90 : 130;
        for (int state = 0; state < 3; ++state) {
            const QRect r(4 + state * (w + 8), y + 4 + row * 31, w, 27);
            g.drawImage(r.topLeft(), ninePiece(frameOf(button, pic->frames, state), r.width(), r.height(), look.keyedPushButton));
            g.drawText(r.translated(state == 2 ? QPoint(1, 1) : QPoint()), Qt::AlignCenter, QStringLiteral("Next  >"));
        }
    }
    y += 4 + 2 * 31 + 4;
    // Check boxes (opaque) and radio buttons (keyed on the bottom-left pixel).
    const QImage check = load(p + "_CHECKBOX");
    const QImage radio = load(p + "_RADIOBUTTON");
    int x = 4;
    for (int k = 0; k < 4; ++k) {
        g.drawImage(x, y, frameOf(check, 4, k));
        x += check.width() / 4 + 6;
    }
    x += 10;
    for (int k = 0; k < 4; ++k) {
        QImage f = frameOf(radio, 4, k);
        g.drawImage(x, y, keyed(f, f.pixel(0, f.height() - 1)));
        x += radio.width() / 4 + 6;
    }
    y += 22;
    // A skinned panel's caption strip with its fold button.
    const QImage strip = load(p + "_SIDECHENNEL_BAR");
    const QRect panel(4, y, 260, 26);
    g.fillRect(panel, Qt::white);
    g.drawImage(QRect(panel.left() + 1, y, panel.width() - 2, strip.height()), strip);
    g.setPen(look.caption == Qt::black || std::string(look.prefix) == "WINXP" ? Qt::black : Qt::white);
    g.drawText(QRect(panel.left() + 10, y, panel.width() - 20, strip.height()), Qt::AlignVCenter, QStringLiteral("Options"));
    g.drawImage(panel.right() - 16, y + ((strip.height() - 12) / 2) / 2 + 2, frameOf(load("PANEL_BUTTON"), 4, 0));
    return out;
}

struct Block {
    QImage image;
};

// A small area filled the way the skin uses the picture, for pictures too small or
// too thin to judge alone: tiled ones repeated, one-pixel strips stretched.
QImage sample(const artwork::Picture& pic, const QImage& image)
{
    if (pic.drawing == artwork::Drawing::Tiled) {
        QImage out(std::max(48, pic.width * 4), std::max(24, pic.height * 2), QImage::Format_RGB32);
        QPainter(&out).fillRect(out.rect(), QBrush(image));
        return out;
    }
    if (pic.drawing == artwork::Drawing::Strip && pic.width < 8)
        return image.scaled(48, pic.height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return {};
}

// One picture: name, size and frames, then the frames at 2x with their borders.
Block pictureBlock(const artwork::Picture& pic, const QImage& image)
{
    const int fw = pic.frameWidth();
    const int zw = fw * kZoom, zh = pic.height * kZoom;
    const int frameGap = pic.frames > 1 ? 6 : 0;
    const QImage extra = sample(pic, image);
    int framesWidth = pic.frames * (zw + 2) + (pic.frames - 1) * frameGap;
    if (!extra.isNull())
        framesWidth += 12 + extra.width() * kZoom + 2;
    QString detail = QStringLiteral("%1 x %2").arg(pic.width).arg(pic.height);
    if (pic.frames > 1) {
        QStringList labels;
        for (const std::string& l : pic.frameLabels)
            labels << QString::fromStdString(l);
        detail += QStringLiteral(", %1 frames of %2: ").arg(pic.frames).arg(fw) + labels.join(QStringLiteral(", "));
    }
    const QFont nameFont = font(12, true), detailFont = font(10, false);
    const QString name = QString::fromStdString(pic.name);
    const int nameWidth = QFontMetrics(nameFont).horizontalAdvance(name);
    const int textWidth = std::max({framesWidth, nameWidth, 300});
    const QRect detailBox = QFontMetrics(detailFont).boundingRect(QRect(0, 0, textWidth, 1000), Qt::TextWordWrap, detail);
    const int top = 16 + detailBox.height() + 4;
    const int numbers = pic.frames > 1 ? 14 : 0;
    const int height = std::max(zh, extra.height() * kZoom);
    Block b;
    b.image = QImage(std::max({framesWidth, nameWidth, std::min(textWidth, detailBox.width())}), top + height + 2 + numbers,
                     QImage::Format_ARGB32);
    b.image.fill(Qt::transparent);
    QPainter g(&b.image);
    g.setPen(kInk);
    g.setFont(nameFont);
    g.drawText(0, 12, name);
    g.setFont(detailFont);
    g.drawText(QRect(0, 16, b.image.width(), detailBox.height()), Qt::TextWordWrap, detail);
    int x = 0;
    for (int k = 0; k < pic.frames; ++k) {
        const QRect inner(x + 1, top + 1, zw, zh);
        checker(g, inner);
        g.drawImage(inner.topLeft(), zoomed(frameOf(image, pic.frames, k)));
        g.setPen(kInk);
        g.drawRect(inner.adjusted(-1, -1, 0, 0));
        if (pic.frames > 1) {
            g.setFont(font(9, false));
            g.drawText(QRect(x, top + zh + 2, zw + 2, numbers), Qt::AlignHCenter | Qt::AlignTop, QString::number(k + 1));
        }
        x += zw + 2 + frameGap;
    }
    if (!extra.isNull()) {
        const QImage z = zoomed(extra);
        g.drawImage(x - frameGap + 12 + 1, top + 1, z);
    }
    return b;
}

Block previewBlock(const Look& look)
{
    const QImage one = assembled(look);
    const QImage two = zoomed(one);
    Block b;
    b.image = QImage(two.width(), 18 + one.height() + 12 + two.height(), QImage::Format_ARGB32);
    b.image.fill(Qt::transparent);
    QPainter g(&b.image);
    g.setPen(kInk);
    g.setFont(font(12, true));
    g.drawText(0, 12, QStringLiteral("Put together: title bar (normal, mouse over, pressed), buttons, marks, panel strip"));
    checker(g, QRect(0, 18, one.width(), one.height()));
    g.drawImage(0, 18, one);
    checker(g, QRect(0, 18 + one.height() + 12, two.width(), two.height()));
    g.drawImage(0, 18 + one.height() + 12, two);
    return b;
}

QImage sheet(const QString& title, const std::vector<Block>& blocks)
{
    int width = 1240;
    for (const Block& b : blocks)
        width = std::max(width, b.image.width() + 2 * kMargin);
    // Flow the blocks into rows.
    struct Placed {
        const Block* block;
        QPoint at;
    };
    std::vector<Placed> placed;
    int x = kMargin, y = 44, rowHeight = 0;
    for (const Block& b : blocks) {
        if (x > kMargin && x + b.image.width() > width - kMargin) {
            x = kMargin;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        placed.push_back({&b, QPoint(x, y)});
        x += b.image.width() + kGap;
        rowHeight = std::max(rowHeight, b.image.height());
    }
    QImage out(width, y + rowHeight + kMargin, QImage::Format_RGB32);
    out.fill(kSheet);
    QPainter g(&out);
    g.setPen(kInk);
    g.setFont(font(18, true));
    g.drawText(kMargin, 28, title);
    for (const Placed& pl : placed)
        g.drawImage(pl.at, pl.block->image);
    return out;
}

}  // namespace

int writeArtSheets(const QString& dir)
{
    QDir().mkpath(dir);
    int problems = 0;
    std::vector<std::string> groups = artwork::lookPrefixes();
    groups.push_back("");
    for (const std::string& group : groups) {
        std::vector<Block> blocks;
        for (const artwork::Picture& pic : artwork::catalog()) {
            if (pic.look != group)
                continue;
            const QImage image = load(pic.name);
            if (image.isNull() || image.width() != pic.width || image.height() != pic.height) {
                std::fprintf(stderr, "qxshots: %s is missing or has the wrong size\n", pic.name.c_str());
                ++problems;
                continue;
            }
            blocks.push_back(pictureBlock(pic, image));
        }
        const std::string name = group.empty() ? "SHARED" : group;
        for (const Look& look : kLooks)
            if (group == look.prefix)
                blocks.push_back(previewBlock(look));
        const QString path = dir + QStringLiteral("/art-%1.png").arg(QString::fromStdString(name));
        if (!sheet(QString::fromStdString(name) + QStringLiteral(" artwork (2x)"), blocks).save(path)) {
            std::fprintf(stderr, "qxshots: cannot write %s\n", qPrintable(path));
            ++problems;
        } else {
            std::printf("%s\n", qPrintable(path));
        }
    }
    return problems == 0 ? 0 : 1;
}

}  // namespace qxshots
