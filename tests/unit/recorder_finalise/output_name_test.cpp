#include "recorder/core/output_name.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(OutBaseNameByTime, DateAndTimeWithTwoDigitFields)
{
    EXPECT_EQ(OutBaseNameByTime("C:\\out", LocalTime{7, 15, 14, 3, 22, 5}), "C:\\out\\07m15d 14h03m22s05");
    EXPECT_EQ(OutBaseNameByTime("D:", LocalTime{12, 9, 0, 0, 0, 999}), "D:\\12m09d 00h00m00s999");
}

TEST(FileNameClean, ForbiddenCharactersBecomeFullWidthAndShiftJisStaysWhole)
{
    struct Case {
        std::string typed;
        std::string clean;
    };
    const Case cases[] = {
        {"a:b?c", "a：b？c"},
        {"\"<>|*\\/", "”＜＞｜＊￥／"},
        {"plain name", "plain name"},
        // 表 is 0x95 0x5C in Shift-JIS: its second byte is not a backslash.
        {"\x95\x5C" "1", "\x95\x5C" "1"},
        {"録画:1", "録画：1"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileNameClean(c.typed), c.clean) << c.typed;
    }
}

TEST(UniqueOutputName, AddsZerosUntilTheNameIsFree)
{
    std::set<std::string> files = {"C:\\o\\base.avi", "C:\\o\\base0.avi", "C:\\o\\bases1.wav"};
    auto exists = [&files](const std::string& n) { return files.count(n) > 0; };
    EXPECT_EQ(UniqueOutputName("C:\\o\\base", ".avi", exists), "C:\\o\\base00.avi");
    EXPECT_EQ(UniqueOutputName("C:\\o\\new", ".avi", exists), "C:\\o\\new.avi");
    EXPECT_EQ(UniqueOutputName("C:\\o\\bases1", ".wav", exists), "C:\\o\\bases10.wav");
    auto always = [](const std::string&) { return true; };
    EXPECT_FALSE(UniqueOutputName("x", ".avi", always).empty()); // gives up instead of looping forever
}

TEST(SoundBytesForFrames, WholeSamplesAsLongAsTheVideo)
{
    const float frameMs = 1000.0f / 30.0f;
    // 30 frames are 999.99994 ms in single precision, so 999 ms: 176,223.6
    // stereo bytes, cut to whole samples; 1 frame is 33 ms.
    EXPECT_EQ(SoundBytesForFrames(30, frameMs, 44100, 2), 176220u);
    EXPECT_EQ(SoundBytesForFrames(30, frameMs, 44100, 1), 88110u);
    EXPECT_EQ(SoundBytesForFrames(1, frameMs, 44100, 2), 5820u);
    EXPECT_EQ(SoundBytesForFrames(0, frameMs, 44100, 2), 0u);
    for (int frames : {1, 7, 101, 54000}) {
        EXPECT_EQ(SoundBytesForFrames(frames, frameMs, 44100, 2) % 4, 0u) << frames;
        EXPECT_EQ(SoundBytesForFrames(frames, frameMs, 44100, 1) % 2, 0u) << frames;
    }
    // An hour of stereo at 30 frames per second.
    EXPECT_NEAR(SoundBytesForFrames(108000, frameMs, 44100, 2), 3600.0 * 176400, 176400.0);
}

TEST(OutputPathExcess, CountsBytesPastTheLimit)
{
    EXPECT_EQ(OutputPathExcess(std::string(200, 'a'), std::string(49, 'b')), 0);
    EXPECT_EQ(OutputPathExcess(std::string(200, 'a'), std::string(50, 'b')), 1);
    EXPECT_EQ(OutputPathExcess(std::string(200, 'a'), "録画" + std::string(60, 'b')), 15);
}

}  // namespace
