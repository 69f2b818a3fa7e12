// The 37 controls of the main window.
#pragma once

#include <windows.h>

// Creates every control in its order, each with the main window's font.
void MainControlsCreate(HWND hwnd);

HWND MainItem(int id);
