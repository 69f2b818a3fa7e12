// Capture-range selection: the range window "NORMAL1" and the four windows
// of the recording frame ("NORMAL8" top bar, "NORMAL9" to "NORMAL11").
#pragma once

#include <windows.h>

LRESULT CALLBACK HanniWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK FrameTopWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK FrameEdgeWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// "範囲指定": freezes the screen and lets the user drag the range.
void HanniShiteiStart();

// Writes "Hanni.txt" when the recorder ends.
void HanniFileWrite();
