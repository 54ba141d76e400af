#pragma once
#include <cstddef>
#include <cstdint>

// One fuzz input through the theme file reader; returns 1 when an invariant breaks.
int QxFuzzTheme(const std::uint8_t* data, std::size_t size);
