#pragma once
// The one record of the conversion being prepared. Plain data: the main window
// zero-fills it at start, the pages and the settings file fill it in.

#include "platform/WinTypes.h"

#include <cstdint>
#include <type_traits>

struct ConversionJob {
    char sourceFile[platform::MAX_PATH];  // full path of the source video
    char outputFile[platform::MAX_PATH];  // full path of the .wmv to write
    std::int32_t screenType;              // 1 208x160, 2 320x200, 3 640x480; 0 until page 1 is left
    std::int32_t cropLeft;                // pixels cut from each edge; 0 or less leaves the edge alone
    std::int32_t cropTop;
    std::int32_t cropRight;
    std::int32_t cropBottom;
    std::int32_t maxSizeKB;               // output restriction, -1 when switched off
    std::int32_t maxMinutes;
    std::int32_t skinType;                // 1 to 5, the look
    std::int32_t quality;                 // 1 High, 2 Medium, 3 Low
};

static_assert(std::is_trivial_v<ConversionJob> && std::is_standard_layout_v<ConversionJob>,
              "the job is zero-filled and copied as bytes");
