#include "ThemeFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return QxFuzzTheme(data, size);
}
