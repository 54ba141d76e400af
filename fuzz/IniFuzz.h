#pragma once
#include <cstddef>
#include <cstdint>

// One fuzz input through the initialisation-file reader and writer; returns 1 when an
// invariant breaks. Shared by the libFuzzer target and the corpus test.
int QxFuzzIni(const std::uint8_t* data, std::size_t size);
