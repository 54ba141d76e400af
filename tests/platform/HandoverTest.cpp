// The hand-overs between threads, each on its own: the engine's frame queues and pause
// gate, the player's packet lanes, its clock and its sound FIFO. Every blocking call is
// made on a thread of its own and must come back within seconds, so a lost wake-up
// shows as a failed expectation; `scripts/sanitize thread` runs them under ThreadSanitizer.
#include "platform/player/MediaClock.h"
#include "platform/player/PacketLanes.h"
#include "platform/player/PcmFifo.h"
#include "platform/wmencoder/FrameQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <thread>

namespace {

using namespace std::chrono_literals;
using platform::player::MediaClock;
using platform::player::PacketItem;
using platform::player::PacketLanes;
using platform::player::PcmFifo;
using platform::player::SeekRequest;
using platform::wmenc::FrameQueue;
using platform::wmenc::Item;
using platform::wmenc::PauseGate;

// Runs a call that may block on a thread of its own.
template <typename F>
auto Beside(F f)
{
    return std::async(std::launch::async, std::move(f));
}

template <typename T>
bool Blocked(std::future<T>& f)
{
    return f.wait_for(100ms) == std::future_status::timeout;
}

template <typename T>
bool Returns(std::future<T>& f)
{
    return f.wait_for(5s) == std::future_status::ready;
}

Item Frame(std::int64_t pts)
{
    Item item{Item::Video, platform::FramePtr(av_frame_alloc())};
    item.frame->pts = pts;
    return item;
}

PacketItem Packet(int size, std::int64_t pts = 0)
{
    PacketItem item{PacketItem::Packet, platform::PacketPtr(av_packet_alloc())};
    if (size > 0) {
        EXPECT_EQ(av_new_packet(item.packet.get(), size), 0);
    }
    item.packet->pts = pts;
    return item;
}

TEST(FrameQueue, KeepsOrderHoldsTheProducerWhenFullAndAbortFreesEveryone)
{
    FrameQueue queue(2);
    ASSERT_TRUE(queue.Push(Frame(1)));
    ASSERT_TRUE(queue.Push(Frame(2)));
    auto third = Beside([&] { return queue.Push(Frame(3)); });
    EXPECT_TRUE(Blocked(third)) << "full: the producer waits";
    Item item;
    ASSERT_TRUE(queue.Pop(item));
    EXPECT_EQ(item.frame->pts, 1);
    ASSERT_TRUE(Returns(third));
    EXPECT_TRUE(third.get());
    for (std::int64_t pts : {2, 3}) {
        ASSERT_TRUE(queue.Pop(item));
        EXPECT_EQ(item.frame->pts, pts);
    }

    auto consumer = Beside([&] {
        Item got;
        return queue.Pop(got);
    });
    EXPECT_TRUE(Blocked(consumer)) << "empty: the consumer waits";
    queue.Abort();
    ASSERT_TRUE(Returns(consumer));
    EXPECT_FALSE(consumer.get());
    EXPECT_FALSE(queue.Push(Frame(4))) << "for good";

    FrameQueue full(1);
    ASSERT_TRUE(full.Push(Frame(1)));
    auto producer = Beside([&] { return full.Push(Frame(2)); });
    EXPECT_TRUE(Blocked(producer));
    full.Abort();
    ASSERT_TRUE(Returns(producer));
    EXPECT_FALSE(producer.get());
    EXPECT_FALSE(full.Pop(item)) << "what was queued is dropped";
}

TEST(FrameQueue, ManyFramesBetweenTwoThreadsArriveInOrder)
{
    FrameQueue queue(3);
    constexpr int kFrames = 5000;
    auto producer = Beside([&] {
        for (int i = 0; i < kFrames; ++i)
            if (!queue.Push(Frame(i)))
                return false;
        return queue.Push(Item{Item::End, nullptr});
    });
    int expected = 0;
    for (Item item; queue.Pop(item) && item.kind != Item::End; ++expected)
        ASSERT_EQ(item.frame->pts, expected);
    EXPECT_EQ(expected, kFrames);
    EXPECT_TRUE(producer.get());
}

TEST(PauseGate, HoldsWhilePausedAndOpensForEveryone)
{
    PauseGate gate;
    auto open = Beside([&] { gate.Wait(); });
    ASSERT_TRUE(Returns(open)) << "open: no wait";
    gate.Set(true);
    auto first = Beside([&] { gate.Wait(); });
    auto second = Beside([&] { gate.Wait(); });
    EXPECT_TRUE(Blocked(first));
    EXPECT_TRUE(Blocked(second));
    gate.Set(false);
    EXPECT_TRUE(Returns(first));
    EXPECT_TRUE(Returns(second));
}

TEST(PacketLanes, EachLaneKeepsOrderAndAFullOneWaitsOnlyWhileTheOtherHasWork)
{
    PacketLanes lanes;
    EXPECT_TRUE(lanes.Push(PacketLanes::kVideo, Packet(10))) << "an inactive lane takes nothing, holds nothing";
    lanes.SetActive(PacketLanes::kVideo, true);
    for (int i = 0; i < 64; ++i)
        ASSERT_TRUE(lanes.Push(PacketLanes::kVideo, Packet(10, i)));
    auto over = Beside([&] { return lanes.Push(PacketLanes::kVideo, Packet(10, 64)); });
    EXPECT_TRUE(Blocked(over)) << "64 pictures waiting are enough";
    PacketItem item;
    ASSERT_TRUE(lanes.Pop(PacketLanes::kVideo, item));
    EXPECT_EQ(item.packet->pts, 0);
    ASSERT_TRUE(Returns(over));
    EXPECT_TRUE(over.get());
    for (int i = 1; i <= 64; ++i) {
        ASSERT_TRUE(lanes.Pop(PacketLanes::kVideo, item));
        EXPECT_EQ(item.packet->pts, i);
    }

    // A badly interleaved file: the sound decoder has nothing, so the pictures may pile up.
    lanes.SetActive(PacketLanes::kAudio, true);
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(lanes.Push(PacketLanes::kVideo, Packet(10, i)));
    ASSERT_TRUE(lanes.Push(PacketLanes::kAudio, Packet(10)));
    auto held = Beside([&] { return lanes.Push(PacketLanes::kVideo, Packet(10)); });
    EXPECT_TRUE(Blocked(held)) << "now the other lane has work: the full one waits";
    lanes.Abort();
    ASSERT_TRUE(Returns(held));
    EXPECT_FALSE(held.get());
    EXPECT_FALSE(lanes.Pop(PacketLanes::kAudio, item)) << "aborted for good";
}

TEST(PacketLanes, MemoryHasAHardLimitWhateverTheCounts)
{
    PacketLanes lanes;
    lanes.SetActive(PacketLanes::kVideo, true);
    lanes.SetActive(PacketLanes::kAudio, true);  // empty: counts alone would never hold back
    for (int i = 0; i < 48; ++i)
        ASSERT_TRUE(lanes.Push(PacketLanes::kVideo, Packet(1 << 20)));
    auto over = Beside([&] { return lanes.Push(PacketLanes::kVideo, Packet(1 << 20)); });
    EXPECT_TRUE(Blocked(over)) << "48 MiB queued";
    PacketItem item;
    ASSERT_TRUE(lanes.Pop(PacketLanes::kVideo, item));
    ASSERT_TRUE(Returns(over));
    EXPECT_TRUE(over.get());
}

TEST(PacketLanes, ASeekFreesTheDemuxAndTheNewestRequestWins)
{
    PacketLanes lanes;
    lanes.SetActive(PacketLanes::kVideo, true);
    for (int i = 0; i < 64; ++i)
        ASSERT_TRUE(lanes.Push(PacketLanes::kVideo, Packet(10)));
    auto blocked = Beside([&] { return lanes.Push(PacketLanes::kVideo, Packet(10)); });
    EXPECT_TRUE(Blocked(blocked));
    lanes.RequestSeek({2, 5000000, 0});
    ASSERT_TRUE(Returns(blocked));
    EXPECT_FALSE(blocked.get()) << "the packet belongs to the old position: dropped";
    EXPECT_FALSE(lanes.Push(PacketLanes::kVideo, Packet(10))) << "nothing is queued while a seek waits";

    lanes.RequestSeek({1, 1000000, 0});  // an overtaken decoder's request
    lanes.RequestSeek({3, 7000000, 500000});
    SeekRequest request;
    ASSERT_TRUE(lanes.TakeSeek(request));
    EXPECT_EQ(request.serial, 3);
    EXPECT_EQ(request.targetUs, 7000000);
    EXPECT_EQ(request.backoffUs, 500000);
    EXPECT_FALSE(lanes.TakeSeek(request)) << "taken once";

    lanes.Flush(3, 7000000);
    PacketItem item;
    ASSERT_TRUE(lanes.Pop(PacketLanes::kVideo, item));
    EXPECT_EQ(item.kind, PacketItem::Flush) << "what was queued went with the old position";
    EXPECT_EQ(item.serial, 3);
    EXPECT_EQ(item.targetUs, 7000000);
    lanes.End(3);
    ASSERT_TRUE(lanes.Pop(PacketLanes::kVideo, item));
    EXPECT_EQ(item.kind, PacketItem::End);

    // At the end of the file the demux waits for a seek, or for the end of playback.
    auto waiting = Beside([&] { lanes.WaitForSeek(); });
    EXPECT_TRUE(Blocked(waiting));
    lanes.RequestSeek({4, 0, 0});
    EXPECT_TRUE(Returns(waiting));
    ASSERT_TRUE(lanes.TakeSeek(request));
    auto ending = Beside([&] { lanes.WaitForSeek(); });
    EXPECT_TRUE(Blocked(ending));
    lanes.Abort();
    EXPECT_TRUE(Returns(ending));
}

TEST(PacketLanes, SeeksFromOneThreadAndTakesFromAnotherLoseNone)
{
    PacketLanes lanes;
    constexpr int kSeeks = 2000;
    std::atomic<bool> done{false};
    auto asker = Beside([&] {
        for (int serial = 1; serial <= kSeeks; ++serial)
            lanes.RequestSeek({serial, serial * 1000LL, 0});
        done = true;
    });
    int last = 0;
    for (;;) {
        const bool finished = done.load();
        SeekRequest request;
        if (lanes.TakeSeek(request)) {
            EXPECT_GT(request.serial, last) << "never an older request after a newer one";
            EXPECT_EQ(request.targetUs, request.serial * 1000LL);
            last = request.serial;
        } else if (finished) {
            break;
        }
    }
    asker.get();
    EXPECT_EQ(last, kSeeks) << "the newest request is always taken";
}

TEST(MediaClock, StandsRunsHoldsAndJumps)
{
    MediaClock clock;
    clock.Set(1000000, false);
    EXPECT_FALSE(clock.Running());
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(clock.Now(), 1000000) << "a clock that is not running stands";
    clock.Run();
    std::this_thread::sleep_for(50ms);
    const std::int64_t ran = clock.Now();
    EXPECT_GE(ran, 1000000 + 45000);
    EXPECT_LT(ran, 1000000 + 2000000);
    clock.Hold();
    const std::int64_t held = clock.Now();
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(clock.Now(), held);
    clock.Set(5000000, true);  // a seek
    EXPECT_GE(clock.Now(), 5000000);
    EXPECT_LT(clock.Now(), 5000000 + 2000000);
    clock.Set(0, false);  // back to the start
    EXPECT_EQ(clock.Now(), 0);
}

TEST(MediaClock, FollowsTheSoundLeaningOnSmallDifferencesAndSnappingOnLargeOnes)
{
    MediaClock clock;
    clock.Follow(2000000, false);  // the sound waits for data: the clock stands there
    EXPECT_EQ(clock.Now(), 2000000);
    EXPECT_FALSE(clock.Running());
    clock.Follow(2000000, true);
    EXPECT_TRUE(clock.Running());
    // 39 ms ahead of the clock: only an eighth of it is taken at once.
    const std::int64_t before = clock.Now();
    clock.Follow(before + 39000, true);
    const std::int64_t leaned = clock.Now();
    EXPECT_GE(leaned, before + 4000);
    EXPECT_LT(leaned, before + 30000);
    // A second ahead: taken whole.
    clock.Follow(leaned + 1000000, true);
    EXPECT_GE(clock.Now(), leaned + 1000000);
}

TEST(MediaClock, AWaitEndsAtItsTimeAtItsLimitOrOnAnyChange)
{
    MediaClock clock;
    clock.Set(0, true);
    auto due = Beside([&] {
        clock.WaitUntil(30000, MediaClock::Time::clock::now() + 5s);
        return clock.Now();
    });
    ASSERT_TRUE(Returns(due));
    EXPECT_GE(due.get(), 29000) << "not before the picture's time";

    clock.Set(0, false);  // standing: only the limit or a change ends the wait
    auto limited = Beside([&] {
        const auto began = MediaClock::Time::clock::now();
        clock.WaitUntil(1000, began + 50ms);
        return MediaClock::Time::clock::now() - began;
    });
    ASSERT_TRUE(Returns(limited));
    EXPECT_GE(limited.get(), 45ms);

    for (const auto& change : std::initializer_list<std::function<void()>>{
             [&] { clock.Set(10000000, false); }, [&] { clock.Run(); }, [&] { clock.Wake(); }}) {
        clock.Set(0, false);
        auto waiting = Beside([&] { clock.WaitUntil(60000000, MediaClock::Time::clock::now() + 60s); });
        EXPECT_TRUE(Blocked(waiting));
        change();
        EXPECT_TRUE(Returns(waiting)) << "a jump, a start or a wake ends the wait";
    }
}

std::vector<std::uint8_t> Bytes(std::size_t n, std::uint8_t value)
{
    return std::vector<std::uint8_t>(n, value);
}

TEST(PcmFifo, HandsOutChunksInOrderWithTheTimeOfTheirFirstByte)
{
    PcmFifo fifo(1 << 20);
    fifo.Reset(1);
    ASSERT_TRUE(fifo.Push(1, 1000000, Bytes(4000, 1)));
    ASSERT_TRUE(fifo.Push(1, 2000000, Bytes(100, 2)));
    EXPECT_EQ(fifo.Size(), 4100u);
    std::uint8_t out[3000];
    std::int64_t pts = 0;
    ASSERT_EQ(fifo.Pop(out, 1000, pts, 4000), 1000u);
    EXPECT_EQ(pts, 1000000);
    ASSERT_EQ(fifo.Pop(out, sizeof out, pts, 4000), 3000u) << "the rest of the first chunk only";
    EXPECT_EQ(pts, 1250000) << "a quarter second on at 4000 bytes a second";
    ASSERT_EQ(fifo.Pop(out, sizeof out, pts, 4000), 100u);
    EXPECT_EQ(pts, 2000000);
    EXPECT_EQ(out[0], 2);
    EXPECT_EQ(fifo.Pop(out, sizeof out, pts, 4000), 0u) << "empty: never blocks";

    EXPECT_FALSE(fifo.Drained());
    fifo.End(1);
    EXPECT_TRUE(fifo.Drained());
}

TEST(PcmFifo, AfterASeekNothingOfTheOldPositionIsHeard)
{
    PcmFifo fifo(1 << 20);
    fifo.Reset(1);
    ASSERT_TRUE(fifo.Push(1, 0, Bytes(100, 1)));
    fifo.Reset(2);
    EXPECT_EQ(fifo.Size(), 0u);
    EXPECT_TRUE(fifo.Push(1, 0, Bytes(100, 1))) << "late data of the old serial is dropped quietly";
    EXPECT_EQ(fifo.Size(), 0u);
    fifo.End(1);
    EXPECT_FALSE(fifo.Drained()) << "the old serial's end is not the new one's";
    ASSERT_TRUE(fifo.Push(2, 5000000, Bytes(10, 2)));
    std::uint8_t out[16];
    std::int64_t pts = 0;
    ASSERT_EQ(fifo.Pop(out, sizeof out, pts, 1000), 10u);
    EXPECT_EQ(pts, 5000000);
}

TEST(PcmFifo, AFullFifoHoldsTheDecoderUntilRoomASeekOrAnAbort)
{
    PcmFifo fifo(1000);
    fifo.Reset(1);
    ASSERT_TRUE(fifo.Push(1, 0, Bytes(5000, 1))) << "one chunk may go over the limit";
    auto held = Beside([&] { return fifo.Push(1, 0, Bytes(10, 1)); });
    EXPECT_TRUE(Blocked(held));
    std::uint8_t out[4500];
    std::int64_t pts = 0;
    ASSERT_EQ(fifo.Pop(out, sizeof out, pts, 1000), 4500u);
    ASSERT_TRUE(Returns(held)) << "room again";
    EXPECT_TRUE(held.get());

    ASSERT_TRUE(fifo.Push(1, 0, Bytes(5000, 1)));
    auto stale = Beside([&] { return fifo.Push(1, 0, Bytes(10, 1)); });
    EXPECT_TRUE(Blocked(stale));
    fifo.Reset(2);
    ASSERT_TRUE(Returns(stale)) << "a seek frees a decoder of the old position";
    EXPECT_TRUE(stale.get());

    ASSERT_TRUE(fifo.Push(2, 0, Bytes(5000, 1)));
    auto aborted = Beside([&] { return fifo.Push(2, 0, Bytes(10, 1)); });
    EXPECT_TRUE(Blocked(aborted));
    fifo.Abort();
    ASSERT_TRUE(Returns(aborted));
    EXPECT_FALSE(aborted.get());
}

}  // namespace
