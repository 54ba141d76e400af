// What a source's own header declares of the whole file, and what the reader makes of
// cut and garbled headers (the fuzz target's invariants over seeds made from real files).
#include "platform/wmencoder/DeclaredExtent.h"

#include "Media.h"
#include "TestSupport.h"
#include "fuzz/ExtentFuzz.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

using platform::wmenc::DeclaredExtent;
using platform::wmenc::ReadDeclaredExtent;

struct Container {
    const char* name;
    const char* args;
    bool saysLength;  // the header's length is read here too
};

// Three seconds in each container that declares its size.
const Container kContainers[] = {
    {"extent.wmv", "-c:v wmv2 -b:v 300k -c:a wmav2 -f asf", true},
    {"extent.avi", "-c:v mpeg4 -c:a mp2", false},
    {"extent.mp4", "-c:v mpeg4 -c:a aac", false},
    {"extent.mkv", "-c:v mpeg4 -c:a mp2", false},
};

std::string Made(const Container& c)
{
    return qxtest::Media(c.name, std::string("-f lavfi -i testsrc2=size=160x120:rate=25:duration=3 "
                                             "-f lavfi -i sine=duration=3 ") + c.args);
}

TEST(DeclaredExtent, AWholeFileIsAsBigAsItsHeaderSaysAndACutOneIsSmaller)
{
    qxtest::ScratchDir dir;
    for (const Container& c : kContainers) {
        SCOPED_TRACE(c.name);
        const std::string path = Made(c);
        const std::string bytes = qxtest::ReadFile(path);
        const DeclaredExtent whole = ReadDeclaredExtent(path);
        EXPECT_EQ(whole.bytes, std::int64_t(bytes.size()));
        if (c.saysLength) {
            EXPECT_NEAR(double(whole.milliseconds), 3000, 100);
        }
        for (const std::size_t kept : {bytes.size() * 3 / 5, std::size_t(6000)}) {
            const std::string cut = dir.Path("cut");
            qxtest::WriteFile(cut, bytes.substr(0, kept));
            EXPECT_GT(ReadDeclaredExtent(cut).bytes, std::int64_t(kept)) << "kept " << kept;
        }
    }
    EXPECT_EQ(ReadDeclaredExtent(dir.Path()).bytes, 0) << "a folder says nothing";
    qxtest::WriteFile(dir.Path("text"), "RIFF....WAVE and other words");
    EXPECT_EQ(ReadDeclaredExtent(dir.Path("text")).bytes, 0);
}

// Seeds: the start of each real file, cut at many points, with a few bytes turned.
TEST(ExtentFuzzCorpus, EverySeedHoldsTheInvariants)
{
    for (const Container& c : kContainers) {
        SCOPED_TRACE(c.name);
        const std::string bytes = qxtest::ReadFile(Made(c));
        for (std::size_t cut = 0; cut < bytes.size(); cut += 1 + cut / 3) {
            std::string seed = bytes.substr(0, cut);
            EXPECT_EQ(QxFuzzExtent(reinterpret_cast<const std::uint8_t*>(seed.data()), seed.size()), 0) << cut;
            for (std::size_t at = 4; at < seed.size() && at < 200; at += 13)
                seed[at] = char(0xFF - seed[at]);
            EXPECT_EQ(QxFuzzExtent(reinterpret_cast<const std::uint8_t*>(seed.data()), seed.size()), 0) << cut;
        }
    }
}

}  // namespace
