#include "common/core/bmp_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/core/le_bytes.h"

namespace {

std::vector<uint8_t> Picture(int w, int h)
{
    return std::vector<uint8_t>(static_cast<std::size_t>(w) * h * 4, 0);
}

TEST(BmpFileImage, SizesAndHeader)
{
    struct SizeCase {
        int w, h;
        std::size_t fileSize;
    };
    for (const SizeCase& c : {SizeCase{3, 2, 78}, SizeCase{4, 1, 66}, SizeCase{1, 1, 58}, SizeCase{854, 480, 54 + 480 * 2564}}) {
        std::vector<uint8_t> px = Picture(c.w, c.h);
        const std::vector<uint8_t> f = BmpFileImage(px.data(), c.w, c.h);
        ASSERT_EQ(f.size(), c.fileSize) << c.w << "x" << c.h;
        EXPECT_EQ(f[0], 'B');
        EXPECT_EQ(f[1], 'M');
        EXPECT_EQ(GetLe32(&f[2]), c.fileSize);
        EXPECT_EQ(GetLe32(&f[6]), 0u);
        EXPECT_EQ(GetLe32(&f[10]), 54u);
        EXPECT_EQ(GetLe32(&f[14]), 40u);
        EXPECT_EQ(GetLe32(&f[18]), static_cast<uint32_t>(c.w));
        EXPECT_EQ(GetLe32(&f[22]), static_cast<uint32_t>(c.h));
        EXPECT_EQ(GetLe16(&f[26]), 1u);
        EXPECT_EQ(GetLe16(&f[28]), 24u);
        for (int off = 30; off < 54; off += 4) {
            EXPECT_EQ(GetLe32(&f[off]), 0u) << "offset " << off;
        }
    }
}

TEST(BmpFileImage, ZeroSizeGivesTheHeaderAlone)
{
    const std::vector<uint8_t> f = BmpFileImage(nullptr, 0, 5);
    EXPECT_EQ(f.size(), 54u);
    EXPECT_EQ(GetLe32(&f[2]), 54u);
}

TEST(BmpFileImage, TopLeftPixelStaysTopLeftAndPaddingIsZero)
{
    const int w = 3, h = 2;
    std::vector<uint8_t> px = Picture(w, h);
    for (auto& b : px) {
        b = 0xEE; // the unused byte must not leak into the file
    }
    uint8_t* tl = DibPixel(px.data(), w, h, 0, 0);
    tl[0] = 1; tl[1] = 2; tl[2] = 3;
    uint8_t* br = DibPixel(px.data(), w, h, 2, 1);
    br[0] = 4; br[1] = 5; br[2] = 6;
    const std::vector<uint8_t> f = BmpFileImage(px.data(), w, h);
    // File rows are bottom-up like the memory: the top row is the second one.
    const uint8_t* top = &f[54 + 12];
    EXPECT_EQ(top[0], 1);
    EXPECT_EQ(top[1], 2);
    EXPECT_EQ(top[2], 3);
    const uint8_t* bottom = &f[54];
    EXPECT_EQ(bottom[6], 4);
    EXPECT_EQ(bottom[7], 5);
    EXPECT_EQ(bottom[8], 6);
    for (int row = 0; row < h; ++row) {
        for (int p = 9; p < 12; ++p) {
            EXPECT_EQ(f[54 + row * 12 + p], 0) << "padding of row " << row;
        }
    }
}

class CheckPattern : public ::testing::Test {
protected:
    void SetUp() override
    {
        px = Picture(kCheckPatWidth, kCheckPatHeight);
        RgnCheckPatFill(px.data(), kCheckPatWidth, kCheckPatHeight);
    }
    uint32_t At(int x, int y) { return GetLe32(DibPixel(px.data(), kCheckPatWidth, kCheckPatHeight, x, y)); }
    std::vector<uint8_t> px;
};

TEST_F(CheckPattern, ThreeByThreeSquaresFromTheTopLeft)
{
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(At(x, y), 0xFFFFFFu);         // top left white
            EXPECT_EQ(At(x + 3, y), 0u);            // right of it black
            EXPECT_EQ(At(x, y + 3), 0u);            // below it black
            EXPECT_EQ(At(x + 3, y + 3), 0xFFFFFFu); // diagonal white
        }
    }
    // The last run is cut at the right edge: columns 852 and 853 belong to square 284.
    EXPECT_EQ(At(853, 0), At(852, 0));
    EXPECT_EQ(At(853, 0), (284 % 2 == 0) ? 0xFFFFFFu : 0u);
}

TEST_F(CheckPattern, BandPictureReadsTheSameMemoryAs851PixelRows)
{
    const std::vector<uint8_t> band = BmpFileImage(px.data(), kCheckPatBandWidth, kCheckPatHeight);
    const std::vector<uint8_t> full = BmpFileImage(px.data(), kCheckPatWidth, kCheckPatHeight);
    ASSERT_EQ(GetLe32(&band[18]), 851u);
    ASSERT_EQ(GetLe32(&band[22]), 480u);
    // Lowest row = the checkerboard's lowest row without its last three pixels.
    EXPECT_TRUE(std::equal(band.begin() + 54, band.begin() + 54 + 851 * 3, full.begin() + 54));
    // The second row starts three pixels further along the memory.
    const std::size_t bandRow = 851 * 3 + BmpRowPadding(851);
    EXPECT_TRUE(std::equal(band.begin() + 54 + bandRow, band.begin() + 54 + bandRow + 3 * 3,
                           full.begin() + 54 + 851 * 3));
}

}  // namespace
