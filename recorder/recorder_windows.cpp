#include "recorder/recorder_windows.h"

#include <windows.h>

#include "common/win/program.h"
#include "recorder/help_window.h"
#include "recorder/main_window.h"
#include "recorder/range_window.h"
#include "recorder/recorder_globals.h"
#include "recorder/setup_guide.h"
#include "recorder/slideshow_panel.h"

namespace {

constexpr UINT kClassStyle = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;

struct WindowDef {
    const char* className;
    const char* title;
    DWORD exStyle;
    DWORD style;
    int width;
    int height;
    WNDPROC proc;
    int iconId;      // 0: the default icon
    HBRUSH* background; // null: button face
    HWND* handle;
    int fontSlot;
};

void ClassRegister(const char* name, WNDPROC proc, int iconId, HBRUSH background)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = kClassStyle;
    wc.lpfnWndProc = proc;
    wc.hInstance = glhInst;
    HICON big = nullptr;
    HICON small = nullptr;
    if (iconId != 0) {
        big = static_cast<HICON>(LoadImageA(glhInst, MAKEINTRESOURCEA(iconId), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
        small = static_cast<HICON>(LoadImageA(glhInst, MAKEINTRESOURCEA(iconId), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), 0));
    }
    wc.hIcon = big ? big : LoadIconA(nullptr, IDI_APPLICATION);
    wc.hIconSm = small ? small : wc.hIcon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    RegisterClassExA(&wc);
}

HWND glhMainWndCreated; // where the main window's handle lands

}  // namespace

void DialogClassRegister()
{
    ClassRegister("NORMALDLG", PicMBWndProc, 0, glhBtnFaceBrush);
}

bool RecorderWindowsCreate()
{
    const WindowDef defs[] = {
        {"NORMAL0", "Vemtra_Free", WS_EX_ACCEPTFILES, WS_VISIBLE | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
         1102, 99, MainWndProc, 102, nullptr, &glhMainWndCreated, -1},
        {"NORMAL1", "Vemtra", WS_EX_TOPMOST, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 766, 325, HanniWndProc, 103, nullptr,
         &glhHanniWnd, kFontHanni},
        {"NORMAL2", "Vemtra ヘルプ", WS_EX_TOPMOST, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
         245, 360, HelpWndProc, 0, &glhDarkBlueBrush, &glhHelpWnd, kFontHelp},
        {"NORMAL3", "SlideShow1", WS_EX_TOPMOST | WS_EX_ACCEPTFILES, WS_OVERLAPPEDWINDOW, 150, 289, SlideShowWndProc, 0,
         nullptr, &glhSlideShowWnd, kFontSlideShow},
        {"NORMAL5", "圧縮設定の説明", WS_EX_TOPMOST, WS_OVERLAPPEDWINDOW, 480, 69, CodecAdviceWndProc, 0, nullptr,
         &glhCodecAdviceWnd, kFontCodecAdvice},
        {"NORMAL8", "（‘ v‘）/Vemtra_Freeの枠（動かせます）", WS_EX_TOPMOST, WS_CAPTION | WS_CLIPCHILDREN, 477, 44,
         FrameTopWndProc, 0, nullptr, &glhFrameWnd[0], kFontFrame},
        {"NORMAL9", "", WS_EX_TOPMOST, WS_POPUP | WS_BORDER | WS_DISABLED, 480, 360, FrameEdgeWndProc, 0, nullptr,
         &glhFrameWnd[1], kFontFrame + 1},
        {"NORMAL10", "", WS_EX_TOPMOST, WS_POPUP | WS_BORDER, 480, 360, FrameEdgeWndProc, 0, nullptr, &glhFrameWnd[2],
         kFontFrame + 2},
        {"NORMAL11", "", WS_EX_TOPMOST, WS_POPUP | WS_BORDER, 480, 360, FrameEdgeWndProc, 0, nullptr, &glhFrameWnd[3],
         kFontFrame + 3},
    };
    for (const WindowDef& d : defs) {
        ClassRegister(d.className, d.proc, d.iconId, d.background ? *d.background : glhBtnFaceBrush);
    }
    for (const WindowDef& d : defs) {
        *d.handle = CreateWindowExA(d.exStyle, d.className, d.title, d.style, CW_USEDEFAULT, CW_USEDEFAULT, d.width,
                                    d.height, nullptr, nullptr, glhInst, nullptr);
        if (d.handle == &glhMainWndCreated && glhMainWndCreated == nullptr) {
            return false;
        }
        if (d.fontSlot >= 0 && *d.handle != nullptr) {
            SendMessageA(*d.handle, WM_SETFONT, reinterpret_cast<WPARAM>(glhFont[d.fontSlot]), FALSE);
        }
    }
    return true;
}
