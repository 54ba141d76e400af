#pragma once
// "ANSI" strings are UTF-8 here; COM takes UTF-16. Invalid UTF-8 becomes U+FFFD and a
// lone surrogate "?", never
// a crash or a cut in the middle of a character.

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

std::u16string AnsiToWide(std::string_view text);
std::string WideToAnsi(std::u16string_view text);

// Copies text into a buffer of capacity bytes (terminator included), cut at the last
// whole UTF-8 character that fits. Returns the bytes copied, terminator excluded.
std::size_t CopyUtf8(std::string_view text, char* buffer, std::size_t capacity);

// Same for a wide string converted to UTF-8.
std::size_t WideToAnsi(std::u16string_view text, char* buffer, std::size_t capacity);

}  // namespace platform
