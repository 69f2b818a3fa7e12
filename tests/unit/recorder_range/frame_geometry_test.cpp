#include "recorder/core/frame_geometry.h"

#include <gtest/gtest.h>

namespace {

struct GeometryCase {
    const char* name;
    int32_t recWidth, recHeight;
    float baiX, baiY;
    bool slideShow;
    FrameGeometry expected;
    bool slideShowRoom;
};

TEST(FrameGeometry, WrittenFrameIsSixteenByNineWithEvenSidesAroundTheScaledRange)
{
    const GeometryCase cases[] = {
        // A little wider than the constant: sized by the width, 1296 x 729 -> 728.
        {"hd", 1280, 720, 1.0f, 1.0f, false, {1280, 720, 1296, 728, 8, 4}, false},
        {"fullHd", 1920, 1080, 1.0f, 1.0f, false, {1920, 1080, 1936, 1088, 8, 4}, false},
        // Taller than 16:9: sized by the height, 1072 x 603 -> 602.
        {"fourByThree", 800, 600, 1.0f, 1.0f, false, {800, 600, 1072, 602, 136, 1}, true},
        // Wider than 16:9: 1008 x 567 -> 566.
        {"wide", 1000, 300, 1.0f, 1.0f, false, {1000, 300, 1008, 566, 4, 133}, false},
        {"smallest", 100, 100, 1.0f, 1.0f, false, {100, 100, 192, 108, 46, 4}, true},
        {"halved", 1000, 500, 0.5f, 0.5f, false, {500, 250, 512, 288, 6, 19}, false},
        // Scale factors truncate toward zero: 333 x 0.3 = 99.9 -> 99.
        {"truncated", 333, 300, 0.3f, 1.0f, false, {99, 300, 544, 306, 222, 3}, true},
        // The slideshow takes the columns right of the range.
        {"slideShow", 800, 600, 1.0f, 1.0f, true, {800, 600, 1072, 602, 0, 0}, true},
        // Scaled to no height at all: sized by the width instead of dividing by 0.
        {"noHeight", 200, 100, 1.0f, 0.001f, false, {200, 0, 208, 116, 4, 58}, false},
    };
    for (const GeometryCase& c : cases) {
        const FrameGeometry g = FrameGeometryCal(c.recWidth, c.recHeight, c.baiX, c.baiY, c.slideShow);
        EXPECT_EQ(g.scaledWidth, c.expected.scaledWidth) << c.name;
        EXPECT_EQ(g.scaledHeight, c.expected.scaledHeight) << c.name;
        EXPECT_EQ(g.writeWidth, c.expected.writeWidth) << c.name;
        EXPECT_EQ(g.writeHeight, c.expected.writeHeight) << c.name;
        EXPECT_EQ(g.offsetX, c.expected.offsetX) << c.name;
        EXPECT_EQ(g.offsetY, c.expected.offsetY) << c.name;
        EXPECT_EQ(SlideShowRoomEnough(g), c.slideShowRoom) << c.name;
        EXPECT_EQ(g.writeWidth % 2, 0) << c.name;
        EXPECT_EQ(g.writeHeight % 2, 0) << c.name;
        EXPECT_GE(g.writeWidth, g.scaledWidth) << c.name;
        EXPECT_GE(g.writeHeight, g.scaledHeight) << c.name;
    }
}

TEST(FrameGeometry, EveryRangeFitsItsFrame)
{
    // Both branches and the odd-height correction over a sweep of shapes.
    for (int32_t w = 100; w <= 1400; w += 13) {
        for (int32_t h = 100; h <= 1100; h += 17) {
            const FrameGeometry g = FrameGeometryCal(w, h, 1.0f, 1.0f, false);
            ASSERT_GE(g.writeWidth, w) << w << " x " << h;
            ASSERT_GE(g.writeHeight, h) << w << " x " << h;
            // One side fits tightly: at most one step of 16 or 9 larger.
            ASSERT_TRUE(g.writeWidth - w <= 16 || g.writeHeight - h <= 9) << w << " x " << h;
            ASSERT_GE(g.offsetX, 0);
            ASSERT_GE(g.offsetY, 0);
        }
    }
}

TEST(FrameGeometry, ImageBytesAreTheThirtyTwoBitFrame)
{
    const FrameGeometry g = FrameGeometryCal(1280, 720, 1.0f, 1.0f, false);
    EXPECT_EQ(FrameImageBytes(g), 1296u * 728u * 4u);
}

}  // namespace
