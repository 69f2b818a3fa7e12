// The slideshow panel "NORMAL3" beside the capture range.
#pragma once

#include <windows.h>

LRESULT CALLBACK SlideShowWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// "スライドショーを付ける"
void SlideShowAttachCommand();
// "スライドショー自動"
void SlideShowAutoCommand();
