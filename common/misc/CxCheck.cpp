#include "CxCheck.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifndef QX_SOURCE_ROOT
#define QX_SOURCE_ROOT ""
#endif

const char* CxSourceUnit(const char* file, char* buffer, unsigned capacity)
{
    const std::size_t rootLen = std::strlen(QX_SOURCE_ROOT);
    if (std::strncmp(file, QX_SOURCE_ROOT, rootLen) == 0)
        file += rootLen;
    std::size_t len = std::strlen(file);
    const char* dot = std::strrchr(file, '.');
    const char* slash = std::strrchr(file, '/');
    if (dot && (!slash || dot > slash))
        len = std::size_t(dot - file);
    std::snprintf(buffer, capacity, "%.*s", int(len), file);
    return buffer;
}

void CxCheckFailed(const char* text, const char* file)
{
    char unit[512];
    std::fprintf(stderr, "Consistency check failed: %s, in %s\n", text, CxSourceUnit(file, unit, sizeof unit));
    std::fflush(stderr);
    std::abort();
}
