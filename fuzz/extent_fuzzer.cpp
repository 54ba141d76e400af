#include "ExtentFuzz.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A broken invariant is a crash for libFuzzer, which keeps the input.
    if (QxFuzzExtent(data, size) != 0)
        std::abort();
    return 0;
}
