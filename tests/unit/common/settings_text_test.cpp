#include "common/core/settings_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct LineCase {
    const char* name;
    std::string text;
    int index;
    const char* expected;
};

void PrintTo(const LineCase& c, std::ostream* os)
{
    *os << c.name;
}

class FileReadLineWalk : public ::testing::TestWithParam<LineCase> {};

TEST_P(FileReadLineWalk, ReadsTheLine)
{
    const LineCase& c = GetParam();
    char dest[kFileReadLineBytes];
    std::memset(dest, 'x', sizeof dest);
    FileReadLineFromText(dest, c.text.data(), c.text.size(), c.index);
    EXPECT_STREQ(dest, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Breaks, FileReadLineWalk,
    ::testing::Values(
        LineCase{"CrLfSecondLine", "12\r\n34", 1, "34"},
        LineCase{"CrLfFirstLine", "12\r\n34\r\n", 0, "12"},
        LineCase{"PastTheEnd", "12\r\n34", 2, ""},
        LineCase{"TwoLfAreOneBreak", "5\n\n7", 1, "7"},
        LineCase{"LfCrIsOneBreak", "5\n\r7", 1, "7"},
        LineCase{"CrCrIsOneBreak", "5\r\r7", 1, "7"},
        LineCase{"CrLfCrLfIsTwoBreaks", "5\r\n\r\n7", 2, "7"},
        LineCase{"EmptyLineBetween", "5\r\n\r\n7", 1, ""},
        LineCase{"TabDropped", "a\tb", 0, "ab"},
        LineCase{"ControlBytesDropped", std::string("a\x01\x1f" "b"), 0, "ab"},
        LineCase{"NulEndsText", std::string("1\r\n2\0\r\n3", 8), 2, ""},
        LineCase{"NulInsideLine", std::string("12\0" "34", 5), 0, "12"},
        LineCase{"EmptyFile", "", 0, ""},
        LineCase{"ShiftJisBytesKept", "C:\\\x95\x5c\x8e\xa6", 0, "C:\\\x95\x5c\x8e\xa6"},
        LineCase{"NegativeNumber", "-120\r\n-3\r\n", 1, "-3"}),
    [](const ::testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

TEST(FileReadLineWalk, LongLineIsCutAtTheBuffer)
{
    // Guard bytes around the destination catch any write past it.
    const std::string text(5000, 'a');
    std::vector<char> buf(kFileReadLineBytes + 64, 'G');
    FileReadLineFromText(buf.data() + 32, text.data(), text.size(), 0);
    EXPECT_EQ(std::strlen(buf.data() + 32), static_cast<std::size_t>(kFileReadLineBytes - 1));
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(buf[i], 'G');
        EXPECT_EQ(buf[32 + kFileReadLineBytes + i], 'G');
    }
}

TEST(FileReadLineWalk, LongLineDoesNotDisturbTheNextOne)
{
    const std::string text = std::string(3000, 'z') + "\r\n42";
    char dest[kFileReadLineBytes];
    FileReadLineFromText(dest, text.data(), text.size(), 1);
    EXPECT_STREQ(dest, "42");
}

struct NumCase {
    const char* text;
    int length;
    int32_t expected;
};

TEST(TextToNum, ConvertsLikeTheSettingsWriter)
{
    const NumCase cases[] = {
        {"-8", 0, -8}, {"0", 0, 0}, {"", 0, 0}, {"1234", 2, 12}, {"1100", 0, 1100},
        {"-2147483648", 0, INT32_MIN}, {"2147483647", 0, INT32_MAX}, {"-", 0, 0},
    };
    for (const NumCase& c : cases) {
        EXPECT_EQ(TextToNum(c.text, c.length), c.expected) << c.text << " / " << c.length;
    }
}

TEST(TextToNum, NonDigitsContributeTheirCodeWithoutValidation)
{
    // "1a": 1 * 10 + ('a' - '0') = 59; callers never pass such text.
    EXPECT_EQ(TextToNum("1a", 0), 59);
}

TEST(NumToText, RoundTripsThroughTextToNum)
{
    for (int32_t v : {0, 7, -7, 375, -32000, 1100, INT32_MAX, INT32_MIN}) {
        const std::string text = NumToText(v);
        EXPECT_EQ(TextToNum(text.c_str(), 0), v) << text;
    }
    EXPECT_EQ(NumToText(-120), "-120");
    EXPECT_EQ(NumToText(0), "0");
}

TEST(SettingsFile, NegativeWindowPositionSurvivesAWriteAndRead)
{
    const std::string file = NumToText(-1200) + "\r\n" + NumToText(-8) + "\r\n" + NumToText(100) + "\r\n";
    char dest[kFileReadLineBytes];
    FileReadLineFromText(dest, file.data(), file.size(), 0);
    EXPECT_EQ(TextToNum(dest, 0), -1200);
    FileReadLineFromText(dest, file.data(), file.size(), 1);
    EXPECT_EQ(TextToNum(dest, 0), -8);
}

}  // namespace
