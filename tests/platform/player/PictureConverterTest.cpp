// The picture converter on its own: display sizes, fitting down never up, colours in
// both ranges, and buffers that a receiver still holds left alone.
#include "platform/FFmpegCompat.h"
#include "platform/player/PictureConverter.h"

extern "C" {
#include <libavutil/frame.h>
}

#include <QColor>
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

using platform::player::DisplaySize;
using platform::player::PictureConverter;

struct FrameDeleter {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
using Frame = std::unique_ptr<AVFrame, FrameDeleter>;

// A w × h 4:2:0 picture of one colour.
Frame Solid(int w, int h, int y, int u, int v, AVColorRange range = AVCOL_RANGE_MPEG, AVRational sar = {0, 1})
{
    Frame f(av_frame_alloc());
    f->format = AV_PIX_FMT_YUV420P;
    f->width = w;
    f->height = h;
    f->color_range = range;
    f->sample_aspect_ratio = sar;
    EXPECT_GE(av_frame_get_buffer(f.get(), 0), 0);
    for (int row = 0; row < h; ++row)
        std::fill_n(f->data[0] + row * f->linesize[0], w, std::uint8_t(y));
    for (int row = 0; row < (h + 1) / 2; ++row) {
        std::fill_n(f->data[1] + row * f->linesize[1], (w + 1) / 2, std::uint8_t(u));
        std::fill_n(f->data[2] + row * f->linesize[2], (w + 1) / 2, std::uint8_t(v));
    }
    return f;
}

void ExpectColour(const QImage& image, QColor want, int tolerance = 6)
{
    ASSERT_FALSE(image.isNull());
    const QColor got = image.pixelColor(image.width() / 2, image.height() / 2);
    EXPECT_NEAR(got.red(), want.red(), tolerance) << image.width() << "x" << image.height();
    EXPECT_NEAR(got.green(), want.green(), tolerance);
    EXPECT_NEAR(got.blue(), want.blue(), tolerance);
}

TEST(PictureConverterTest, SizesFollowTheAspectRatioAndFitDownNeverUp)
{
    struct Case {
        int w, h;
        AVRational frameSar, streamSar;
        int areaW, areaH;
        int displayW, displayH, imageW, imageH;
    } cases[] = {
        {320, 240, {0, 1}, {0, 1}, 0, 0, 320, 240, 320, 240},              // no limit: as it is
        {320, 240, {0, 1}, {0, 1}, 640, 480, 320, 240, 320, 240},          // never up
        {640, 480, {1, 1}, {0, 1}, 320, 320, 640, 480, 320, 240},          // down, aspect kept
        {720, 576, {16, 15}, {0, 1}, 0, 0, 768, 576, 768, 576},            // the frame's own ratio
        {720, 576, {0, 1}, {64, 45}, 0, 0, 1024, 576, 1024, 576},          // the stream's stands in
        {720, 576, {64, 45}, {16, 15}, 512, 512, 1024, 576, 512, 288},     // the frame's wins, then fitted
        {352, 288, {-1, 0}, {0, 0}, 176, 1000, 352, 288, 176, 144},        // nonsense ratios ignored
        {4, 4, {1, 1000000}, {0, 1}, 0, 0, 4, 4, 4, 4},                    // a width below one pixel ignored
    };
    PictureConverter converter;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " sar " << c.frameSar.num << "/" << c.frameSar.den);
        Frame f = Solid(c.w, c.h, 128, 128, 128, AVCOL_RANGE_MPEG, c.frameSar);
        int dw = 0, dh = 0;
        const QImage image = converter.Convert(f.get(), c.streamSar, c.areaW, c.areaH, dw, dh);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(dw, c.displayW);
        EXPECT_EQ(dh, c.displayH);
        EXPECT_EQ(image.width(), c.imageW);
        EXPECT_EQ(image.height(), c.imageH);
        EXPECT_EQ(image.format(), QImage::Format_RGB32);
    }
    int w = 0, h = 0;
    DisplaySize(100, 50, {2, 1}, w, h);
    EXPECT_EQ(w, 200);
    EXPECT_EQ(h, 50);
}

TEST(PictureConverterTest, ColoursInBothRangesAtEverySize)
{
    PictureConverter converter;
    int dw = 0, dh = 0;
    for (const int area : {0, 100}) {  // one step and two steps
        ExpectColour(converter.Convert(Solid(320, 240, 81, 90, 240).get(), {0, 1}, area, area, dw, dh), QColor(255, 0, 0));
        ExpectColour(converter.Convert(Solid(320, 240, 41, 240, 110).get(), {0, 1}, area, area, dw, dh), QColor(0, 0, 255));
        // Full range: 0 is black and 255 white, not the darker and brighter than black and white of video range.
        ExpectColour(converter.Convert(Solid(320, 240, 255, 128, 128, AVCOL_RANGE_JPEG).get(), {0, 1}, area, area, dw, dh),
                     QColor(255, 255, 255), 2);
        ExpectColour(converter.Convert(Solid(320, 240, 16, 128, 128).get(), {0, 1}, area, area, dw, dh), QColor(0, 0, 0), 2);
        ExpectColour(converter.Convert(Solid(320, 240, 128, 128, 128, AVCOL_RANGE_JPEG).get(), {0, 1}, area, area, dw, dh),
                     QColor(128, 128, 128), 3);
    }
}

// Red above blue, as the recorder held it, stored turned a quarter anticlockwise (the top
// to the left) the way phones store portrait clips.
Frame LyingOnItsSide()
{
    Frame f = Solid(320, 240, 41, 240, 110);  // blue
    for (int row = 0; row < 240; ++row)
        std::fill_n(f->data[0] + row * f->linesize[0], 160, std::uint8_t(81));  // the left half red
    for (int row = 0; row < 120; ++row) {
        std::fill_n(f->data[1] + row * f->linesize[1], 80, std::uint8_t(90));
        std::fill_n(f->data[2] + row * f->linesize[2], 80, std::uint8_t(240));
    }
    return f;
}

TEST(PictureConverterTest, AQuarterTurnStandsThePictureUpAndFitsItAsItStands)
{
    PictureConverter converter;
    int dw = 0, dh = 0;
    const QImage upright = converter.Convert(LyingOnItsSide().get(), {0, 1}, 200, 200, dw, dh, 90);
    EXPECT_EQ(dw, 240);
    EXPECT_EQ(dh, 320);
    ASSERT_EQ(upright.size(), QSize(150, 200)) << "fitted as it stands, not as it was stored";
    const auto at = [&](int x, int y) { return upright.pixelColor(x, y); };
    EXPECT_GT(at(75, 20).red(), 200) << "red on top";
    EXPECT_GT(at(75, 180).blue(), 200) << "blue below";
    const QImage turned = converter.Convert(LyingOnItsSide().get(), {0, 1}, 0, 0, dw, dh, 270);
    ASSERT_EQ(turned.size(), QSize(240, 320));
    EXPECT_GT(turned.pixelColor(120, 300).red(), 200) << "turned the other way: red below";
    const QImage flipped = converter.Convert(LyingOnItsSide().get(), {0, 1}, 0, 0, dw, dh, 180);
    ASSERT_EQ(flipped.size(), QSize(320, 240));
    EXPECT_GT(flipped.pixelColor(300, 120).red(), 200) << "upside down: red on the right";
}

TEST(PictureConverterTest, AnInterlacedPictureIsShownWithoutCombing)
{
    // White rows in one field, black in the other: what motion between fields looks like.
    Frame f = Solid(320, 240, 16, 128, 128);
    for (int row = 0; row < 240; row += 2)
        std::fill_n(f->data[0] + row * f->linesize[0], 320, std::uint8_t(235));
    const auto combRows = [](const QImage& image) {
        int changes = 0;
        for (int y = 1; y < image.height(); ++y)
            changes += std::abs(qGray(image.pixel(10, y)) - qGray(image.pixel(10, y - 1))) > 60;
        return changes;
    };
    PictureConverter converter;
    int dw = 0, dh = 0;
    for (const int area : {0, 200}) {
        SCOPED_TRACE(area);
        platform::ffmpeg::SetInterlaced(f.get(), true);
        const QImage shown = converter.Convert(f.get(), {0, 1}, area, area, dw, dh);
        ASSERT_FALSE(shown.isNull());
        EXPECT_EQ(shown.height(), area ? 150 : 240) << "the whole picture's size, from one field";
        EXPECT_EQ(combRows(shown), 0);
        platform::ffmpeg::SetInterlaced(f.get(), false);
        if (area == 0) {
            EXPECT_GT(combRows(converter.Convert(f.get(), {0, 1}, area, area, dw, dh)), 100)
                << "a progressive picture is shown as it is";
        }
    }
}

TEST(PictureConverterTest, AnImageStillHeldIsNeverDrawnOver)
{
    PictureConverter converter;
    int dw = 0, dh = 0;
    std::vector<QImage> held;
    // More pictures than there are buffers, all held: each keeps its own colour.
    for (int i = 0; i < 5; ++i)
        held.push_back(converter.Convert(Solid(64, 48, 16 + i * 40, 128, 128).get(), {0, 1}, 0, 0, dw, dh));
    for (int i = 0; i < 5; ++i) {
        const int grey = std::clamp(int(std::lround((i * 40) * 255.0 / 219.0)), 0, 255);
        ExpectColour(held[std::size_t(i)], QColor(grey, grey, grey), 3);
    }
    // Let go of them: the buffers come back into use and new pictures are right.
    held.clear();
    for (int i = 0; i < 4; ++i)
        ExpectColour(converter.Convert(Solid(64, 48, 81, 90, 240).get(), {0, 1}, 0, 0, dw, dh), QColor(255, 0, 0));
}

TEST(PictureConverterTest, AFrameItCannotConvertGivesANullImage)
{
    PictureConverter converter;
    Frame f(av_frame_alloc());
    f->format = AV_PIX_FMT_NONE;
    f->width = 16;
    f->height = 16;
    int dw = 0, dh = 0;
    EXPECT_TRUE(converter.Convert(f.get(), {0, 1}, 0, 0, dw, dh).isNull());
    // Still works afterwards.
    ExpectColour(converter.Convert(Solid(16, 16, 81, 90, 240).get(), {0, 1}, 0, 0, dw, dh), QColor(255, 0, 0));
}

}  // namespace
