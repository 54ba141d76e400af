#pragma once
// Fatal consistency checks of the common library: a broken invariant reports the
// check's text and its source unit and ends the process.

#define CX_CHECK(cond) ((cond) ? static_cast<void>(0) : ::CxCheckFailed(#cond, __FILE__))

[[noreturn]] void CxCheckFailed(const char* text, const char* file);

// "/src/common/misc/CxList.cpp" -> "common/misc/CxList", relative to the source tree.
const char* CxSourceUnit(const char* file, char* buffer, unsigned capacity);
