#include "ProfileFuzz.h"

#include "FuzzCheck.h"
#include "platform/wmencoder/ProfileFile.h"

#include <QString>

#include <algorithm>
#include <numeric>
#include <string>

using platform::wmenc::Profile;

namespace {

using qxfuzz::Require;

// The limits again, written out on purpose: whatever the reader accepts, the engine
// must be able to produce.
void RequireLimits(const Profile& p)
{
    Require(!p.name.empty());
    const auto& v = p.video;
    Require(v.codec == "WMV1" || v.codec == "WMV2");
    Require(v.width >= 2 && v.width <= 1920 && v.width % 2 == 0);
    Require(v.height >= 2 && v.height <= 1088 && v.height % 2 == 0);
    Require(v.frameRateDen > 0 && v.frameRateNum >= v.frameRateDen);
    Require(static_cast<long long>(v.frameRateNum) <= 60LL * v.frameRateDen);
    Require(std::gcd(v.frameRateNum, v.frameRateDen) == 1);
    Require(v.bitrate > 0 && v.bitrate <= 20'000'000);
    Require(v.bufferWindowMs > 0 && v.bufferWindowMs <= 60'000);
    Require(v.keyFrameSpacingMs > 0 && v.keyFrameSpacingMs <= 3'600'000);
    Require(v.quality >= 0 && v.quality <= 100);
    if (p.audio) {
        const auto& a = *p.audio;
        static constexpr int kRates[] = {8000, 11025, 16000, 22050, 32000, 44100, 48000};
        Require(a.codec == "WMA1" || a.codec == "WMA2");
        Require(std::find(std::begin(kRates), std::end(kRates), a.sampleRate) != std::end(kRates));
        Require(a.channels == 1 || a.channels == 2);
        Require(a.bitrate > 0 && a.bitrate <= 320'000);
    }
    Require(platform::wmenc::CheckProfile(p, nullptr));
}

std::string Utf16WithMark(const QString& text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const QChar c : text) {
        const char hi = char(c.unicode() >> 8);
        const char lo = char(c.unicode() & 0xFF);
        bytes += bigEndian ? hi : lo;
        bytes += bigEndian ? lo : hi;
    }
    return bytes;
}

bool PlainAscii(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u > 0 && u < 0x80;
    });
}

}  // namespace

int QxFuzzProfile(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string error = "stale";
    const auto profile = platform::wmenc::ParseProfile(bytes, &error);
    if (!profile) {
        Require(!error.empty());  // every refusal says why
        return qxfuzz::Result();
    }
    Require(error.empty());
    RequireLimits(*profile);

    std::string again;
    Require(platform::wmenc::ParseProfile(bytes, &again) == profile);

    // Plain ASCII reads the same in either UTF-16 byte order, whatever its declaration says.
    if (PlainAscii(bytes)) {
        const QString text = QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
        Require(platform::wmenc::ParseProfile(Utf16WithMark(text, false), &again) == profile);
        Require(platform::wmenc::ParseProfile(Utf16WithMark(text, true), &again) == profile);
    }
    return qxfuzz::Result();
}
