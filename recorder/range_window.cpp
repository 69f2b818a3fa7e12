#include "recorder/range_window.h"

#include <mmsystem.h>

#include <cstdio>
#include <cstring>

#include "common/core/random_lcg.h"
#include "common/core/settings_text.h"
#include "common/win/comp_data.h"
#include "common/win/file_map.h"
#include "common/win/product_folder.h"
#include "common/win/program.h"
#include "common/win/settings_file.h"
#include "recorder/core/frame_geometry.h"
#include "recorder/core/hanni_rules.h"
#include "recorder/main_controls.h"
#include "recorder/main_window.h"
#include "recorder/recorder_globals.h"
#include "recorder/recorder_settings.h"
#include "recorder/recording_control.h"

std::atomic<int32_t> glHanniLeft{0}, glHanniTop{0}, glHanniRight{720}, glHanniBottom{480};
std::atomic<int32_t> glRecWidth{720}, glRecHeight{480};
int32_t glScaledWidth, glScaledHeight;
int32_t glWriteWidth, glWriteHeight;
int32_t glOffsetX, glOffsetY;
int32_t glBorderX, glBorderY;

namespace {

enum : int { kIdGamenKoushin = 1037, kIdJama = 1038, kIdHanniCancel = 1039 };
constexpr UINT_PTR kBlinkTimer = 0;

int32_t glDragStartX, glDragStartY, glDragEndX, glDragEndY;
int32_t glDragFlag;
int32_t glSelectMode;
COLORREF glFrameColour[2] = {RGB(1, 0, 0), RGB(255, 255, 255)};

// The frozen screen with the instruction, and a clean copy to erase the band.
FSFMBitmapDC glHanniMemDC;
FSFMBitmapDC glHanniMemBeforeDC;
HFONT glhHanniTextFont;

const char kInstruction[] = "録画したい範囲の対角線をななめにドラッグしてください。";

void PartsSoundPlay(const char* tail)
{
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, "%s%s", glBuhinFolder, tail);
    PlaySoundA(path, nullptr, SND_FILENAME | SND_ASYNC);
}

bool BitmapsReady()
{
    return glHanniMemDC.memDC != nullptr && glHanniMemBeforeDC.memDC != nullptr;
}

void ButtonsMove(HWND hwnd, int32_t x, int32_t y)
{
    HanniPoint p[3];
    HanniButtonPlace(x, y, p);
    const int ids[3] = {kIdGamenKoushin, kIdJama, kIdHanniCancel};
    for (int i = 0; i < 3; ++i) {
        SetWindowPos(GetDlgItem(hwnd, ids[i]), nullptr, p[i].x, p[i].y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
}

void ButtonsCreate(HWND hwnd)
{
    struct Def {
        int id;
        const char* text;
        int x, y, w, h;
    };
    const Def defs[] = {
        {kIdGamenKoushin, "画面の更新", 306, 60, 88, 21},
        {kIdJama, "←じゃま！！", 406, 68, 85, 19},
        {kIdHanniCancel, "キャンセル", 308, 85, 86, 19},
    };
    for (const Def& d : defs) {
        HWND b = CreateWindowExA(0, "BUTTON", d.text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, d.x, d.y, d.w, d.h, hwnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(d.id)), glhInst, nullptr);
        SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(glhFont[kFontHanni]), FALSE);
    }
    ButtonsMove(hwnd, SettingNum("HanniBTPt.txt", 0), SettingNum("HanniBTPt.txt", 1));
}

// Lines 2 and 3 of "Hanni.txt" give a provisional range from the origin.
void HanniFileRead()
{
    char path[MAX_PATH];
    SettingsPath(path, "Hanni.txt");
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    const int32_t right = SettingNum("Hanni.txt", 2);
    const int32_t bottom = SettingNum("Hanni.txt", 3);
    glHanniLeft = 0;
    glHanniTop = 0;
    glHanniRight = right;
    glHanniBottom = bottom;
    glRecWidth = right;
    glRecHeight = bottom;
}

void HanniWndCreate(HWND hwnd)
{
    ButtonsCreate(hwnd);

    RECT w;
    RECT c;
    GetWindowRect(hwnd, &w);
    GetClientRect(hwnd, &c);
    HanniBorderCal(w.right - w.left, w.bottom - w.top, c.right, c.bottom, &glBorderX, &glBorderY);
    const HanniRect place = HanniWindowRect(glVirtualWidth, glVirtualHeight, glBorderX, glBorderY);
    MoveWindow(hwnd, place.left, place.top, place.right - place.left, place.bottom - place.top, FALSE);

    glhHanniTextFont = CreateFontA(30, 0, 0, 0, 800, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0, 0, 0, "MS ゴシック");
    const int bw = glVirtualWidth + 200;
    const int bh = glVirtualHeight + 200;
    BmpDCCreateByFSFM(&glHanniMemDC, "glHanniMemDC", 0, bw, bh, 32);
    BmpDCCreateByFSFM(&glHanniMemBeforeDC, "glHanniMemBeforeDC", 0, bw, bh, 32);
    if (BitmapsReady()) {
        HanniFileRead();
        KantanWidthApply();
        SetTimer(hwnd, kBlinkTimer, 1000, nullptr);
    }
}

void InstructionDraw()
{
    HDC dc = glHanniMemDC.memDC;
    HGDIOBJ before = SelectObject(dc, glhHanniTextFont);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, OPAQUE);
    RECT all = {0, 0, glHanniMemDC.width, glHanniMemDC.height};
    DrawTextA(dc, kInstruction, -1, &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, before);
}

void MemCopy(FSFMBitmapDC* to, const FSFMBitmapDC* from)
{
    BitBlt(to->memDC, 0, 0, to->width, to->height, from->memDC, 0, 0, SRCCOPY);
}

void RubberBandDraw(HDC dc)
{
    const HanniRect r = HanniFromDrag(glDragStartX, glDragStartY, glDragEndX, glDragEndY);
    HPEN pens[2] = {CreatePen(PS_SOLID, 1, glFrameColour[0]), CreatePen(PS_SOLID, 1, glFrameColour[1])};
    HGDIOBJ before = SelectObject(dc, pens[0]);
    for (const DashLine& d : RubberBandDashes(r)) {
        SelectObject(dc, pens[d.colour]);
        MoveToEx(dc, d.x0, d.y0, nullptr);
        LineTo(dc, d.x1, d.y1);
    }
    SelectObject(dc, before);
    DeleteObject(pens[0]);
    DeleteObject(pens[1]);
}

void HanniWndPaint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (BitmapsReady()) {
        if (glDragFlag) {
            MemCopy(&glHanniMemDC, &glHanniMemBeforeDC);
        }
        InstructionDraw();
        if (glDragFlag) {
            RubberBandDraw(glHanniMemDC.memDC);
        }
        BitBlt(dc, 0, 0, glHanniMemDC.width, glHanniMemDC.height, glHanniMemDC.memDC, 0, 0, SRCCOPY);
    }
    EndPaint(hwnd, &ps);
}

// A new selection or range ends what is being captured.
void CaptureStopForSelection()
{
    if (glRokuonChuuFlag == 1) {
        glShuuryouFlag = 1;
        RecStop();
        while (glKetsugouChuuFlag) {
            Sleep(100);
        }
    }
}

void HanniCancel(HWND hwnd)
{
    // The stop forced by the selection is over (the finalisation ended
    // before the screen was frozen); later stops are ordinary again.
    glShuuryouFlag = 0;
    glSelectMode = 0;
    glDragFlag = 0;
    ShowWindow(hwnd, SW_HIDE);
    ShowWindow(glhMainWnd, SW_SHOW);
    SaizenmenApply();
}

void JamaCommand(HWND hwnd)
{
    PartsSoundPlay("\\ひょい.wav");
    RandSeed(GetTickCount());
    const float r1 = RandUniform();
    const float r2 = RandUniform();
    const HanniPoint p = JamaPosCal(r1, r2, glVirtualWidth, glVirtualHeight);
    ButtonsMove(hwnd, p.x, p.y);
}

void DragEnd(HWND hwnd, int32_t x, int32_t y)
{
    glDragEndX = x;
    glDragEndY = y;
    const HanniRect r = HanniFromDrag(glDragStartX, glDragStartY, glDragEndX, glDragEndY);
    CaptureStopForSelection();
    ShowWindow(hwnd, SW_HIDE);

    if (HanniTooSmall(r)) {
        MessageBoxA(hwnd, "（;‘ o‘）/範囲が小さすぎます。\r\nやり直してください。", "Vemtra_Free", MB_TOPMOST);
        glDragFlag = 0;
        MemCopy(&glHanniMemDC, &glHanniMemBeforeDC);
        ShowWindow(glhMainWnd, SW_SHOW);
        // The selection stays open: the frozen screen comes back for the next drag.
        ShowWindow(hwnd, SW_SHOW);
        InvalidateRect(hwnd, nullptr, FALSE);
        return;
    }

    // Only an accepted range replaces the capture range and offers "録画！".
    glHanniLeft = r.left;
    glHanniTop = r.top;
    glHanniRight = r.right;
    glHanniBottom = r.bottom;
    glRecWidth = r.right - r.left;
    glRecHeight = r.bottom - r.top;
    ShowWindow(MainItem(kIdRokuga), SW_SHOW);
    ShowWindow(MainItem(kIdNewest), SW_HIDE);

    glDragFlag = 0;
    glSelectMode = 0;
    glShuuryouFlag = 0;
    ShowWindow(glhMainWnd, SW_HIDE);
    // "Yes" opens the scale and aspect window, which does not exist yet:
    // both answers go on with the current scale.
    MessageBoxA(glhMainWnd, "アス比（縦横比）を変えたり拡大縮小したりしますか？", "変更の保存", MB_TOPMOST | MB_YESNO);
    if (!RecPrepare()) {
        // The preparation told why; the main window must not stay hidden.
        ShowWindow(glhMainWnd, SW_SHOW);
    }
}

void BlinkTimer(HWND hwnd)
{
    if (glRokuonChuuFlag == 1) {
        return;
    }
    const COLORREF first = glFrameColour[0];
    glFrameColour[0] = glFrameColour[1];
    glFrameColour[1] = first;
    InvalidateRect(hwnd, nullptr, FALSE);
    if (glRecTimerSec > 0) {
        glRecTimerSec -= 1;
        char text[16];
        std::snprintf(text, sizeof text, "%d", static_cast<int>(glRecTimerSec));
        SetWindowTextA(MainItem(kIdRecTimerSec), text);
        RecTimerSecond();
    }
}

}  // namespace

void HanniShiteiStart()
{
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    glSelectMode = 1;
    ShowWindow(glhMainWnd, SW_HIDE);
    SetWindowPos(glhMainWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    FrameWindowsHide();
    Sleep(100);
    if (IsWindowVisible(glhMainWnd)) {
        Sleep(100);
    }
    CaptureStopForSelection();

    if (BitmapsReady()) {
        // Only the screen itself: a source beyond it makes the whole copy fail
        // on some displays, and the margin stays blank anyway.
        HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
        BitBlt(glHanniMemDC.memDC, 0, 0, glVirtualWidth, glVirtualHeight, screen, 0, 0, SRCCOPY);
        DeleteDC(screen);
        InstructionDraw();
        MemCopy(&glHanniMemBeforeDC, &glHanniMemDC);
    }

    ShowWindow(glhHanniWnd, SW_SHOW);
    InvalidateRect(glhHanniWnd, nullptr, FALSE);
    ShowWindow(MainItem(kIdSameHanni), SW_HIDE);
    ShowWindow(MainItem(kIdRecTimerSec), SW_SHOW);
    ShowWindow(MainItem(kIdRecTimerLabel), SW_SHOW);
    ShowWindow(MainItem(kIdRecTimerSecLabel), SW_SHOW);
    PartsSoundPlay("\\ワープ？.wav");
    SetCursor(glhArrowCursor);
}

void HanniFileWrite()
{
    if (glhHanniWnd == nullptr) {
        return;
    }
    RECT r;
    GetWindowRect(glhHanniWnd, &r);
    char text[80];
    const int len = std::snprintf(text, sizeof text, "%ld\r\n%ld\r\n%ld\r\n%ld\r\n", r.left, r.top, r.right, r.bottom);
    char path[MAX_PATH];
    SettingsPath(path, "Hanni.txt");
    FileWriteMy2(path, text, static_cast<DWORD>(len));
}

void HanniGeometryFix(int slideShowAttached)
{
    const FrameGeometry g = FrameGeometryCal(glRecWidth, glRecHeight, glRecBaiX, glRecBaiY, slideShowAttached != 0);
    glScaledWidth = g.scaledWidth;
    glScaledHeight = g.scaledHeight;
    glWriteWidth = g.writeWidth;
    glWriteHeight = g.writeHeight;
    glOffsetX = g.offsetX;
    glOffsetY = g.offsetY;
    glCompFrameWidth = g.writeWidth;
    glCompFrameHeight = g.writeHeight;
    CompInputFormatSet(g.writeWidth, g.writeHeight);
    ShowWindow(MainItem(kIdSSAttach), SlideShowRoomEnough(g) ? SW_SHOW : SW_HIDE);
}

LRESULT CALLBACK HanniWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        HanniWndCreate(hwnd);
        return 0;
    case WM_GETMINMAXINFO: {
        // The window is larger than the screen on purpose: its client area
        // must cover the whole screen, which the default limit would cut.
        MINMAXINFO* mm = reinterpret_cast<MINMAXINFO*>(lParam);
        const HanniRect place = HanniWindowRect(glVirtualWidth, glVirtualHeight, glBorderX, glBorderY);
        mm->ptMaxSize.x = mm->ptMaxTrackSize.x = place.right - place.left;
        mm->ptMaxSize.y = mm->ptMaxTrackSize.y = place.bottom - place.top;
        return 0;
    }
    case WM_PAINT:
        HanniWndPaint(hwnd);
        return 0;
    case WM_ERASEBKGND:
        // The frozen picture covers everything.
        return 1;
    case WM_SIZE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_MOVE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_TIMER:
        if (wParam == kBlinkTimer) {
            BlinkTimer(hwnd);
        }
        return 0;
    case WM_LBUTTONDOWN:
        if (!glDragFlag) {
            glDragFlag = 1;
            if (BitmapsReady()) {
                MemCopy(&glHanniMemBeforeDC, &glHanniMemDC);
            }
            glDragStartX = static_cast<int16_t>(LOWORD(lParam));
            glDragStartY = static_cast<int16_t>(HIWORD(lParam));
            glDragEndX = glDragStartX;
            glDragEndY = glDragStartY;
        }
        return 0;
    case WM_MOUSEMOVE:
        if (glSelectMode) {
            SetClassLongPtrA(hwnd, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(glhCrossCursor));
        }
        if (glDragFlag) {
            glDragEndX = static_cast<int16_t>(LOWORD(lParam));
            glDragEndY = static_cast<int16_t>(HIWORD(lParam));
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case WM_LBUTTONUP:
        if (glDragFlag) {
            DragEnd(hwnd, static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam)));
        }
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kIdGamenKoushin:
            ShowWindow(hwnd, SW_HIDE);
            Sleep(200);
            HanniShiteiStart();
            break;
        case kIdJama: JamaCommand(hwnd); break;
        case kIdHanniCancel: HanniCancel(hwnd); break;
        default: break;
        }
        return 0;
    case WM_CLOSE:
        // The window lives for the whole run: closing it cancels the selection.
        HanniCancel(hwnd);
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd, kBlinkTimer);
        BmpDCDeleteByFSFM(&glHanniMemDC);
        BmpDCDeleteByFSFM(&glHanniMemBeforeDC);
        DeleteObject(glhHanniTextFont);
        glhHanniTextFont = nullptr;
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
