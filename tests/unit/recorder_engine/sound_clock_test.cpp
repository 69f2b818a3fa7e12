#include <gtest/gtest.h>

#include "recorder/core/sound_clock.h"

namespace {

TEST(SlotMs, UnsignedDifferenceBySoundTime)
{
    struct Case {
        uint32_t cap, prev;
        uint32_t ms;
    } const cases[] = {
        {17640, 0, 100},
        {2822, 0, 15},                     // 15.998 ms
        {5000, 5000, 0},
        {1000, 2000, 24347882u},           // clock went back: huge, written once by the planning
        {100, 0xFFFFFF00u, 2},             // across the 32-bit wrap: 356 bytes
    };
    for (const Case& c : cases) EXPECT_EQ(SlotMsCal(c.cap, c.prev, 176.4f), c.ms) << c.cap << " " << c.prev;
}

TEST(SoundMs, ImplausibleTimesCountAsZero)
{
    EXPECT_EQ(SoundMsCal(176400, 176.4f), 1000);
    EXPECT_EQ(SoundMsCal(1764000000u, 176.4f), 10000000);
    EXPECT_EQ(SoundMsCal(1764001000u, 176.4f), 0);   // 10,000,006 ms
    EXPECT_EQ(SoundMsCal(1763999000u, 176.4f), 9999994);
    EXPECT_EQ(SoundMsCal(88200, 88.2f), 1000);
}

TEST(SplitRules, ThirtyMinutesOfSoundOrAbout1Point8Gigabytes)
{
    EXPECT_FALSE(SoundSplitDue(1800000));
    EXPECT_TRUE(SoundSplitDue(1800001));
    // 30 minutes of stereo sound, then one more millisecond.
    EXPECT_FALSE(SoundSplitDue(SoundMsCal(1800000u * 1764 / 10, 176.4f)));
    EXPECT_TRUE(SoundSplitDue(SoundMsCal(1800002u * 1764 / 10, 176.4f)));
    EXPECT_FALSE(FileBytesSplitDue(1800000000));
    EXPECT_TRUE(FileBytesSplitDue(1800000001));
    EXPECT_TRUE(FileBytesSplitDue(4000000000ll));
}

TEST(RecMs, FiveHoursAreReachable)
{
    // Ten files of 30 minutes of stereo sound: more than 2^31 bytes.
    const uint64_t fiveHours = 10ull * 1800000 * 1764 / 10;
    EXPECT_EQ(RecMsCal(fiveHours, 176.4f), 18000000);
    EXPECT_FALSE(MaxRecReached(RecMsCal(fiveHours, 176.4f)));
    EXPECT_TRUE(MaxRecReached(RecMsCal(fiveHours + 1764, 176.4f)));
    EXPECT_EQ(RecMsCal(176400, 176.4f), 1000);
}

TEST(SoundClock, DeviceBytesWhenRecordingSound)
{
    SoundClock c = SoundClockMake(false, 44100, 2);
    SoundClockRunStart(&c, 1000, 328104000u);
    EXPECT_EQ(SoundClockRunBytes(c, 12345, 99999), 12345u);
}

TEST(SoundClock, WithoutSoundTheTickTimeGivesTheBytes)
{
    struct Case {
        int32_t channels;
        uint32_t start, now;
        uint32_t capacity;
        uint32_t bytes;
    } const cases[] = {
        {2, 1000, 1000, 0xFFFFFFFFu, 0},
        {2, 1000, 2000, 0xFFFFFFFFu, 176400},
        {2, 1000, 1001, 0xFFFFFFFFu, 176},          // whole sample frames: 176.4 → 176
        {1, 1000, 1001, 0xFFFFFFFFu, 88},
        {2, 0xFFFFFC18u, 1000, 0xFFFFFFFFu, 352800},  // tick count wrapped: 2 s
        {2, 0, 3600000, 0xFFFFFFFFu, 635040000u},     // an hour
        {2, 0, 3600000, 328104000u, 328104000u},      // a full buffer stops the run
    };
    for (const Case& k : cases) {
        SoundClock c = SoundClockMake(true, 44100, k.channels);
        SoundClockRunStart(&c, k.start, k.capacity);
        EXPECT_EQ(SoundClockRunBytes(c, 0, k.now), k.bytes) << k.start << " " << k.now;
        EXPECT_EQ(SoundClockRunBytes(c, 0, k.now) % (2 * k.channels), 0u);
    }
}

TEST(SoundClock, WithoutSoundSlotTimesFollowTheTick)
{
    // Pictures accepted 16, 17 and 100 ms apart measure about that long.
    SoundClock c = SoundClockMake(true, 44100, 2);
    SoundClockRunStart(&c, 5000, 0xFFFFFFFFu);
    const uint32_t t[] = {5000, 5016, 5033, 5133};
    for (int i = 1; i < 4; ++i) {
        const uint32_t ms = SlotMsCal(SoundClockRunBytes(c, 0, t[i]), SoundClockRunBytes(c, 0, t[i - 1]), 176.4f);
        EXPECT_NEAR(static_cast<double>(ms), t[i] - t[i - 1], 1.0);
    }
}

}  // namespace
