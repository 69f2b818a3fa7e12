#include "recorder/core/wave_silent_bytes.h"

#include <gtest/gtest.h>

namespace {

TEST(WaveSilentBytes, ElapsedTimeGivesTheBytesTheDeviceWouldHaveRecorded)
{
    struct BytesCase {
        uint32_t ms;
        int32_t rate, blockAlign;
        uint32_t capacity, expected;
    };
    const BytesCase cases[] = {
        {1000, 44100, 4, 328104000, 176400},        // one second of stereo
        {1000, 44100, 2, 328104000, 88200},         // one second of mono
        {10, 44100, 4, 328104000, 1764},
        {1, 44100, 4, 328104000, 176},              // 44.1 sample frames -> 44
        {33, 44100, 2, 328104000, 2910},            // 1455.3 -> 1455 frames
        {0, 44100, 4, 328104000, 0},
        {1000, 44100, 4, 1002, 1000},               // the buffer is full: whole frames only
        {4294967295u, 44100, 4, 328104000, 328104000},  // no overflow on a long run
        {1000, 0, 4, 1000, 0},
    };
    for (const BytesCase& c : cases) {
        EXPECT_EQ(WaveSilentRunBytes(c.ms, c.rate, c.blockAlign, c.capacity), c.expected)
            << c.ms << " ms, " << c.rate << " Hz, block " << c.blockAlign << ", capacity " << c.capacity;
    }
}

}  // namespace
