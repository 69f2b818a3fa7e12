#include "recorder/core/settings_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ValueCase {
    int32_t in;
    int32_t out;
};

TEST(SettingsRules, ZeroOneFlagsFallBackToZero)
{
    for (const ValueCase& c : {ValueCase{0, 0}, ValueCase{1, 1}, ValueCase{2, 0}, ValueCase{-1, 0}, ValueCase{10, 0}}) {
        EXPECT_EQ(FlagOrZero(c.in), c.out) << c.in;
    }
}

struct TextCase {
    const char* text;
    uint8_t out;
};

TEST(SettingsRules, SmoothModeStaysOnWithoutAFileAndFallsBackToOff)
{
    for (const TextCase& c : {TextCase{"", 1}, TextCase{"0", 0}, TextCase{"1", 1}, TextCase{"2", 0}, TextCase{"-1", 0}}) {
        EXPECT_EQ(SmoothingFromText(c.text), c.out) << '"' << c.text << '"';
    }
}

TEST(SettingsRules, EasyModeKeepsOneWhenEmptyAndFallsBackToOne)
{
    for (const TextCase& c : {TextCase{"", 1}, TextCase{"0", 0}, TextCase{"1", 1}, TextCase{"2", 1}, TextCase{"-3", 1}}) {
        EXPECT_EQ(KantanSousaModeFromText(c.text), c.out) << '"' << c.text << '"';
    }
}

TEST(SettingsRules, ClickAtStartKeepsZeroWhenEmptyAndFallsBackToOne)
{
    for (const TextCase& c : {TextCase{"", 0}, TextCase{"0", 0}, TextCase{"1", 1}, TextCase{"5", 1}, TextCase{"-1", 1}}) {
        EXPECT_EQ(RecDoujiClickFromText(c.text), c.out) << '"' << c.text << '"';
    }
}

TEST(SettingsRules, OnlyOneMeansMono)
{
    for (const ValueCase& c : {ValueCase{1, 1}, ValueCase{2, 2}, ValueCase{0, 2}, ValueCase{3, 2}, ValueCase{-1, 2}}) {
        EXPECT_EQ(ChannelsFromValue(c.in), c.out) << c.in;
    }
}

TEST(SettingsRules, SlideshowSecondsNotAboveZeroBecomeTen)
{
    for (const ValueCase& c : {ValueCase{0, 10}, ValueCase{-5, 10}, ValueCase{25, 25}, ValueCase{1, 1}}) {
        EXPECT_EQ(SSByouFromValue(c.in), c.out) << c.in;
    }
}

TEST(SettingsRules, RecordTimerNotAboveZeroBecomesZero)
{
    for (const ValueCase& c : {ValueCase{0, 0}, ValueCase{-7, 0}, ValueCase{12, 12}}) {
        EXPECT_EQ(RecTimerFromValue(c.in), c.out) << c.in;
    }
}

TEST(SettingsRules, FrameRateFileGivesMillisecondsPerFrameWithinOneToNinetyNine)
{
    const float standard = 1000.0f / 30.0f;
    EXPECT_FLOAT_EQ(DefaultFrameMs(), standard);
    EXPECT_FLOAT_EQ(FrameMsFromFps(false, 15), standard); // no file: the value is not looked at
    EXPECT_FLOAT_EQ(FrameMsFromFps(true, 0), standard);   // an empty file must not divide by zero
    EXPECT_FLOAT_EQ(FrameMsFromFps(true, -4), standard);
    EXPECT_FLOAT_EQ(FrameMsFromFps(true, 100), standard);
    EXPECT_FLOAT_EQ(FrameMsFromFps(true, 1), 1000.0f);
    EXPECT_FLOAT_EQ(FrameMsFromFps(true, 99), 1000.0f / 99.0f);
}

TEST(SettingsRules, EveryAcceptedFrameRateSurvivesTheRoundTrip)
{
    for (int32_t fps = 1; fps <= 99; ++fps) {
        EXPECT_EQ(FpsFromFrameMs(FrameMsFromFps(true, fps)), fps);
    }
    EXPECT_EQ(FpsFromFrameMs(DefaultFrameMs()), 30);
}

TEST(SettingsRules, MissingWindowRectangleBecomesTheFullWidthAtTheOrigin)
{
    const WndRect fixed = MainWndRectFix(WndRect{300, 200, 0, 0});
    EXPECT_EQ(fixed.left, 0);
    EXPECT_EQ(fixed.top, 0);
    EXPECT_EQ(fixed.right, 1100);
    const WndRect kept = MainWndRectFix(WndRect{-8, 40, 367, 146});
    EXPECT_EQ(kept.left, -8);
    EXPECT_EQ(kept.top, 40);
    EXPECT_EQ(kept.right, 367);
    EXPECT_EQ(kept.bottom, 146);
}

TEST(SettingsRules, FileTexts)
{
    EXPECT_EQ(SettingValueText(1, false), "1");
    EXPECT_EQ(SettingValueText(-5, false), "-5");
    EXPECT_EQ(SettingValueText(30, true), "30\r\n");
    EXPECT_EQ(RectFileText(WndRect{-8, 3, 1100, 109}), "-8\r\n3\r\n1100\r\n109\r\n");
}

}  // namespace
