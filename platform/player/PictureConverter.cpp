#include "PictureConverter.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/mem.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include "platform/FFmpegCompat.h"

#include <QTransform>
#include <algorithm>
#include <cmath>

namespace platform::player {
namespace {

// Rows start on 64-byte boundaries: the scaler's fast paths need aligned rows, and a
// picture fitted to the panel has any width.
QImage Allocate(int w, int h)
{
    const qsizetype stride = (qsizetype(w) * 4 + 63) & ~qsizetype(63);
    auto* data = static_cast<uchar*>(av_malloc(std::size_t(stride) * std::size_t(h)));
    if (!data)
        return {};
    return QImage(data, w, h, stride, QImage::Format_RGB32, [](void* p) { av_free(p); }, data);
}

}  // namespace

void DisplaySize(int w, int h, AVRational sar, int& outW, int& outH)
{
    outW = w;
    outH = h;
    if (sar.num > 0 && sar.den > 0 && av_cmp_q(sar, av_make_q(1, 1)) != 0) {
        const double width = double(w) * sar.num / sar.den;
        if (width >= 1 && width <= 16384)
            outW = int(std::lround(width));
    }
}

PictureConverter::~PictureConverter()
{
    sws_freeContext(m_scale);
    sws_freeContext(m_convert);
    av_freep(&m_planes[0]);
}

bool PictureConverter::Planes(int w, int h, AVPixelFormat format)
{
    if (m_planes[0] && w == m_planesW && h == m_planesH && format == m_planesFormat)
        return true;
    av_freep(&m_planes[0]);
    if (av_image_alloc(m_planes, m_planeStrides, w, h, format, 64) < 0)
        return false;
    m_planesW = w;
    m_planesH = h;
    m_planesFormat = format;
    return true;
}

QImage& PictureConverter::Buffer(int w, int h)
{
    for (QImage& b : m_buffers)
        if (b.width() == w && b.height() == h && b.isDetached())
            return b;
    for (QImage& b : m_buffers)
        if (b.isNull() || b.isDetached() || b.width() != w || b.height() != h)
            return b = Allocate(w, h);
    return m_buffers[0] = Allocate(w, h);
}

QImage PictureConverter::Convert(const AVFrame* f, AVRational streamSar, int areaW, int areaH, int& dw, int& dh,
                                 int rotation)
{
    AVRational sar = f->sample_aspect_ratio;
    if (sar.num <= 0 || sar.den <= 0)
        sar = streamSar;
    DisplaySize(f->width, f->height, sar, dw, dh);
    const bool sideways = rotation == 90 || rotation == 270;
    // Down to the panel, never up, as it will stand.
    double scale = 1.0;
    if (areaW > 0 && areaH > 0)
        scale = sideways ? std::min({1.0, double(areaW) / dh, double(areaH) / dw})
                         : std::min({1.0, double(areaW) / dw, double(areaH) / dh});
    const int tw = std::max(1, int(std::lround(dw * scale)));
    const int th = std::max(1, int(std::lround(dh * scale)));
    if (sideways)
        std::swap(dw, dh);
    const AVPixelFormat source = AVPixelFormat(f->format);
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(source);
    if (!desc || !sws_isSupportedInput(source) || f->width <= 0 || f->height <= 0)
        return {};
    const bool planarYuv = (desc->flags & AV_PIX_FMT_FLAG_PLANAR) && !(desc->flags & AV_PIX_FMT_FLAG_RGB) &&
                           desc->nb_components >= 3;
    // One field of an interlaced picture: every other row, read with twice the stride.
    const bool oneField = planarYuv && ffmpeg::IsInterlaced(f) && f->height >= 4;
    const int srcH = oneField ? f->height / 2 : f->height;
    int fieldStrides[4] = {};
    for (int i = 0; i < 4; ++i)
        fieldStrides[i] = f->linesize[i] * (oneField ? 2 : 1);
    const bool twoSteps = planarYuv && (tw != f->width || th != srcH);
    const std::uint8_t* const* data = f->data;
    const int* strides = fieldStrides;
    int w = f->width, h = srcH;
    if (twoSteps) {
        m_scale = sws_getCachedContext(m_scale, f->width, srcH, source, tw, th, source, SWS_BILINEAR, nullptr, nullptr,
                                       nullptr);
        if (!m_scale || !Planes(tw, th, source) ||
            sws_scale(m_scale, f->data, fieldStrides, 0, srcH, m_planes, m_planeStrides) <= 0)
            return {};
        data = m_planes;
        strides = m_planeStrides;
        w = tw;
        h = th;
    }
    SwsContext* before = m_convert;
    m_convert = sws_getCachedContext(m_convert, w, h, source, tw, th, AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr, nullptr,
                                     nullptr);
    if (!m_convert)
        return {};
    const int colorspace = f->colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_DEFAULT;
    // The range is set every time it changes, never taken from the context: a reused
    // context remembers the last picture's.
    const bool jpegFormat = source == AV_PIX_FMT_YUVJ420P || source == AV_PIX_FMT_YUVJ422P ||
                            source == AV_PIX_FMT_YUVJ444P || source == AV_PIX_FMT_YUVJ440P ||
                            source == AV_PIX_FMT_YUVJ411P;
    const int range = f->color_range == AVCOL_RANGE_JPEG || jpegFormat ? 1 : 0;
    if (m_convert != before || colorspace != m_colorspace || range != m_range) {
        int* invTable = nullptr;
        int* table = nullptr;
        int srcRange = 0, dstRange = 0, brightness = 0, contrast = 0, saturation = 0;
        if (sws_getColorspaceDetails(m_convert, &invTable, &srcRange, &table, &dstRange, &brightness, &contrast,
                                     &saturation) >= 0)
            sws_setColorspaceDetails(m_convert, sws_getCoefficients(colorspace), range, table, 1,
                                     brightness, contrast, saturation);
        m_colorspace = colorspace;
        m_range = range;
    }
    QImage& image = Buffer(tw, th);
    if (image.isNull())
        return {};
    // Held by the ring alone, so bits() writes in place rather than copying.
    std::uint8_t* dst[4] = {image.bits(), nullptr, nullptr, nullptr};
    int dstStride[4] = {int(image.bytesPerLine()), 0, 0, 0};
    if (sws_scale(m_convert, data, strides, 0, h, dst, dstStride) <= 0)
        return {};
    if (rotation == 90 || rotation == 180 || rotation == 270)
        return image.transformed(QTransform().rotate(rotation));  // quarter turns are exact
    return image;  // a second reference: the buffer stays busy until the receiver drops it
}

}  // namespace platform::player
