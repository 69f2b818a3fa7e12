// The help window "NORMAL2" with its five topics, and the codec advice
// window "NORMAL5".
#pragma once

#include <windows.h>

// Builds the five topic texts (start-up).
void HelpTextsBuild();

LRESULT CALLBACK HelpWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CodecAdviceWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// "使い方(&T)": the help window over the main window, on its current topic.
void HelpWindowShowOnMain();
// "圧縮設定の説明(&A)"
void CodecAdviceShow();
