#pragma once
// The Windows initialisation-file functions on our own reader and writer (IniDocument).
// The file path is always given in full; there is no system-wide default file.

#include "WinTypes.h"

namespace platform {

// The integer under section/key: optional sign and leading decimal digits, wrapped to
// 32 bits; text without leading digits reads 0. A missing file, section or key, or an
// empty value, gives nDefault.
UINT GetPrivateProfileIntA(const char* lpAppName, const char* lpKeyName, INT nDefault, const char* lpFileName);

// Copies the value (or lpDefault) into lpReturnedString, cut to nSize - 1 bytes at a
// character boundary, and returns the number of bytes copied.
DWORD GetPrivateProfileStringA(const char* lpAppName, const char* lpKeyName, const char* lpDefault,
                               char* lpReturnedString, DWORD nSize, const char* lpFileName);

// Writes key=value into the section, creating the file and the section when missing and
// keeping every other line as it was. A null lpString deletes the key, a null lpKeyName
// the section. Returns 0, with the file untouched, when the write cannot be done; the
// file is replaced in one step, never left half written.
BOOL WritePrivateProfileStringA(const char* lpAppName, const char* lpKeyName, const char* lpString,
                                const char* lpFileName);

}  // namespace platform
