#pragma once
#include <cstddef>
#include <cstdint>

// One fuzz input through the profile reader; returns 1 when an accepted profile breaks a
// limit or reading is not repeatable. Shared by the libFuzzer target and the corpus test.
int QxFuzzProfile(const std::uint8_t* data, std::size_t size);
