#include "recorder/core/main_window_rules.h"

#include "recorder/core/blend_table.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(MainWindowRules, EasyModeWidth)
{
    EXPECT_EQ(MainWndWidth(1), 375);
    EXPECT_EQ(MainWndWidth(0), 1100);
}

struct ScreenCase {
    const char* name;
    WndRect r;
    bool moved;
};

TEST(MainWindowRules, KeepOnScreen)
{
    // Virtual screen 1280 x 800.
    const ScreenCase cases[] = {
        {"onScreen", {0, 300, 375, 406}, false},
        {"nearTheTopEdge", {600, 0, 975, 106}, true},
        {"rightEdgeLeftOf200", {-300, 0, 199, 106}, true},
        {"rightEdgeAt200", {-175, 300, 200, 406}, false},
        {"pastTheRight", {1000, 0, 1281, 106}, true},
        {"leftNearTheRightEdge", {1081, 0, 1280, 106}, true},
        {"bottomAbove200", {0, 93, 375, 199}, true},
        {"pastTheBottom", {0, 700, 375, 801}, true},
        {"topNearTheBottom", {0, 601, 375, 800}, true},
        {"lastPlaceAllowed", {1080, 600, 1280, 800}, false},
    };
    for (const ScreenCase& c : cases) {
        EXPECT_EQ(KeepOnScreenNeeded(c.r, 1280, 800), c.moved) << c.name;
    }
}

struct PaintCase {
    bool ending, paused, stopPending;
    int32_t fileNum;
    bool rokuon;
    int mode;
};

TEST(MainWindowRules, PaintMode)
{
    const PaintCase cases[] = {
        {false, false, false, 0, false, 1}, {false, false, false, 0, true, 1}, {false, false, false, 1, true, 3},
        {false, true, false, 1, true, 2},   {false, false, true, 2, true, 2},  {true, true, false, 1, true, 1},
        {false, false, false, 1, false, 1},
    };
    for (const PaintCase& c : cases) {
        EXPECT_EQ(PaintModeChoose(c.ending, c.paused, c.stopPending, c.fileNum, c.rokuon), c.mode)
            << c.ending << c.paused << c.stopPending << ' ' << c.fileNum << c.rokuon;
    }
}

TEST(MainWindowRules, CloseIsRefusedOnlyDuringARealRecording)
{
    EXPECT_TRUE(CloseRefused(1, true, false));
    EXPECT_TRUE(CloseRefused(3, false, true));
    EXPECT_FALSE(CloseRefused(0, true, false)); // standby
    EXPECT_FALSE(CloseRefused(2, false, false));
}

TEST(MainWindowRules, TimeText)
{
    EXPECT_EQ(TimeText(0), "00:00:00");
    EXPECT_EQ(TimeText(3723999), "01:02:03");
    EXPECT_EQ(TimeText(18000000), "05:00:00");
}

TEST(MainWindowRules, SoundBufferHoldsMonoFor3720Seconds)
{
    EXPECT_EQ(WaveBufBytesCal(44100, 16), 328104000u);
}

TEST(BlendTable, MovesHalfWayTowardsTheNextPicture)
{
    std::vector<uint8_t> table(kBlendTableBytes, 0xEE);
    BlendTableFill(table.data());
    EXPECT_EQ(table[0 * 256 + 0], 0);
    EXPECT_EQ(table[0 * 256 + 255], 127);
    EXPECT_EQ(table[255 * 256 + 0], 126);
    EXPECT_EQ(table[255 * 256 + 255], 254);
    EXPECT_EQ(table[100 * 256 + 200], (200 * 128 + 100 * 127) >> 8);
}

}  // namespace
