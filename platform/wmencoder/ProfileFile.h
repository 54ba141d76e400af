#pragma once
// Output profiles in the encoder's .prx format (XML; UTF-16 with a byte-order mark or
// UTF-8): what to produce, read into plain values the engine can use.

#include <optional>
#include <string>

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
};

struct AudioProfile {
    std::string codec;  // "WMA1" or "WMA2"
    int sampleRate = 0;
    int channels = 0;
    int bitrate = 0;    // bits per second
};

struct Profile {
    std::string name;
    std::string description;
    VideoProfile video;
    std::optional<AudioProfile> audio;  // a profile may carry video only
};

// Parses and checks a profile. On failure returns nullopt and a readable reason.
std::optional<Profile> ParseProfile(const std::string& bytes, std::string* error);
std::optional<Profile> LoadProfileFile(const std::string& path, std::string* error);

}  // namespace platform::wmenc
