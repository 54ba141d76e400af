// The words for a run's progress and its end, shared by the wizard and qxconvert.
#include "common/misc/CxProgress.h"

#include <gtest/gtest.h>

namespace {

TEST(CxProgress, PercentAndTimeLeftOnlyWhenThereIsEnoughToJudge)
{
    struct Case {
        int permille;
        long long elapsedMs;
        const char* text;
    } cases[] = {
        {-1, 5000, ""},                               // no known length: no number
        {0, 0, "0% done"},
        {10, 5000, "1% done"},                        // too little done to judge
        {500, 1000, "50% done"},                      // too short a time to judge
        {420, 25000, "42% done, about 0:35 left"},
        {999, 60000, "99% done, about 0:01 left"},    // rounded up, never "0:00 left"
        {1000, 60000, "100% done"},
        {1500, 60000, "100% done"},
        {250, 3 * 3600 * 1000LL, "25% done, about 9:00:00 left"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CxProgressText(c.permille, c.elapsedMs), c.text) << c.permille << " after " << c.elapsedMs;
}

TEST(CxProgress, ClockAndReports)
{
    EXPECT_EQ(CxClockText(0), "0:00");
    EXPECT_EQ(CxClockText(-5), "0:00");
    EXPECT_EQ(CxClockText(65999), "1:05");
    EXPECT_EQ(CxClockText(3723000), "1:02:03");
    EXPECT_EQ(CxDamagedSourceText(5400, 30000),
              "Only 0:05 of 0:30 of the source could be read: the source file is damaged or incomplete.");
    EXPECT_EQ(CxDamagedSourceText(30000, 0),
              "The source could not be read to its end: the source file is damaged or incomplete. 0:30 of it was "
              "converted.");
    EXPECT_EQ(CxCutAtSizeText(26700), "The output was cut at the size limit after 0:26.");
}

TEST(CxProgress, WhatASizeLimitLowered)
{
    EXPECT_EQ(CxFitText(2000, 12.5, true), "To fit 2000 KB the video was made at 12.5 frames per second with mono sound.");
    EXPECT_EQ(CxFitText(500, 10, true), "To fit 500 KB the video was made at 10 frames per second with mono sound.");
    EXPECT_EQ(CxFitText(800, 0, true), "To fit 800 KB the video was made with mono sound.");
    EXPECT_EQ(CxFitText(800, 15, false), "To fit 800 KB the video was made at 15 frames per second.");
    EXPECT_EQ(CxFitText(800, 0, false), "") << "only the bit rate came down";
}

}  // namespace
