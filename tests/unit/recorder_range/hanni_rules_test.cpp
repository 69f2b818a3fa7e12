#include "recorder/core/hanni_rules.h"

#include <gtest/gtest.h>

// Found by argument-dependent lookup: HanniRect is a global type.
static bool operator==(const HanniRect& a, const HanniRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

static std::ostream& operator<<(std::ostream& os, const HanniRect& r)
{
    return os << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

namespace {

TEST(HanniRules, EveryDragDirectionGivesTheSameRange)
{
    const HanniRect expected{100, 200, 500, 400};
    EXPECT_EQ(HanniFromDrag(100, 200, 500, 400), expected) << "top-left to bottom-right";
    EXPECT_EQ(HanniFromDrag(500, 400, 100, 200), expected) << "bottom-right to top-left";
    EXPECT_EQ(HanniFromDrag(500, 200, 100, 400), expected) << "top-right to bottom-left";
    EXPECT_EQ(HanniFromDrag(100, 400, 500, 200), expected) << "bottom-left to top-right";
}

TEST(HanniRules, RangesBelowOneHundredPixelsAreRefused)
{
    struct SizeCase {
        int32_t w, h;
        bool tooSmall;
    };
    const SizeCase cases[] = {{99, 100, true}, {100, 99, true}, {99, 99, true}, {100, 100, false}, {0, 0, true},
                              {1920, 1080, false}};
    for (const SizeCase& c : cases) {
        EXPECT_EQ(HanniTooSmall(HanniRect{10, 20, 10 + c.w, 20 + c.h}), c.tooSmall) << c.w << " x " << c.h;
    }
}

TEST(HanniRules, RangeWindowPutsItsClientAreaAtTheScreenOrigin)
{
    int32_t bx = 0;
    int32_t by = 0;
    // A window of 766 x 325 with a client area of 758 x 298: frames of 4,
    // caption of 19 (23 above the client area).
    HanniBorderCal(766, 325, 758, 298, &bx, &by);
    EXPECT_EQ(bx, 4);
    EXPECT_EQ(by, 23);
    EXPECT_EQ(HanniWindowRect(1920, 1080, bx, by), (HanniRect{-4, -23, -4 + 1920 + 8 + 100, -23 + 1080 + 46 + 300}));
}

TEST(HanniRules, ButtonsKeepTheirLayoutAroundTheStoredPosition)
{
    HanniPoint p[3];
    HanniButtonPlace(0, 0, p);  // "HanniBTPt.txt" missing
    EXPECT_EQ(p[0].x, 0);
    EXPECT_EQ(p[0].y, 0);
    EXPECT_EQ(p[1].x, 150);
    EXPECT_EQ(p[1].y, 15);
    EXPECT_EQ(p[2].x, 0);
    EXPECT_EQ(p[2].y, 31);
    HanniButtonPlace(300, 60, p);
    EXPECT_EQ(p[1].x, 450);
    EXPECT_EQ(p[1].y, 75);
    EXPECT_EQ(p[2].y, 91);
}

TEST(HanniRules, JumpAsideStaysOnTheScreen)
{
    HanniPoint p = JamaPosCal(0.5f, 0.25f, 1920, 1080);
    EXPECT_EQ(p.x, 860);
    EXPECT_EQ(p.y, 245);
    p = JamaPosCal(0.99999f, 0.99999f, 1920, 1080);
    EXPECT_EQ(p.x, 1719);
    EXPECT_EQ(p.y, 979);
    p = JamaPosCal(0.0f, 0.0f, 1920, 1080);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
}

TEST(HanniRules, RubberBandAlternatesColoursEveryEightPixelsAlongEachSide)
{
    const std::vector<DashLine> d = RubberBandDashes(HanniRect{0, 0, 20, 10});
    // Top: 0-8, 8-16, 16-20; right: 0-8, 8-10; bottom like top; left like right.
    ASSERT_EQ(d.size(), 10u);
    const DashLine top[] = {{0, 0, 8, 0, 0}, {8, 0, 16, 0, 1}, {16, 0, 20, 0, 0}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(d[i].x0, top[i].x0) << i;
        EXPECT_EQ(d[i].x1, top[i].x1) << i;
        EXPECT_EQ(d[i].y0, 0) << i;
        EXPECT_EQ(d[i].y1, 0) << i;
        EXPECT_EQ(d[i].colour, top[i].colour) << i;
    }
    EXPECT_EQ(d[3].x0, 20);
    EXPECT_EQ(d[3].y0, 0);
    EXPECT_EQ(d[3].y1, 8);
    EXPECT_EQ(d[4].y0, 8);
    EXPECT_EQ(d[4].y1, 10);
    EXPECT_EQ(d[4].colour, 1);
    EXPECT_EQ(d[9].x0, 0);
    EXPECT_EQ(d[9].y1, 10);
}

TEST(HanniRules, FrameWindowsStandAroundTheRange)
{
    HanniRect w[4];
    FrameWindowRects(HanniRect{100, 200, 500, 400}, 4, 27, w);
    EXPECT_EQ(w[0], (HanniRect{96, 169, 504, 200})) << "top bar: border Y + border X high";
    EXPECT_EQ(w[1], (HanniRect{96, 169, 100, 404})) << "left edge";
    EXPECT_EQ(w[2], (HanniRect{500, 169, 504, 404})) << "right edge";
    EXPECT_EQ(w[3], (HanniRect{96, 400, 504, 404})) << "bottom edge";
}

TEST(HanniRules, MovingTheTopBarShiftsTheRangeByTheSameAmount)
{
    const HanniRect moved = HanniShift(HanniRect{100, 200, 500, 400}, 96, 169, 126, 159);
    EXPECT_EQ(moved, (HanniRect{130, 190, 530, 390}));
}

}  // namespace
