#pragma once
// Output profiles in the encoder's .prx format (XML; UTF-16 with a byte-order mark or
// UTF-8): what to produce, read into plain values the engine can use.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace platform::wmenc {

struct VideoProfile {
    std::string codec;           // "WMV1" or "WMV2"
    int width = 0;               // output frame, pixels
    int height = 0;
    int frameRateNum = 0;        // highest frame rate, as a fraction
    int frameRateDen = 1;
    int bitrate = 0;             // bits per second
    int bufferWindowMs = 0;      // rate-control buffer window
    int keyFrameSpacingMs = 0;   // longest time between key frames
    int quality = 0;             // 0..100, the profile's smoothness/quality trade-off

    bool operator==(const VideoProfile&) const = default;
};

struct AudioProfile {
    std::string codec;  // "WMA1" or "WMA2"
    int sampleRate = 0;
    int channels = 0;
    int bitrate = 0;    // bits per second

    bool operator==(const AudioProfile&) const = default;
};

struct Profile {
    std::string name;
    std::string description;
    VideoProfile video;
    std::optional<AudioProfile> audio;  // a profile may carry video only

    bool operator==(const Profile&) const = default;
};

// Larger inputs are refused unread: a profile is a few kilobytes.
inline constexpr std::size_t kMaxProfileBytes = 1024 * 1024;

// Parses and checks a profile. On failure returns nullopt and a readable reason.
std::optional<Profile> ParseProfile(const std::string& bytes, std::string* error);
std::optional<Profile> LoadProfileFile(const std::string& path, std::string* error);

// True when the engine can produce what the profile asks for: known codecs, an even
// frame of at most 1920x1088, 1 to 60 frames per second, sane bit rates, buffer window
// and key-frame spacing, a sample rate the audio codecs take, mono or stereo.
bool CheckProfile(const Profile& profile, std::string* error);

// The profiles the encoder lists as installed: three handheld profiles of its own.
std::vector<Profile> BuiltInProfiles();

}  // namespace platform::wmenc
