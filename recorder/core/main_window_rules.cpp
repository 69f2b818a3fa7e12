#include "recorder/core/main_window_rules.h"

#include <cmath>
#include <cstdio>

int32_t MainWndWidth(uint8_t kantanSousaMode)
{
    return kantanSousaMode ? kMainWndEasyWidth : kMainWndFullWidth;
}

bool KeepOnScreenNeeded(const WndRect& r, int32_t screenW, int32_t screenH)
{
    return r.right < 200 || r.right > screenW || r.left > screenW - 200 || r.bottom < 200 || r.bottom > screenH ||
           r.top > screenH - 200;
}

int PaintModeChoose(bool ending, bool paused, bool stopPending, int32_t fileNum, bool rokuonChuu)
{
    if (ending) {
        return 1;
    }
    if (paused || stopPending) {
        return 2;
    }
    if (fileNum >= 1 && rokuonChuu) {
        return 3;
    }
    return 1;
}

bool CloseRefused(int32_t fileNum, bool rokuonChuu, bool stopPending)
{
    return fileNum >= 1 && (rokuonChuu || stopPending);
}

std::string TimeText(uint32_t ms)
{
    const uint32_t seconds = ms / 1000;
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return text;
}

uint32_t WaveBufBytesCal(int32_t sampleRate, int32_t bitsPerSample)
{
    return static_cast<uint32_t>(std::llround(static_cast<double>(sampleRate) * 3720.0 * bitsPerSample / 8.0));
}
