#include <gtest/gtest.h>

#include <vector>

#include "recorder/core/capture_rules.h"

namespace {

const CaptureTiming kT = CaptureTimingCal(44100, 2);

TEST(FrameDue, MoreThanTheMinimumGap)
{
    EXPECT_FALSE(FrameDue(1014, 1000, false, kT));
    EXPECT_TRUE(FrameDue(1015, 1000, false, kT));
    EXPECT_TRUE(FrameDue(1000, 1000, true, kT));  // the first frame of a file
    EXPECT_TRUE(FrameDue(10, 0xFFFFFFF0u, false, kT));  // across the tick count's wrap
}

// Runs GrabJudge over `changes`, one grab each, and returns the verdicts as
// letters: A accept, r retry, S stop.
std::string Judge(const std::vector<int32_t>& changes, int32_t capFrames, bool stopFlag, int32_t* noChangeRun)
{
    std::string out;
    int32_t retry = 0;
    for (int32_t c : changes) {
        switch (GrabJudge(c, capFrames, stopFlag, noChangeRun, &retry)) {
            case GrabVerdict::kAccept: out += 'A'; break;
            case GrabVerdict::kRetry: out += 'r'; break;
            case GrabVerdict::kVideoStopped: out += 'S'; break;
        }
    }
    return out;
}

TEST(GrabJudge, UnchangedPicturesAreRetriedThenTaken)
{
    struct Case {
        std::vector<int32_t> changes;
        int32_t capFrames;
        std::string verdicts;
    } const cases[] = {
        {{5}, 0, "A"},
        {std::vector<int32_t>(10, 0), 3, "rrrrrrrrrr"},  // the first 21 frames need a change
        {std::vector<int32_t>(8, 0), 21, "rrrrrrAr"},    // the seventh try is taken
        {{0, 0, 3, 0}, 21, "rrAr"},
    };
    for (const Case& c : cases) {
        int32_t run = 0;
        EXPECT_EQ(Judge(c.changes, c.capFrames, false, &run), c.verdicts);
    }
}

TEST(GrabJudge, StillVideoStopsAfterNinetyOneGrabs)
{
    int32_t run = 0;
    const std::string v = Judge(std::vector<int32_t>(91, 0), 21, true, &run);
    EXPECT_EQ(v.back(), 'S');
    EXPECT_EQ(v.find('S'), 90u);
    run = 0;
    EXPECT_EQ(Judge(std::vector<int32_t>(91, 0), 20, true, &run).find('S'), std::string::npos);
    run = 0;
    EXPECT_EQ(Judge(std::vector<int32_t>(91, 0), 21, false, &run).find('S'), std::string::npos);
}

TEST(KeyFrames, EveryTenthStartingWithTheFirst)
{
    int32_t k = 0;
    std::string keys;
    for (int i = 0; i < 25; ++i) {
        keys += KeyFrameDue(k) ? 'K' : '.';
        k = KeyCountNext(k);
    }
    EXPECT_EQ(keys, "K.........K.........K....");
}

TEST(SmoothBlendDue, LastOfSeveralCopiesWhenNotBusy)
{
    EXPECT_TRUE(SmoothBlendDue(true, true, 5, 2, 3, false));
    EXPECT_FALSE(SmoothBlendDue(true, true, 5, 1, 3, false));  // not the last copy
    EXPECT_FALSE(SmoothBlendDue(true, true, 5, 0, 1, false));  // a single copy
    EXPECT_FALSE(SmoothBlendDue(true, true, 6, 2, 3, false));  // busy
    EXPECT_FALSE(SmoothBlendDue(true, false, 0, 2, 3, false)); // standby
    EXPECT_FALSE(SmoothBlendDue(true, true, 0, 2, 3, true));   // the batch's last picture
    EXPECT_FALSE(SmoothBlendDue(false, true, 0, 2, 3, false));
}

TEST(RingOverflow, MorePendingThanSlotsMinusOne)
{
    EXPECT_FALSE(RingOverflowing(99, 100));
    EXPECT_TRUE(RingOverflowing(100, 100));
}

}  // namespace
