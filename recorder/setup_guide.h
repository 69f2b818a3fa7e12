// The recording-device guide and the picture message box it uses.
#pragma once

#include <windows.h>

// startup 1: run from the start-up check (may end the program);
// 0: from the menu "録音の説明(&R)".
void RecDeviceGuide(int startup);

// Window procedure of the class "NORMALDLG".
LRESULT CALLBACK PicMBWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
