// VemtraScene.exe: a window at the top left of the screen (100, 100),
// 480 x 300 client pixels, in which a coloured square moves and a frame
// counter runs, redrawn 30 times a second, so that a capture of it always
// has changes. Closing the window ends it.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 300;
int g_tick;

void Paint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT all = {0, 0, kWidth, kHeight};
    HBRUSH back = CreateSolidBrush(RGB(20, 40, 90));
    FillRect(dc, &all, back);
    DeleteObject(back);
    const int x = (g_tick * 7) % (kWidth - 60);
    const int y = 40 + (g_tick * 3) % (kHeight - 120);
    RECT square = {x, y, x + 60, y + 60};
    HBRUSH colour = CreateSolidBrush(RGB((g_tick * 5) % 256, 200, 255 - (g_tick * 5) % 256));
    FillRect(dc, &square, colour);
    DeleteObject(colour);
    char text[32];
    std::snprintf(text, sizeof text, "frame %d", g_tick);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 10, 10, text, static_cast<int>(std::strlen(text)));
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK SceneProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_TIMER:
        ++g_tick;
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_PAINT:
        Paint(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = SceneProc;
    wc.hInstance = inst;
    wc.lpszClassName = "VemtraScene";
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, "VemtraScene", "VemtraScene", WS_POPUP | WS_VISIBLE, 100, 100, kWidth, kHeight,
                                nullptr, nullptr, inst, nullptr);
    SetTimer(hwnd, 1, 33, nullptr);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return 0;
}
