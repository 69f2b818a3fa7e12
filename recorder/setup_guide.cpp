// The guide is not built yet: start-up carries on without a recording
// device (a later recording then reports the missing device itself).
#include "recorder/setup_guide.h"

void RecDeviceGuide(int)
{
}

LRESULT CALLBACK PicMBWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
