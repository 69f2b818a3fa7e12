// Entry routine of the recorder: prepares the program-wide state, checks
// the product folder and the sound devices, creates every window once and
// runs the message loop until the main window is gone.
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <cstdio>

#include "codec/vfw/screen_codec_driver.h"
#include "common/win/file_map.h"
#include "common/win/product_folder.h"
#include "common/win/program.h"
#include "recorder/core/blend_table.h"
#include "recorder/core/main_window_rules.h"
#include "recorder/help_window.h"
#include "recorder/main_menu.h"
#include "recorder/recorder_globals.h"
#include "recorder/recorder_windows.h"
#include "recorder/setup_guide.h"

namespace {

HFONT WindowFontCreate()
{
    return CreateFontA(-12, 0, 0, 0, 400, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 3, 2, 1, 32, "ＭＳ Ｐゴシック");
}

// Without any wave-out device the program cannot go on; a device that does
// not answer is named. The first one that answers is the one used.
void WaveOutDeviceCheck()
{
    const UINT count = waveOutGetNumDevs();
    if (count < 1) {
        MessageBoxA(nullptr, "音声出力デバイスがありません。<(_ _)>", "（；‘ v‘）/音声出力デバイスがありません。", MB_TOPMOST);
        std::exit(0);
    }
    for (UINT dev = 0; dev < count; ++dev) {
        WAVEOUTCAPSA caps = {};
        if (waveOutGetDevCapsA(dev, &caps, sizeof caps) == MMSYSERR_NOERROR) {
            glWaveOutDevice = dev;
            break;
        }
        MessageBoxA(nullptr, caps.szPname, "出力デバイスがありません", MB_TOPMOST);
    }
}

void WaveInDeviceChoose()
{
    const UINT count = waveInGetNumDevs();
    if (count < 1) {
        RecDeviceGuide(1);
    }
    glWaveInDevice = waveInGetNumDevs();
    for (UINT dev = 0; dev < waveInGetNumDevs(); ++dev) {
        WAVEINCAPSA caps = {};
        if (waveInGetDevCapsA(dev, &caps, sizeof caps) == MMSYSERR_NOERROR) {
            glWaveInDevice = dev;
            break;
        }
    }
}

void CursorsLoad()
{
    glhArrowCursor = LoadCursorA(nullptr, IDC_ARROW);
    glhCrossCursor = LoadCursorA(nullptr, IDC_CROSS);
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, "%s\\HandOpen.cur", glBuhinFolder);
    glhHandOpenCursor = static_cast<HCURSOR>(LoadImageA(nullptr, path, IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
    std::snprintf(path, sizeof path, "%s\\HandClose.cur", glBuhinFolder);
    glhHandCloseCursor = static_cast<HCURSOR>(LoadImageA(nullptr, path, IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
}

void BlendTableCreate()
{
    uint8_t* table = BufCreateByFSFM(&glAlphaBlendBBTableC, "AlphaBlendBBTableC", 0, kBlendTableBytes, 0);
    if (table != nullptr) {
        BlendTableFill(table);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInst, HINSTANCE, LPSTR, int)
{
    glhInst = hInst;

    INITCOMMONCONTROLSEX icc = {sizeof icc, 0xFF};
    InitCommonControlsEx(&icc);

    for (HFONT& font : glhFont) {
        font = WindowFontCreate();
    }
    glhBtnFaceBrush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    glhDarkBlueBrush = CreateSolidBrush(RGB(0, 0, 160));
    MenuBarsCreate();
    DialogClassRegister();

    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);

    glMemShortReturnSuu = 50;
    glChannels = 2;
    glhDisplayDC = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    glMainWndHeight = kMainWndHeight;
    glVirtualWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    glVirtualHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    glFrameX = GetSystemMetrics(SM_CXFRAME);
    glCaptionY = GetSystemMetrics(SM_CYCAPTION);

    glMaxRecMs = 18000000;

    ProductFolderCheck();
    // The built-in screen codec, for this process only, before any codec call.
    ScreenCodecInstall();

    glRecBaiX = 1.0f;
    glRecBaiY = 1.0f;
    glSmoothingFlag = 1;
    glPreviewRect = RECT{0, 0, 100, 70};
    glhPaintRgn = CreateRectRgn(100, 0, 1102, 106);
    glhIdleBrush = CreateSolidBrush(RGB(7, 218, 155));
    glhRecBrush = CreateSolidBrush(RGB(250, 0, 0));
    glhPauseBrush = CreateSolidBrush(RGB(230, 230, 0));
    glhSystemFont = CreateFontA(15, 0, 0, 0, 800, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "System");
    glKantanWidth = kMainWndEasyWidth;
    glKantanSousaMode = 1;
    glBusyFaceX = 102;
    glBusyFaceY = 38;
    glBusyFaceW = 88;
    FileMapFolderCreate();
    glPathBuf = new char[kPathBufSuu][MAX_PATH]();

    glSampleRate = 44100;
    glBitsPerSample = 16;

    WaveInDeviceChoose();
    WaveOutDeviceCheck();

    CursorsLoad();
    HelpTextsBuild();
    BlendTableCreate();
    glSSWidth = 200;
    glSSHeight = 400;
    glSSByou = 10;

    if (!RecorderWindowsCreate()) {
        return 0;
    }

    MSG msg;
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
