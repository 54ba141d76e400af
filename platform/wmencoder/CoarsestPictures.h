#pragma once
// The least a source's pictures can be made with: what a picture takes, on average, at
// the video encoder's coarsest quantiser, measured on pairs of pictures sampled across
// the source (a key picture and the one after it, weighed by the key-picture spacing).
// Below that rate no rate control can go; how far above it a limit leaves the pictures
// decides what a size limit must give up first.

#include <string>

namespace platform::wmenc {

struct CoarsestSample {
    std::string source;  // the video file
    const char* codec = nullptr;  // the encoder's name: "wmv2"
    int width = 0;       // the output's frame
    int height = 0;
    int keySpacing = 1;  // pictures from one key picture to the next
};

// Bytes a picture, or 0 when the source gave no pictures to measure (then nothing is
// known). Reads and encodes a dozen pictures: a few tenths of a second at most.
double CoarsestBytesPerPicture(const CoarsestSample& sample);

}  // namespace platform::wmenc
