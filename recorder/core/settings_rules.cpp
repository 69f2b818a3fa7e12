#include "recorder/core/settings_rules.h"

#include "common/core/settings_text.h"

uint8_t FlagOrZero(int32_t value)
{
    return value == 1 ? 1 : 0;
}

uint8_t SmoothingFromText(const char* text)
{
    if (text[0] == '\0') {
        return 1;
    }
    return FlagOrZero(TextToNum(text, 0));
}

uint8_t KantanSousaModeFromText(const char* text)
{
    if (text[0] == '\0') {
        return 1;
    }
    return TextToNum(text, 0) == 0 ? 0 : 1;
}

uint8_t RecDoujiClickFromText(const char* text)
{
    if (text[0] == '\0') {
        return 0;
    }
    return TextToNum(text, 0) == 0 ? 0 : 1;
}

int32_t ChannelsFromValue(int32_t value)
{
    return value == 1 ? 1 : 2;
}

int32_t SSByouFromValue(int32_t value)
{
    return value <= 0 ? 10 : value;
}

int32_t RecTimerFromValue(int32_t value)
{
    return value > 0 ? value : 0;
}

float DefaultFrameMs()
{
    return 1000.0f / 30.0f;
}

float FrameMsFromFps(bool fileExists, int32_t value)
{
    // The rate is the value itself; checking it before dividing also keeps
    // a 0 in the file from dividing by zero.
    if (!fileExists || value < 1 || value > 99) {
        return DefaultFrameMs();
    }
    return 1000.0f / static_cast<float>(value);
}

int32_t FpsFromFrameMs(float frameMs)
{
    if (!(frameMs > 0.0f)) {
        return 30;
    }
    return static_cast<int32_t>(1000.0f / frameMs + 0.5f);
}

WndRect MainWndRectFix(WndRect r)
{
    if (r.right == 0) {
        r.left = 0;
        r.top = 0;
        r.right = 1100;
    }
    return r;
}

std::string SettingValueText(int32_t value, bool lineEnd)
{
    std::string text = NumToText(value);
    if (lineEnd) {
        text += "\r\n";
    }
    return text;
}

std::string RectFileText(const WndRect& r)
{
    return SettingValueText(r.left, true) + SettingValueText(r.top, true) + SettingValueText(r.right, true) +
           SettingValueText(r.bottom, true);
}
