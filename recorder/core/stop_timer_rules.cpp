#include "recorder/core/stop_timer_rules.h"

#include <cstdint>

int64_t StopTimerFieldValue(const char* text)
{
    const char* p = text;
    bool negative = false;
    if (*p == '-') {
        negative = true;
        ++p;
    }
    if (*p == '\0') {
        return 0;
    }
    int64_t value = 0;
    for (; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') {
            return 0;
        }
        // Far beyond any timer, and small enough that the products below
        // stay within 64 bits.
        value = value * 10 + (*p - '0');
        if (value > 1000000000LL) {
            value = 1000000000LL;
        }
    }
    return negative ? -value : value;
}

int32_t StopTimerMsCal(const char* hours, const char* minutes, const char* seconds)
{
    const int64_t ms = StopTimerFieldValue(hours) * 3600000 + StopTimerFieldValue(minutes) * 60000 +
                       StopTimerFieldValue(seconds) * 1000;
    if (ms > INT32_MAX) {
        return INT32_MAX;
    }
    if (ms < INT32_MIN) {
        return INT32_MIN;
    }
    return static_cast<int32_t>(ms);
}

const char* StopTimerText(bool armed)
{
    return armed ? "停止タイマー ON ●" : "停止タイマー OFF状態";
}
