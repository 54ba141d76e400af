// The picture helpers, look propagation and screen helpers of the skin engine.
#include "skin/SuiPicture.h"
#include "skin/SuiLook.h"
#include "skin/SuiScreen.h"

#include "StandIns.h"

#include <QPaintEvent>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kBackground = 0xFF010203;

// Each pixel names its own place: red = x, green = y.
QImage CoordinateBitmap(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x, y, 7));
    return image;
}

QImage Draw(const QImage& bitmap, int w, int h, bool transparent)
{
    QImage canvas(w, h, QImage::Format_RGB32);
    canvas.fill(kBackground);
    QPainter p(&canvas);
    SpitDraw(bitmap, p, QRect(0, 0, w, h), transparent);
    return canvas;
}

// The bitmap place a canvas pixel was taken from.
QPoint Source(const QImage& canvas, int x, int y)
{
    const QRgb c = canvas.pixel(x, y);
    return {qRed(c), qGreen(c)};
}

TEST(SpitBitmap, CutsEqualFramesAndDropsTheRest)
{
    QImage wide(342, 19, QImage::Format_RGB32);
    for (int x = 0; x < 342; ++x)
        for (int y = 0; y < 19; ++y)
            wide.setPixel(x, y, qRgb(x % 256, y, x / 256));
    QImage frame;
    SpitBitmap(wide, frame, 18, 18);
    ASSERT_EQ(frame.size(), QSize(19, 19));
    EXPECT_EQ(frame, wide.copy(323, 0, 19, 19));

    const QImage hundred = CoordinateBitmap(100, 4);
    SpitBitmap(hundred, frame, 3, 3);
    ASSERT_EQ(frame.width(), 33);
    EXPECT_EQ(Source(frame, 32, 0).x(), 98) << "column 99 is never used";
    SpitBitmap(QImage(), frame, 3, 1);
    EXPECT_TRUE(frame.isNull());
}

TEST(SpitDraw, NinePiecesOver88x27)
{
    const QImage canvas = Draw(CoordinateBitmap(84, 23), 88, 27, false);
    for (int y = 0; y < 27; ++y)
        for (int x = 0; x < 88; ++x) {
            QPoint want;
            if (y >= 16 && x >= 41 && x <= 46)
                want = {42, 12 + (y - 16)};  // bottom edge, drawn last
            else if (x < 42 && y < 11)
                want = {x, y};  // top-left corner 42 x 11
            else if (x < 42 && y >= 17)
                want = {x, 13 + (y - 17)};  // bottom-left corner 42 x 10
            else if (x >= 47 && y < 11)
                want = {43 + (x - 47), y};  // top-right corner 41 x 11
            else if (x >= 47 && y >= 17)
                want = {43 + (x - 47), 13 + (y - 17)};  // bottom-right corner 41 x 10
            else if (x < 42)
                want = {x, 11};  // left edge from row 11
            else if (x >= 47)
                want = {43 + (x - 47), 12};  // right edge from row 12
            else if (y < 11)
                want = {42, y};  // top edge from column 42
            else
                want = {42, 11};  // middle
            ASSERT_EQ(Source(canvas, x, y), want) << "at " << x << "," << y;
        }
}

TEST(SpitDraw, SmallTargetsKeepTheOuterPixelsOfTheCorners)
{
    const QImage canvas = Draw(CoordinateBitmap(84, 23), 20, 10, false);
    EXPECT_EQ(Source(canvas, 0, 0), QPoint(0, 0));
    EXPECT_EQ(Source(canvas, 9, 4), QPoint(9, 4));       // top-left 10 x 5
    EXPECT_EQ(Source(canvas, 0, 9), QPoint(0, 22));      // bottom-left 10 x 4 keeps the bottom rows
    EXPECT_EQ(Source(canvas, 0, 6), QPoint(0, 19));
    EXPECT_EQ(Source(canvas, 19, 0), QPoint(83, 0));     // top-right 9 x 5 keeps the right columns
    EXPECT_EQ(Source(canvas, 11, 4), QPoint(75, 4));
    EXPECT_EQ(Source(canvas, 19, 9), QPoint(83, 22));    // bottom-right 9 x 4
    EXPECT_EQ(Source(canvas, 11, 6), QPoint(75, 19));
    EXPECT_EQ(Source(canvas, 10, 5), QPoint(42, 18)) << "no middle: the bottom edge, cut to its bottom rows, reaches up to row 5";
}

TEST(SpitDraw, MagentaShowsOnlyInOpaqueCorners)
{
    QImage bitmap(84, 23, QImage::Format_RGB32);
    bitmap.fill(qRgb(40, 80, 120));
    bitmap.setPixel(0, 0, kSuiMagenta);    // a corner pixel
    bitmap.setPixel(42, 11, kSuiMagenta);  // the middle's source pixel
    bitmap.setPixel(0, 11, kSuiMagenta);   // the left edge's
    const QImage opaque = Draw(bitmap, 88, 27, false);
    const QImage keyed = Draw(bitmap, 88, 27, true);
    EXPECT_EQ(opaque.pixel(0, 0), kSuiMagenta);
    EXPECT_EQ(keyed.pixel(0, 0), kBackground);
    for (const QImage* canvas : {&opaque, &keyed}) {
        EXPECT_EQ(canvas->pixel(44, 13), kBackground) << "the middle is always keyed";
        EXPECT_EQ(canvas->pixel(0, 14), kBackground) << "the edges are always keyed";
        EXPECT_EQ(canvas->pixel(20, 5), qRgb(40, 80, 120));
    }
}

TEST(SpitDrawHorizontal, CapsKeyedAndMiddleStretched)
{
    QImage bitmap(9, 4, QImage::Format_RGB32);
    bitmap.fill(qRgb(10, 10, 10));
    bitmap.setPixel(0, 0, qRgb(0, 255, 0));  // the key with the flag on
    bitmap.setPixel(8, 3, qRgb(0, 255, 0));
    for (int y = 0; y < 4; ++y)
        for (int x = 3; x < 6; ++x)
            bitmap.setPixel(x, y, qRgb(200, 0, 0));
    QImage canvas(30, 4, QImage::Format_RGB32);
    canvas.fill(kBackground);
    QPainter p(&canvas);
    SpitDrawHorizontal(bitmap, p, QRect(0, 0, 30, 4), true);
    p.end();
    EXPECT_EQ(canvas.pixel(0, 0), kBackground);
    EXPECT_EQ(canvas.pixel(29, 3), kBackground);
    EXPECT_EQ(canvas.pixel(1, 1), qRgb(10, 10, 10));
    EXPECT_EQ(canvas.pixel(3, 0), qRgb(200, 0, 0));
    EXPECT_EQ(canvas.pixel(26, 2), qRgb(200, 0, 0));
    EXPECT_EQ(canvas.pixel(27, 2), qRgb(10, 10, 10));
}

TEST(TileDraw, TilesFromTheCanvasOrigin)
{
    QImage tile(8, 8, QImage::Format_RGB32);
    tile.fill(qRgb(50, 50, 50));
    tile.setPixel(0, 0, qRgb(255, 255, 0));
    QImage canvas(40, 30, QImage::Format_RGB32);
    canvas.fill(kBackground);
    QPainter p(&canvas);
    TileDraw(p, tile, QRect(0, 0, 20, 10));
    p.end();
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 30; ++y) {
            const bool marker = x % 8 == 0 && y % 8 == 0 && x <= 24 && y <= 16;
            ASSERT_EQ(canvas.pixel(x, y) == qRgb(255, 255, 0), marker) << x << "," << y;
        }
    EXPECT_EQ(canvas.pixel(33, 5), kBackground) << "no tile at x = 32";
    EXPECT_EQ(canvas.pixel(5, 25), kBackground) << "no tile at y = 24";
}

// Paints a gradient that names each place; a child paints red over part of it.
class Backdrop : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x) {
                p.setPen(QColor(x, y, 99));
                p.drawPoint(x, y);
            }
    }
};

class Red : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::red); }
};

TEST(DoTrans, TheParentAloneShowsUnderTheControl)
{
    Backdrop parent;
    parent.resize(100, 80);
    QWidget control(&parent);
    control.setGeometry(10, 20, 30, 25);
    Red sibling;
    sibling.setParent(&parent);
    sibling.setGeometry(15, 25, 10, 10);
    QImage canvas(control.size(), QImage::Format_RGB32);
    canvas.fill(kBackground);
    QPainter p(&canvas);
    DoTrans(p, &control);
    p.end();
    EXPECT_EQ(canvas.pixel(0, 0), qRgb(10, 20, 99));
    EXPECT_EQ(canvas.pixel(29, 24), qRgb(39, 44, 99));
    EXPECT_EQ(canvas.pixel(8, 8), qRgb(18, 28, 99)) << "the sibling is not drawn";

    QWidget orphan;
    orphan.resize(5, 5);
    QImage untouched(5, 5, QImage::Format_RGB32);
    untouched.fill(kBackground);
    QPainter q(&untouched);
    DoTrans(q, &orphan);
    q.end();
    EXPECT_EQ(untouched.pixel(2, 2), kBackground);
}

TEST(DrawControlBorder, FlatOuterAndInnerFrames)
{
    QWidget control;
    control.resize(6, 5);
    QImage canvas(6, 5, QImage::Format_RGB32);
    canvas.fill(kBackground);
    QPainter p(&canvas);
    DrawControlBorder(p, &control, platform::RGB(255, 0, 0), platform::RGB(0, 0, 255), true);
    p.end();
    EXPECT_EQ(canvas.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(canvas.pixel(5, 4), qRgb(255, 0, 0));
    EXPECT_EQ(canvas.pixel(1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(canvas.pixel(4, 3), qRgb(0, 0, 255));
    EXPECT_EQ(canvas.pixel(2, 2), kBackground);
}

TEST(ContainerApplyUIStyle, DirectChildrenWithBothPropertiesOnly)
{
    QWidget container;
    auto* a = new TsuiStandIn(&container, "a");
    auto* plain = new QWidget(&container);
    auto* inner = new TsuiStandIn(a, "inner");
    TsuiFileTheme theme;
    ContainerApplyUIStyle(&container, Sui::Protein, &theme);
    EXPECT_EQ(a->calls, (std::vector<std::string>{"FileTheme", "UIStyle"}));
    EXPECT_EQ(a->UIStyle(), Sui::Protein);
    EXPECT_EQ(a->FileTheme(), &theme);
    EXPECT_TRUE(inner->calls.empty()) << "grandchildren are their parent's business";
    EXPECT_TRUE(plain->dynamicPropertyNames().isEmpty()) << "no property is made up";
}

TEST(PictureHelpers, PropertyAndRectangleQueries)
{
    TsuiStandIn control(nullptr, "c");
    control.setProperty("Extra", 1);
    EXPECT_TRUE(IsHasProperty(&control, "UIStyle"));
    EXPECT_FALSE(IsHasProperty(&control, "Extra")) << "dynamic properties are not published";
    EXPECT_FALSE(IsHasProperty(&control, "Nothing"));
    EXPECT_FALSE(IsHasProperty(nullptr, "UIStyle"));

    const QRect r = RectLTRB(10, 20, 30, 40);
    EXPECT_TRUE(InRect(30, 40, r));
    EXPECT_TRUE(InRect(QPoint(10, 20), r));
    EXPECT_FALSE(InRect(31, 40, r));
    EXPECT_FALSE(InRect(10, 19, r));

    QWidget w;
    PlaceControl(&w, RectLTRB(5, 6, 25, 16));
    EXPECT_EQ(w.geometry(), QRect(5, 6, 20, 10));
    PlaceControl(&w, QPoint(1, 2));
    EXPECT_EQ(w.geometry(), QRect(1, 2, 20, 10));
    EXPECT_FALSE(GetWorkAreaRect().isEmpty());
}

}  // namespace
