#include "Strings.h"

#include <QString>
#include <algorithm>
#include <cstring>

namespace platform {

std::u16string AnsiToWide(std::string_view text)
{
    const QString s = QString::fromUtf8(text.data(), qsizetype(text.size()));
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), std::size_t(s.size()));
}

std::string WideToAnsi(std::u16string_view text)
{
    const QByteArray utf8 = QStringView(text.data(), qsizetype(text.size())).toUtf8();
    return std::string(utf8.constData(), std::size_t(utf8.size()));
}

std::size_t CopyUtf8(std::string_view text, char* buffer, std::size_t capacity)
{
    if (!buffer || capacity == 0)
        return 0;
    std::size_t n = std::min(text.size(), capacity - 1);
    if (n < text.size()) {
        // Step back over continuation bytes so the cut falls between characters.
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
            --n;
    }
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n;
}

std::size_t WideToAnsi(std::u16string_view text, char* buffer, std::size_t capacity)
{
    return CopyUtf8(WideToAnsi(text), buffer, capacity);
}

}  // namespace platform
