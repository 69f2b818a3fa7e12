#include "recorder/help_window.h"

#include "common/win/program.h"
#include "recorder/core/help_texts.h"
#include "recorder/recorder_globals.h"

namespace {

constexpr int kHelpEditId = 1010;

void HelpTopicShow(HWND hwnd, int topic)
{
    glHelpTopic = topic;
    SetDlgItemTextA(hwnd, kHelpEditId, glHelpText[topic]);
}

}  // namespace

void HelpTextsBuild()
{
    for (int i = 0; i < kHelpTopicSuu; ++i) {
        lstrcpynA(glHelpText[i], HelpTopicBuild(i).c_str(), sizeof glHelpText[i]);
    }
}

LRESULT CALLBACK HelpWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE: {
        SetMenu(hwnd, glhHelpMenu);
        HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                    WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 5, 6,
                                    225, 190, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kHelpEditId)), glhInst, nullptr);
        SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(glhFont[kFontHelp]), TRUE);
        HelpTopicShow(hwnd, 0);
        return 0;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kMenuHelpUsage: HelpTopicShow(hwnd, 0); return 0;
        case kMenuHelpSound: HelpTopicShow(hwnd, 1); return 0;
        case kMenuHelpKakukaku: HelpTopicShow(hwnd, 2); return 0;
        case kMenuHelpTech: HelpTopicShow(hwnd, 3); return 0;
        case kMenuHelpOther: HelpTopicShow(hwnd, 4); return 0;
        case kMenuHelpClose: ShowWindow(hwnd, SW_HIDE); return 0;
        default: break;
        }
        break;
    case WM_CLOSE:
        // The window lives for the whole run; closing only hides it.
        ShowWindow(hwnd, SW_HIDE);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK CodecAdviceWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE: {
        HWND text = CreateWindowExA(0, "STATIC", "（‘ v‘）/　コーデック　Xvid (uManiac) のインストールをお勧めします。（無料）",
                                    WS_CHILD | WS_VISIBLE, 28, 11, 390, 16, hwnd, nullptr, glhInst, nullptr);
        SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(glhFont[kFontCodecAdvice]), TRUE);
        return 0;
    }
    case WM_CLOSE:
        ShowWindow(hwnd, SW_HIDE);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void HelpWindowShowOnMain()
{
    RECT mainRect;
    RECT helpRect;
    GetWindowRect(glhMainWnd, &mainRect);
    GetWindowRect(glhHelpWnd, &helpRect);
    MoveWindow(glhHelpWnd, mainRect.left + 2, mainRect.top + 8, helpRect.right - helpRect.left,
               helpRect.bottom - helpRect.top, TRUE);
    SetDlgItemTextA(glhHelpWnd, kHelpEditId, glHelpText[glHelpTopic]);
    ShowWindow(glhHelpWnd, SW_SHOW);
}

void CodecAdviceShow()
{
    ShowWindow(glhCodecAdviceWnd, SW_SHOW);
    SetWindowPos(glhCodecAdviceWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}
