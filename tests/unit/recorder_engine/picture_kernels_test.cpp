#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "recorder/core/blend_table.h"
#include "recorder/core/change_measure.h"
#include "recorder/core/frame_layout.h"
#include "recorder/core/smooth_blend.h"

namespace {

// A frame of the layout, every pixel the same grey.
std::vector<uint8_t> Frame(const FrameLayout& f, uint8_t grey = 0x40)
{
    return std::vector<uint8_t>(f.imageBytes, grey);
}

// Sets pixel (x, y), y from the top, to `value` in all three colours.
void Paint(std::vector<uint8_t>* frame, const FrameLayout& f, int x, int y, uint8_t value)
{
    const int64_t o = FramePixelOffset(f, x, y);
    ASSERT_GE(o, 0);
    for (int c = 0; c < 3; ++c) (*frame)[o + c] = value;
}

// Changes every pixel of rows [top, bottom) of the scaled range.
void PaintRows(std::vector<uint8_t>* frame, const FrameLayout& f, int top, int bottom)
{
    for (int y = f.offsetY + top; y < f.offsetY + bottom; ++y)
        for (int x = f.offsetX; x < f.offsetX + f.scaledWidth; ++x) Paint(frame, f, x, y, 0xEE);
}

TEST(ChangeMeasure, CountsSampledColourBytesByBand)
{
    // 1280 × 720 range in a 1296 × 728 frame: columns every 12 pixels, rows
    // every 36.
    const FrameLayout f = FrameLayoutMake(1296, 728, 1280, 720, 8, 4);
    const std::vector<uint8_t> prev = Frame(f);
    std::vector<uint8_t> cur = prev;
    EXPECT_EQ(ChangeMeasure(prev.data(), cur.data(), f, false), 0);
    Paint(&cur, f, 8, 4, 0);        // sampled: top band, first column
    Paint(&cur, f, 9, 4, 0);        // between sampled columns
    Paint(&cur, f, 8 + 12, 4 + 36 * 10, 0);  // middle band
    ChangeCounts c = ChangeCount(prev.data(), cur.data(), f);
    EXPECT_EQ(c.top, 3);
    EXPECT_EQ(c.middle, 3);
    EXPECT_EQ(c.bottom, 0);
    EXPECT_EQ(ChangeMeasureOf(c, false), 6);
    // The unused fourth byte does not count.
    cur = prev;
    cur[FramePixelOffset(f, 8, 4) + 3] ^= 0xFF;
    EXPECT_EQ(ChangeMeasure(prev.data(), cur.data(), f, false), 0);
}

TEST(ChangeMeasure, YokogireBoushiNeedsTopAndBottom)
{
    const FrameLayout f = FrameLayoutMake(854, 480, 854, 480, 0, 0);
    const std::vector<uint8_t> prev = Frame(f);
    struct Case {
        int top, bottom;  // changed rows of the range
        bool plainChanged, yokogireChanged;
    } const cases[] = {
        {0, 120, true, false},    // only the top quarter: a redraw caught half way
        {360, 480, true, false},  // only the bottom quarter
        {0, 480, true, true},
        {0, 400, true, true},
        {150, 300, true, false},  // only the middle
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> cur = prev;
        PaintRows(&cur, f, c.top, c.bottom);
        SCOPED_TRACE(testing::Message() << c.top << "-" << c.bottom);
        EXPECT_EQ(ChangeMeasure(prev.data(), cur.data(), f, false) != 0, c.plainChanged);
        EXPECT_EQ(ChangeMeasure(prev.data(), cur.data(), f, true) != 0, c.yokogireChanged);
    }
}

TEST(ChangeMeasure, MissingPictureOrPreparationStopsEarly)
{
    const FrameLayout f = FrameLayoutMake(64, 36, 64, 36, 0, 0);
    std::vector<uint8_t> prev = Frame(f), cur = Frame(f, 0x99);
    EXPECT_EQ(ChangeMeasure(nullptr, cur.data(), f, false), 0);
    EXPECT_EQ(ChangeMeasure(prev.data(), nullptr, f, false), 0);
    std::atomic<uint8_t> junbi{1};
    EXPECT_EQ(ChangeMeasure(prev.data(), cur.data(), f, false, &junbi), 0);
    junbi = 0;
    EXPECT_GT(ChangeMeasure(prev.data(), cur.data(), f, false, &junbi), 0);
}

TEST(ChangeMeasure, RangeLargerThanTheBufferStaysInside)
{
    // A stale layout whose range reaches past the frame must not read
    // beyond the buffer (the sanitizers watch this).
    FrameLayout f = FrameLayoutMake(64, 36, 200, 100, 10, 10);
    std::vector<uint8_t> prev = Frame(f), cur = Frame(f, 0x99);
    EXPECT_GT(ChangeMeasure(prev.data(), cur.data(), f, false), 0);
    std::vector<uint8_t> table(kBlendTableBytes);
    BlendTableFill(table.data());
    BlendSparse(cur.data(), prev.data(), f, table.data());
}

TEST(SmoothBlend, HalfWayOnASparseGrid)
{
    std::vector<uint8_t> table(kBlendTableBytes);
    BlendTableFill(table.data());
    EXPECT_EQ(table[200 * 256 + 100], (100 * 128 + 200 * 127) >> 8);

    struct Case {
        int32_t w, h, sw, sh, ox, oy;
        int32_t step;
    } const cases[] = {
        {64, 36, 64, 36, 0, 0, 1},
        {854, 480, 854, 480, 0, 0, 1},
        {1296, 728, 1280, 720, 8, 4, 3},
        {1936, 1088, 1920, 1080, 8, 4, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        const FrameLayout f = FrameLayoutMake(c.w, c.h, c.sw, c.sh, c.ox, c.oy);
        EXPECT_EQ(BlendStepOf(f), c.step);
        std::vector<uint8_t> dst = Frame(f, 200), src = Frame(f, 100);
        BlendSparse(dst.data(), src.data(), f, table.data());
        const uint8_t half = table[200 * 256 + 100];
        auto at = [&](int x, int y, int ch) { return dst[FramePixelOffset(f, x, y) + ch]; };
        EXPECT_EQ(at(c.ox, c.oy, 0), half);
        EXPECT_EQ(at(c.ox, c.oy, 2), half);
        EXPECT_EQ(at(c.ox, c.oy, 3), 200);  // the unused byte stays
        EXPECT_EQ(at(c.ox + c.step, c.oy + c.step, 1), half);
        if (c.step > 1) {
            EXPECT_EQ(at(c.ox + 1, c.oy, 0), 200);
        }
        // Outside the range (the frame's border) nothing changes.
        if (c.ox > 0) {
            EXPECT_EQ(at(c.ox - 1, c.oy, 0), 200);
        }
        // The last row and column of the range are not visited.
        EXPECT_EQ(at(c.ox + c.sw - 1, c.oy + c.sh - 1, 0), 200);
    }
}

}  // namespace
