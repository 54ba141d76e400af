#pragma once
// How a video stream wants to be turned to stand as its recorder held it: phones store
// portrait clips lying on their side with a display matrix saying so. Shared by the
// engine and the player, so the preview and the conversion agree.

#include "FFmpegCompat.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/display.h>
}

#include <cmath>
#include <cstdint>

namespace platform {

// Clockwise quarter turns the picture needs: 0, 90, 180 or 270 degrees. Matrices that
// mirror or turn by other angles count as upright.
inline int ClockwiseRotation(const AVStream* stream)
{
    if (!stream)
        return 0;
    std::size_t size = 0;
    const auto* matrix =
        reinterpret_cast<const std::int32_t*>(ffmpeg::StreamSideData(stream, AV_PKT_DATA_DISPLAYMATRIX, &size));
    if (!matrix || size < 9 * sizeof(std::int32_t))
        return 0;
    // A mirrored picture has a negative determinant; turning alone cannot show it right.
    const double det = double(matrix[0]) * matrix[4] - double(matrix[1]) * matrix[3];
    if (det < 0)
        return 0;
    const double counterClockwise = av_display_rotation_get(matrix);
    if (std::isnan(counterClockwise))
        return 0;
    int degrees = int(std::lround(-counterClockwise)) % 360;
    if (degrees < 0)
        degrees += 360;
    const int quarter = (degrees + 45) / 90 % 4 * 90;
    return std::abs(degrees - quarter) <= 2 || std::abs(degrees - quarter) >= 358 ? quarter : 0;
}

inline bool SwapsSides(int rotation)
{
    return rotation == 90 || rotation == 270;
}

}  // namespace platform
