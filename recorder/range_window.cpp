// The range selection itself is not built yet: the windows exist (hidden),
// are hidden again rather than destroyed when closed, and the button does
// nothing, so no range and no "Hanni.txt" are made up.
#include "recorder/range_window.h"

LRESULT CALLBACK HanniWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CLOSE) {
        ShowWindow(hwnd, SW_HIDE);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK FrameTopWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CLOSE) {
        ShowWindow(hwnd, SW_HIDE);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK FrameEdgeWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void HanniShiteiStart()
{
}

void HanniFileWrite()
{
}
