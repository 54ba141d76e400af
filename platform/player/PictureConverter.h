#pragma once
// Pictures for the panel: a decoded frame at its display size (the sample aspect ratio
// applied, turned upright when the stream says it was recorded on its side), fitted down
// into an area, never up, and converted to RGB32. An interlaced picture is shown from one
// field: the panel is smaller than a field anyway, so this removes the combing for less
// work than a deinterlacer. Planar pictures are scaled plane by plane first and converted
// at the final size, several times cheaper than one scaling conversion at widths the
// scaler has no fast path for. The images are drawn into buffers the receiver has let go
// of: a fresh buffer for every picture costs more in page faults than the conversion
// itself. One thread at a time.

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
}

#include <QImage>
#include <cstdint>

struct SwsContext;

namespace platform::player {

// The display size of a w × h picture with that sample aspect ratio.
void DisplaySize(int w, int h, AVRational sar, int& outW, int& outH);

class PictureConverter {
public:
    PictureConverter() = default;
    ~PictureConverter();
    PictureConverter(const PictureConverter&) = delete;
    PictureConverter& operator=(const PictureConverter&) = delete;

    // The frame as an RGB32 image fitted into areaW × areaH (0: no limit), or a null
    // image when it cannot be converted. streamSar stands in for a frame without one;
    // rotation (clockwise degrees, a multiple of 90) turns it upright; displayW and
    // displayH receive the display size, upright, before fitting. An upright image
    // shares one of three buffers, reused once every other reference to it has gone.
    QImage Convert(const AVFrame* frame, AVRational streamSar, int areaW, int areaH, int& displayW, int& displayH,
                   int rotation = 0);

private:
    bool Planes(int w, int h, AVPixelFormat format);
    QImage& Buffer(int w, int h);

    SwsContext* m_scale = nullptr;
    SwsContext* m_convert = nullptr;
    int m_colorspace = -1, m_range = -1;
    std::uint8_t* m_planes[4] = {};
    int m_planeStrides[4] = {};
    int m_planesW = 0, m_planesH = 0, m_planesFormat = -1;
    QImage m_buffers[3];
};

}  // namespace platform::player
