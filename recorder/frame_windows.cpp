// The recording frame: four thin top-most windows around the capture range.
// Dragging the top bar by its caption moves the capture range with it.
#include <atomic>

#include "recorder/core/hanni_rules.h"
#include "recorder/range_window.h"
#include "recorder/recorder_globals.h"

namespace {

constexpr UINT_PTR kEdgeTimer = 1;

std::atomic<int32_t> glFrameTopX{0}, glFrameTopY{0}; // the top bar's remembered position
int32_t glFrameMoveChuu;   // a move is being handled (or the frame is being placed)
int32_t glFrameSizeMoveChuu; // the user is dragging the bar (system move loop)
int32_t glFrameEdgesHidden;
int32_t glFramePlaced;     // the frame stands around a range (not at its creation place)

HanniRect RangeNow()
{
    return HanniRect{glHanniLeft, glHanniTop, glHanniRight, glHanniBottom};
}

// Puts all four windows around the current range; `show` makes them visible.
void FramePlace(bool edgesToo, bool show)
{
    HanniRect w[4];
    FrameWindowRects(RangeNow(), glBorderX, glBorderY, w);
    glFrameMoveChuu = 1;
    for (int i = 0; i < 4; ++i) {
        if (glhFrameWnd[i] == nullptr) {
            continue;
        }
        UINT flags = SWP_NOACTIVATE;
        if (show && (i == 0 || edgesToo)) {
            flags |= SWP_SHOWWINDOW;
        }
        SetWindowPos(glhFrameWnd[i], HWND_TOPMOST, w[i].left, w[i].top, w[i].right - w[i].left, w[i].bottom - w[i].top,
                     flags);
    }
    glFrameTopX = w[0].left;
    glFrameTopY = w[0].top;
    glFramePlaced = 1;
    glFrameMoveChuu = 0;
}

bool LeftButtonDown()
{
    return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
}

// The user moved the top bar: the range follows by the same amount. Every
// move that is not the frame's own placement is the user's: with window
// contents not shown while dragging, the bar moves only after the button
// is up, and that move must count as well.
void FrameTopMoved(HWND hwnd)
{
    if (glFrameMoveChuu || !glFramePlaced || !IsWindowVisible(hwnd)) {
        return;
    }
    glFrameMoveChuu = 1;
    RECT r;
    GetWindowRect(hwnd, &r);
    const HanniRect moved = HanniShift(RangeNow(), glFrameTopX, glFrameTopY, r.left, r.top);
    glHanniLeft = moved.left;
    glHanniTop = moved.top;
    glHanniRight = moved.right;
    glHanniBottom = moved.bottom;
    for (int i = 1; i < 4; ++i) {
        ShowWindow(glhFrameWnd[i], SW_HIDE);
    }
    glFrameEdgesHidden = 1;
    FramePlace(false, false);
    Sleep(10);
    glFrameMoveChuu = 0;
}

// Every 100 ms: the edges come back once the bar is visible and let go.
void FrameEdgeTimer(HWND hwnd)
{
    if (glFrameEdgesHidden && IsWindowVisible(hwnd) && !LeftButtonDown() && !glFrameSizeMoveChuu) {
        glFrameEdgesHidden = 0;
        for (int i = 1; i < 4; ++i) {
            SetWindowPos(glhFrameWnd[i], HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        }
    }
}

}  // namespace

void FrameWindowsShow()
{
    glFrameEdgesHidden = 0;
    FramePlace(true, true);
}

void FrameWindowsHide()
{
    glFrameEdgesHidden = 0;
    for (HWND w : glhFrameWnd) {
        if (w != nullptr) {
            ShowWindow(w, SW_HIDE);
        }
    }
}

LRESULT CALLBACK FrameTopWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE: {
        RECT r;
        GetWindowRect(hwnd, &r);
        SetWindowPos(hwnd, nullptr, 0, 0, glRecWidth, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetTimer(hwnd, kEdgeTimer, 100, nullptr);
        return 0;
    }
    case WM_ENTERSIZEMOVE:
        glFrameSizeMoveChuu = 1;
        break;
    case WM_EXITSIZEMOVE:
        glFrameSizeMoveChuu = 0;
        break;
    case WM_MOVE:
        FrameTopMoved(hwnd);
        return 0;
    case WM_TIMER:
        if (wParam == kEdgeTimer) {
            FrameEdgeTimer(hwnd);
        }
        return 0;
    case WM_CLOSE:
        // The frame lives for the whole run; it is hidden, never closed.
        ShowWindow(hwnd, SW_HIDE);
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd, kEdgeTimer);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK FrameEdgeWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
