// The main window "NORMAL0": creation, painting, commands, close and exit.
#pragma once

#include <windows.h>

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Moves a window that lies (partly) off the virtual screen to (0, 0).
void KeepWindowOnScreen(HWND hwnd);

// Makes the main window top-most or not, after the always-on-top flag
// (also after every range selection).
void SaizenmenApply();

// The main window keeps position and height and takes the width of easy
// operation mode or of the full window.
void KantanWidthApply();
