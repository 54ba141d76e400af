#include "CxProgress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

std::string CxClockText(long long milliseconds)
{
    const long long s = std::max(0LL, milliseconds) / 1000;
    char text[32];
    if (s >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", s / 60, s % 60);
    return text;
}

std::string CxProgressText(int permille, long long elapsedMs)
{
    if (permille < 0)
        return {};
    permille = std::min(permille, 1000);
    std::string text = std::to_string(permille / 10) + "% done";
    // Early figures swing widely: wait for two per cent and two seconds of running.
    if (permille >= 20 && permille < 1000 && elapsedMs >= 2000) {
        const long long left = elapsedMs * (1000 - permille) / permille;
        text += ", about " + CxClockText(left + 999) + " left";  // rounded up: never "0:00 left" early
    }
    return text;
}

std::string CxDamagedSourceText(long long convertedMs, long long sourceMs)
{
    if (sourceMs > 0 && convertedMs < sourceMs)
        return "Only " + CxClockText(convertedMs) + " of " + CxClockText(sourceMs) +
               " of the source could be read: the source file is damaged or incomplete.";
    return "The source could not be read to its end: the source file is damaged or incomplete. " + CxClockText(convertedMs) +
           " of it was converted.";
}

std::string CxCutAtSizeText(long long convertedMs)
{
    return "The output was cut at the size limit after " + CxClockText(convertedMs) + ".";
}

std::string CxFitText(long long limitKb, double framesPerSecond, bool monoSound)
{
    if (framesPerSecond <= 0 && !monoSound)
        return {};
    std::string text = "To fit " + std::to_string(limitKb) + " KB the video was made";
    if (framesPerSecond > 0) {
        char rate[32];
        // 12.5 stays 12.5, 10 stays 10.
        std::snprintf(rate, sizeof rate, "%g", std::round(framesPerSecond * 100) / 100);
        text += std::string(" at ") + rate + " frames per second";
    }
    if (monoSound)
        text += " with mono sound";
    return text + ".";
}
