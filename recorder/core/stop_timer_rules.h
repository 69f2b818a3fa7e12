// The stop timer: hours, minutes and seconds typed into three boxes.
#pragma once

#include <cstdint>

// A box's text as a whole number; text that is not a decimal number
// (empty, letters, a sign alone) counts as 0.
int64_t StopTimerFieldValue(const char* text);

// hours x 3600000 + minutes x 60000 + seconds x 1000, kept within the
// 32-bit range the capture engine compares against.
int32_t StopTimerMsCal(const char* hours, const char* minutes, const char* seconds);

// Check-box text for the armed or disarmed timer.
const char* StopTimerText(bool armed);
