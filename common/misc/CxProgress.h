#pragma once
// The words for a run's progress and how it ended, the same in the wizard and in the
// command-line converter.

#include <string>

// "0:05", "12:34" or "1:02:03".
std::string CxClockText(long long milliseconds);

// "42% done, about 0:35 left"; the time left only once enough has been done to judge it
// (elapsedMs counts running time only, pauses left out). Empty when permille is below 0,
// a source without a known length.
std::string CxProgressText(int permille, long long elapsedMs);

// The report of a source that could not be read to its end.
std::string CxDamagedSourceText(long long convertedMs, long long sourceMs);

// The finished page's note for a run cut at the size limit.
std::string CxCutAtSizeText(long long convertedMs);

// What the size limit of limitKb lowered, for the finished page and the converter:
// "To fit 2000 KB the video was made at 12.5 frames per second with mono sound."; empty
// when nothing but the bit rate was lowered (framesPerSecond 0, not mono).
std::string CxFitText(long long limitKb, double framesPerSecond, bool monoSound);
