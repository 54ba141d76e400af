#pragma once
#include <cstddef>
#include <cstdint>

// One fuzz input through the reader of what a source's header declares (its bytes are
// the whole file); returns 1 when it reads outside the file, answers out of range, or
// answers differently the second time. Shared by the libFuzzer target and the seed test.
int QxFuzzExtent(const std::uint8_t* data, std::size_t size);
