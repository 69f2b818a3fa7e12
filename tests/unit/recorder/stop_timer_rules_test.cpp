#include "recorder/core/stop_timer_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

struct TimerCase {
    const char* hours;
    const char* minutes;
    const char* seconds;
    int32_t ms;
};

TEST(StopTimerRules, FieldsGiveMilliseconds)
{
    const TimerCase cases[] = {
        {"1", "30", "", 5400000},  {"0", "0", "0", 0},      {"", "", "", 0},
        {"", "", "90", 90000},     {"x", "2", "1", 121000}, {"1a", "", "5", 5000},
        {"-1", "0", "0", -3600000}, {"-", "1", "", 60000},  {"999999", "", "", INT32_MAX},
        {"99999999999999999999", "", "", INT32_MAX},
    };
    for (const TimerCase& c : cases) {
        EXPECT_EQ(StopTimerMsCal(c.hours, c.minutes, c.seconds), c.ms)
            << '"' << c.hours << "\" \"" << c.minutes << "\" \"" << c.seconds << '"';
    }
}

TEST(StopTimerRules, CheckBoxTexts)
{
    EXPECT_EQ(std::string(StopTimerText(true)), "停止タイマー ON ●");
    EXPECT_EQ(std::string(StopTimerText(false)), "停止タイマー OFF状態");
}

}  // namespace
