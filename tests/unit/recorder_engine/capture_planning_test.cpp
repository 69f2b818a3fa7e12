#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "recorder/core/batch_plan.h"
#include "recorder/core/capture_timing.h"
#include "recorder/core/ring_size.h"
#include "recorder/core/writer_pace.h"

namespace {

const CaptureTiming kStereo = CaptureTimingCal(44100, 2);

TEST(CaptureTiming, ThirtyFramesPerSecond)
{
    EXPECT_FLOAT_EQ(kStereo.frameMs, 33.333332f);
    EXPECT_EQ(kStereo.fps, 30);
    EXPECT_EQ(kStereo.tickMs, 16);
    EXPECT_EQ(kStereo.minFrameGapMs, 14);
    EXPECT_EQ(kStereo.halfFps, 15);
    EXPECT_EQ(kStereo.q, 45);
    EXPECT_FLOAT_EQ(kStereo.bytesPerMs, 176.4f);
    EXPECT_FLOAT_EQ(CaptureTimingCal(44100, 1).bytesPerMs, 88.2f);
}

struct RingCase {
    int32_t width, height;
    int32_t ring;
    int32_t realThreshold;
};

TEST(RingAndThreshold, BySize)
{
    const RingCase cases[] = {
        {16, 10, 199, 39},     // tiny frame: 200 - a little
        {0, 0, 200, 40},
        {854, 480, 100, 20},
        {1296, 728, 50, 15},   // 0.2 × 50 = 10, raised to half a second
        {1936, 1088, 50, 15},
        {640, 360, 143, 28},
    };
    for (const RingCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        const int32_t ring = BmpSuuCal(c.width, c.height);
        EXPECT_EQ(ring, c.ring);
        EXPECT_EQ(TamattaJoukenCal(ring, kStereo, false), c.realThreshold);
        EXPECT_EQ(TamattaJoukenCal(ring, kStereo, true), 20);
    }
}

TEST(RingSlotAdd, WrapsBothWays)
{
    EXPECT_EQ(RingSlotAdd(98, 3, 100), 1);
    EXPECT_EQ(RingSlotAdd(0, -1, 100), 99);
    EXPECT_EQ(RingSlotAdd(5, 100, 100), 5);
}

TEST(BatchSize, OneSecondAtMostAndOnePictureBehind)
{
    struct Case {
        int32_t pending;
        bool flush;
        int32_t size, beyond;
    } const cases[] = {
        {21, false, 20, 1},  // the picture after the batch must be captured
        {45, false, 30, 15},
        {31, false, 30, 1},
        {21, true, 21, 0},   // a flush takes everything
        {1, true, 1, 0},
        {0, false, 0, 0},
        {120, true, 1, 119},  // more than the ring: one at a time
    };
    for (const Case& c : cases) {
        const BatchSize bs = BatchSizeCal(c.pending, c.flush, 30, 100);
        EXPECT_EQ(bs.size, c.size) << c.pending;
        EXPECT_EQ(bs.beyond, c.beyond) << c.pending;
    }
}

TEST(Copies, StallsRepeatOthersOnce)
{
    struct Case {
        uint32_t ms;
        int32_t copies;
    } const cases[] = {{0, 1}, {16, 1}, {33, 1}, {66, 1}, {99, 1}, {100, 3}, {1000, 30},
                       {9333, 279}, {9366, 280}, {9367, 1}, {0xFFFFFFFFu, 1}};
    for (const Case& c : cases) EXPECT_EQ(CopiesOf(c.ms, kStereo.frameMs), c.copies) << c.ms;
}

TEST(BatchTarget, FramesUpToTheSoundTime)
{
    // One second of stereo sound, nothing written: 30 frames.
    EXPECT_EQ(BatchTargetCal(176400, 0, kStereo), 30);
    EXPECT_EQ(BatchTargetCal(176400, 10, kStereo), 20);
    EXPECT_EQ(BatchTargetCal(0, 5, kStereo), -5);
}

// A ring of `ring` slots whose pictures were captured `ms[i]` apart,
// starting at slot `first`, sound starting at `startBytes`.
struct Ring {
    std::vector<uint32_t> waveBytes, slotMs;
    std::vector<int32_t> change;
    Ring(int32_t ring, int32_t first, const std::vector<uint32_t>& ms, uint32_t startBytes = 0)
        : waveBytes(ring, 0), slotMs(ring, 0), change(ring, 100)
    {
        uint32_t bytes = startBytes;
        int32_t s = first;
        for (uint32_t m : ms) {
            waveBytes[s] = bytes;
            slotMs[s] = m;
            bytes += static_cast<uint32_t>(m * 176.4);
            s = RingSlotAdd(s, 1, ring);
        }
        waveBytes[s] = bytes;  // the picture after the batch
    }
};

int32_t Sum(const BatchPlan& p)
{
    return std::accumulate(p.copies, p.copies + p.size, 0);
}

TEST(BatchPlan, SixtyPicturesASecondAreHalved)
{
    Ring r(100, 0, std::vector<uint32_t>(30, 16));
    const BatchInput in = BatchGather(0, BatchSize{30, 1}, 100, r.waveBytes, r.slotMs, r.change);
    const BatchPlan plan = BatchPlanMake(in, 0, kStereo, false);
    EXPECT_EQ(plan.target, 14);  // 480 ms of sound
    EXPECT_EQ(plan.sum, plan.target);
    EXPECT_EQ(Sum(plan), plan.target);
    // About every second picture: any four neighbours give one or two frames.
    for (int i = 0; i + 3 < plan.size; ++i) {
        const int32_t out = plan.copies[i] + plan.copies[i + 1] + plan.copies[i + 2] + plan.copies[i + 3];
        EXPECT_GE(out, 1) << i;
        EXPECT_LE(out, 2) << i;
    }
}

TEST(BatchPlan, AHundredMillisecondPictureIsWrittenThreeTimes)
{
    // 30 fps pictures (each one frame), one of which stayed 100 ms.
    std::vector<uint32_t> ms(20, 33);
    ms[7] = 100;
    Ring r(100, 0, ms);
    // The durations give 19 + 3 = 22 frames; the sound (726 ms) asks for
    // 21, so one of the single pictures gives way, not the repeated one.
    const BatchInput in = BatchGather(0, BatchSize{20, 1}, 100, r.waveBytes, r.slotMs, r.change);
    BatchPlan plan = BatchPlanMake(in, 0, kStereo, true);
    EXPECT_EQ(plan.copies[7], 3);
    EXPECT_EQ(plan.sum, 22);
    plan = BatchPlanMake(in, 0, kStereo, false);
    EXPECT_EQ(plan.copies[7], 3);
    EXPECT_EQ(plan.sum, plan.target);
}

TEST(BatchPlan, SmoothAgainstDriftAddsAndRemovesNothing)
{
    for (uint32_t interval : {16u, 33u, 50u}) {
        Ring r(100, 0, std::vector<uint32_t>(30, interval), 176400 * 5);  // sound 5 s ahead
        const BatchInput in = BatchGather(0, BatchSize{30, 1}, 100, r.waveBytes, r.slotMs, r.change);
        const BatchPlan plan = BatchPlanMake(in, 0, kStereo, true);
        EXPECT_EQ(plan.sum, 30) << interval;
        EXPECT_EQ(plan.target, 30);
        for (int i = 0; i < plan.size; ++i) EXPECT_EQ(plan.copies[i], 1);
    }
}

TEST(BatchCorrect, ChoosesTheLeastChangedWithinItsWindow)
{
    struct Case {
        int32_t target;
        std::vector<int32_t> change;
        std::vector<int32_t> expected;
    } const cases[] = {
        // One frame too many in 6: window of 6 from 0; slot 4 changed least.
        {5, {9, 8, 7, 6, 1, 5}, {1, 1, 1, 1, 0, 1}},
        // One missing: slot 2 repeated.
        {7, {9, 8, 0, 6, 3, 5}, {1, 1, 2, 1, 1, 1}},
        // Two too many in 6: windows of 3 from 0 and 3.
        {4, {5, 1, 5, 7, 9, 2}, {1, 0, 1, 1, 1, 0}},
    };
    for (const Case& c : cases) {
        std::vector<int32_t> copies(c.change.size(), 1);
        int32_t sum = static_cast<int32_t>(copies.size());
        BatchCorrect(c.change.data(), static_cast<int32_t>(copies.size()), c.target, copies.data(), &sum);
        EXPECT_EQ(copies, c.expected);
        EXPECT_EQ(sum, c.target);
    }
}

TEST(BatchCorrect, SkipsDroppedPicturesAndStopsWhenNothingIsLeft)
{
    std::vector<int32_t> change = {0, 0, 0, 0};
    std::vector<int32_t> copies = {0, 1, 0, 1};
    int32_t sum = 2;
    BatchCorrect(change.data(), 4, -3, copies.data(), &sum);
    EXPECT_EQ(copies, (std::vector<int32_t>{0, 0, 0, 0}));
    EXPECT_EQ(sum, 0);  // only what was there could go
}

TEST(BatchCorrect, MakesUpManyMissingFramesOverTheBatch)
{
    std::vector<int32_t> change(10, 1);
    std::vector<int32_t> copies(10, 1);
    int32_t sum = 10;
    BatchCorrect(change.data(), 10, 35, copies.data(), &sum);
    EXPECT_EQ(sum, 35);
    EXPECT_EQ(std::accumulate(copies.begin(), copies.end(), 0), 35);
    for (int32_t c : copies) {
        EXPECT_GE(c, 3);
        EXPECT_LE(c, 4);
    }
}

TEST(BatchPlan, ABatchCrossingTheRingsEndWraps)
{
    // Ring of 50; the batch starts at slot 40 and takes 20 pictures: slots
    // 40 ... 49 and 0 ... 9; the end slot is 10. Slot 3 stayed 200 ms.
    std::vector<uint32_t> ms(20, 33);
    ms[13] = 200;  // batch index 13 = slot 3
    Ring r(50, 40, ms);
    r.change[RingSlotAdd(40, 5, 50)] = 0;
    const BatchInput in = BatchGather(40, BatchSize{20, 4}, 50, r.waveBytes, r.slotMs, r.change);
    EXPECT_EQ(in.endSlot, 10);
    EXPECT_EQ(in.endWaveBytes, r.waveBytes[10]);
    EXPECT_EQ(in.slotMs[13], 200u);
    EXPECT_EQ(in.change[5], 0);
    const BatchPlan plan = BatchPlanMake(in, 0, kStereo, false);
    EXPECT_EQ(plan.copies[13], 6);
    EXPECT_EQ(plan.sum, plan.target);
}

TEST(FlushEnd, SetsTheFinalSoundCount)
{
    std::vector<uint32_t> waveBytes(50, 7), slotMs(50, 0);
    waveBytes[49] = 176400;
    FlushEndSet(0, 50, 176400 + 17640, 176.4f, waveBytes, slotMs);
    EXPECT_EQ(waveBytes[0], 176400u + 17640u);
    EXPECT_EQ(slotMs[49], 100u);
}

TEST(WriterPace, BusyLevelAndCaptureSleep)
{
    EXPECT_EQ(BusyLevelCal(10, 0, 100), 1);
    EXPECT_EQ(BusyLevelCal(95, 5, 100), 9);
    EXPECT_EQ(BusyLevelCal(200, 0, 100), 9);
    EXPECT_EQ(BusyLevelCal(3, 5, 100), 0);
    EXPECT_EQ(BusyLevelCal(120, 100, 100), 9);  // no division by zero
    const int32_t sleep[] = {0, 0, 0, 0, 0, 5, 10, 50, 230, 530};
    for (int m = 0; m < 10; ++m) EXPECT_EQ(CapSleepMsCal(m), sleep[m]) << m;
}

TEST(WriterPace, ThresholdFallsWhenBusyAndRisesWithinTheRing)
{
    struct Case {
        int32_t threshold, m, batchLeft;
        bool real;
        int32_t ring;
        int32_t expected;
    } const cases[] = {
        {40, 8, 10, true, 100, 30},    // very busy: lowered by what is left
        {20, 9, 20, true, 100, 15},    // not below half a second
        {20, 3, 29, true, 100, 30},    // easy: +10
        {50, 3, 25, true, 100, 55},    // bound ring − 1.5 × 25 = 62, ceiling ring − q = 55
        {60, 3, 0, true, 100, 55},     // the last slot must not let the ring fill
        {20, 3, 30, true, 200, 30},
        {150, 3, 30, true, 200, 155},
        {15, 3, 5, true, 50, 15},      // small ring: half a second stays
        {20, 3, 5, false, 100, 20},    // standby keeps its threshold
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TamattaJoukenAdapt(c.threshold, c.m, c.batchLeft, c.real, c.ring, kStereo), c.expected)
            << c.threshold << " " << c.m << " " << c.batchLeft;
    }
}

}  // namespace
