#include "common/core/wave_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/core/le_bytes.h"
#include "common/core/wave_err_text.h"

namespace {

TEST(WaveHeaderBuild, StereoAtTheDefaultRate)
{
    uint8_t h[kWaveHeaderBytes];
    WaveHeaderBuild(h, 88200, 2, 0);
    EXPECT_EQ(std::memcmp(h, "RIFF", 4), 0);
    EXPECT_EQ(GetLe32(h + 4), 88236u);
    EXPECT_EQ(std::memcmp(h + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(GetLe32(h + 16), 16u);
    EXPECT_EQ(GetLe16(h + 20), 1u);
    EXPECT_EQ(GetLe16(h + 22), 2u);
    EXPECT_EQ(GetLe32(h + 24), 44100u);
    EXPECT_EQ(GetLe32(h + 28), 176400u);
    EXPECT_EQ(GetLe16(h + 32), 4u);
    EXPECT_EQ(GetLe16(h + 34), 16u);
    EXPECT_EQ(std::memcmp(h + 36, "data", 4), 0);
    EXPECT_EQ(GetLe32(h + 40), 88200u);
}

TEST(WaveHeaderBuild, OddCountAndOtherRates)
{
    uint8_t h[kWaveHeaderBytes];
    WaveHeaderBuild(h, 5, 1, 22050);
    EXPECT_EQ(GetLe32(h + 4), 41u); // the pad byte is not counted
    EXPECT_EQ(GetLe32(h + 40), 5u);
    EXPECT_EQ(GetLe32(h + 24), 22050u);
    EXPECT_EQ(GetLe32(h + 28), 44100u);
    EXPECT_EQ(GetLe16(h + 32), 2u);
}

TEST(WaveErrText, TableSuffixAndUnknownCodes)
{
    const std::string suffix = "  エラーコード定数＝";
    EXPECT_EQ(WaveErrText(0), "");
    EXPECT_EQ(WaveErrText(2), "BADDEVICEID デバイス識別子が無効である " + suffix + "2");
    EXPECT_EQ(WaveErrText(32), suffix + "32");
    EXPECT_EQ(WaveErrText(35), suffix + "35");
    EXPECT_EQ(WaveErrText(5), "INVALHANDLE デバイスハンドルが無効である  " + suffix + "5");
    EXPECT_EQ(WaveErrText(67), "MIDIERR_NOTREADY　(ﾟﾟ)!準備が整う前にメッセージが送られてきました。" + suffix + "67");
    EXPECT_EQ(WaveErrText(72), suffix + "72");
}

TEST(WaveErrText, ThreeSpacesBetweenTheWordsAndTheSuffix)
{
    const std::string t = WaveErrText(2);
    const std::string words = "無効である";
    const std::size_t at = t.find(words);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(t.substr(at + words.size(), 4), "   \x83"); // three spaces, then the first byte of "エ" in Shift-JIS
}

}  // namespace
