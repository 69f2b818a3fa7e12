// Rules of the main window that do not need the window itself.
#pragma once

#include <cstdint>
#include <string>

#include "recorder/core/settings_rules.h"

constexpr int32_t kMainWndHeight = 106;
constexpr int32_t kMainWndFullWidth = 1100;
constexpr int32_t kMainWndEasyWidth = 375;

// Width of the main window in easy operation mode or not.
int32_t MainWndWidth(uint8_t kantanSousaMode);

// True when a window with rectangle `r` has to go back to (0, 0) on a
// virtual screen of `screenW` x `screenH` pixels.
bool KeepOnScreenNeeded(const WndRect& r, int32_t screenW, int32_t screenH);

// Paint modes: 1 idle green, 2 paused yellow, 3 recording red.
int PaintModeChoose(bool ending, bool paused, bool stopPending, int32_t fileNum, bool rokuonChuu);

// A close is refused while a real recording runs.
bool CloseRefused(int32_t fileNum, bool rokuonChuu, bool stopPending);

// Milliseconds as hours:minutes:seconds ("%02d:%02d:%02d").
std::string TimeText(uint32_t ms);

// Bytes of one sound buffer: 3720 seconds of mono sound.
uint32_t WaveBufBytesCal(int32_t sampleRate, int32_t bitsPerSample);
