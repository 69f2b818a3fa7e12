// Capture-range selection: the range window "NORMAL1" over a frozen picture
// of the whole virtual screen, and the four windows of the recording frame
// ("NORMAL8" top bar, "NORMAL9" to "NORMAL11") around the chosen range.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

// Capture range in screen coordinates (right and bottom exclusive); the
// capture tick reads it on every frame while the top bar may move it.
extern std::atomic<int32_t> glHanniLeft, glHanniTop, glHanniRight, glHanniBottom;
extern std::atomic<int32_t> glRecWidth, glRecHeight;
// Frame geometry fixed by the preparation of a recording.
extern int32_t glScaledWidth, glScaledHeight;
extern int32_t glWriteWidth, glWriteHeight;
extern int32_t glOffsetX, glOffsetY;
// Window border and caption-plus-top-border, measured on the range window.
extern int32_t glBorderX, glBorderY;

LRESULT CALLBACK HanniWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK FrameTopWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK FrameEdgeWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// "範囲指定" and "画面の更新": freezes the screen and lets the user drag the range.
void HanniShiteiStart();

// Writes "Hanni.txt" when the recorder ends.
void HanniFileWrite();

// Fixes the frame geometry for the current range and scale (the stream
// format follows it) and offers "スライドショーを付ける" when there is room.
void HanniGeometryFix(int slideShowAttached);

// Places the four frame windows around the range and shows them.
void FrameWindowsShow();
void FrameWindowsHide();
