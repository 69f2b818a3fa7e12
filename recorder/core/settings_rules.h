// Reading rules and file texts of the recorder's settings files. A value
// read from a missing file or line arrives as empty text, which converts
// to 0; each rule turns what was read into the value the program uses.
#pragma once

#include <cstdint>
#include <string>

// Flags stored as 0/1: anything else reads as 0.
uint8_t FlagOrZero(int32_t value);

// "Smoothing.txt": smooth mode is on until a file says otherwise, so empty
// text keeps 1; a value that is not 0 or 1 gives 0.
uint8_t SmoothingFromText(const char* text);

// "簡単操作モード.txt": empty text keeps the default 1; not 0 or 1 gives 1.
uint8_t KantanSousaModeFromText(const char* text);

// "glRecDoujiDougaClickFlag.txt": empty text keeps 0; not 0 or 1 gives 1.
uint8_t RecDoujiClickFromText(const char* text);

// "MonoStereo.txt": 1 is mono, anything else stereo (2).
int32_t ChannelsFromValue(int32_t value);

// "ＳＳ秒数.txt": 0 or less gives 10 seconds.
int32_t SSByouFromValue(int32_t value);

// "ＲＥＣタイマー.txt": a value not above 0 gives 0.
int32_t RecTimerFromValue(int32_t value);

// Milliseconds per frame as single precision: 1000/30 by default.
float DefaultFrameMs();

// "fps.txt": when the file exists its value v gives 1000 / v ms per frame;
// a rate below 1 or above 99 (or no file) gives the default.
float FrameMsFromFps(bool fileExists, int32_t value);

// The frames per second written back to "fps.txt". Rounded to the nearest
// whole rate, so that a rate survives the float round trip unchanged
// (truncating would turn 7 into 6 at every start).
int32_t FpsFromFrameMs(float frameMs);

// "MainWnd.txt": a rectangle whose right edge is 0 (no file) becomes
// (0, 0)-(1100, 0).
struct WndRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};
WndRect MainWndRectFix(WndRect r);

// File texts. A value alone, optionally ended with CR LF.
std::string SettingValueText(int32_t value, bool lineEnd);
// The four edges, each followed by CR LF.
std::string RectFileText(const WndRect& r);
