// The waiting display of the finalisation: the status line and a blinking
// "お待ちください" in the main window, and the file-name box offered
// meanwhile.
#include <windows.h>

#include <cstring>

#include "common/win/program.h"
#include "recorder/capture_state.h"
#include "recorder/main_controls.h"
#include "recorder/recorder_globals.h"

namespace {

constexpr int kMemWidth = 1102;
constexpr int kMemHeight = 106;

void Frame(HDC window, const char* face)
{
    HDC mem = glMainWndMemDC.memDC;
    if (mem == nullptr) {
        return;
    }
    RECT line = {145, 0, kMemWidth, 40};
    HBRUSH yellow = CreateSolidBrush(RGB(230, 230, 0));
    FillRect(mem, &line, yellow);
    DeleteObject(yellow);
    SetBkMode(mem, TRANSPARENT);
    char status[sizeof glStatusText];
    std::memcpy(status, glStatusText, sizeof status);
    status[sizeof status - 1] = '\0';
    TextOutA(mem, 145, 20, status, static_cast<int>(std::strlen(status)));
    TextOutA(mem, 145, 0, face, static_cast<int>(std::strlen(face)));
    BitBlt(window, 0, 0, kMemWidth, kMemHeight, mem, 0, 0, SRCCOPY);
}

}  // namespace

DWORD WINAPI WaitAnimationThread(LPVOID)
{
    HDC window = nullptr;
    if (!glShuuryouFlag) {
        ShowWindow(MainItem(kIdFileNameLabel), SW_SHOW);
        ShowWindow(MainItem(kIdFileName), SW_SHOW);
        window = GetDC(glhMainWnd);
        if (glMainWndMemDC.memDC != nullptr) {
            RECT all = {0, 0, kMemWidth, kMemHeight};
            HBRUSH yellow = CreateSolidBrush(RGB(230, 230, 0));
            FillRect(glMainWndMemDC.memDC, &all, yellow);
            DeleteObject(yellow);
        }
        while (glWaitAnimState == 0) {
            Frame(window, "(^^)お待ちください");
            if (glWaitAnimState != 0) {
                break;
            }
            Sleep(500);
            Frame(window, "(..)お待ちください");
            if (glWaitAnimState != 0) {
                break;
            }
            Sleep(500);
        }
        if (glMainWndMemDC.memDC != nullptr) {
            RECT all = {0, 0, kMemWidth, kMemHeight};
            FillRect(glMainWndMemDC.memDC, &all, glhIdleBrush);
            BitBlt(window, 0, 0, kMemWidth, kMemHeight, glMainWndMemDC.memDC, 0, 0, SRCCOPY);
        }
        ReleaseDC(glhMainWnd, window);
    }
    HANDLE self = glAnimThread.exchange(nullptr);
    if (self != nullptr) {
        CloseHandle(self);
    }
    glWaitAnimState = 2;
    return 0;
}
