// The slideshow is not built yet: the panel exists hidden and the two
// commands do nothing.
#include "recorder/slideshow_panel.h"

LRESULT CALLBACK SlideShowWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CLOSE) {
        ShowWindow(hwnd, SW_HIDE);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void SlideShowAttachCommand()
{
}

void SlideShowAutoCommand()
{
}
