#include "recorder/main_window.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "common/core/wave_err_text.h"
#include "common/win/comp_data.h"
#include "common/win/file_map.h"
#include "common/win/product_folder.h"
#include "common/win/program.h"
#include "recorder/busy_meter.h"
#include "recorder/codec_choice.h"
#include "recorder/core/main_window_rules.h"
#include "recorder/help_window.h"
#include "recorder/main_controls.h"
#include "recorder/main_menu.h"
#include "recorder/petit_rewind.h"
#include "recorder/range_window.h"
#include "recorder/recorder_globals.h"
#include "recorder/recorder_settings.h"
#include "recorder/recording_control.h"
#include "recorder/save_folder.h"
#include "recorder/scene_still.h"
#include "recorder/setup_guide.h"
#include "recorder/slideshow_panel.h"
#include "recorder/sound_buffers.h"
#include "recorder/stop_timer.h"

namespace {

constexpr int kMemWidth = 1102;
constexpr int kMemHeight = 106;
constexpr UINT_PTR kStartupTimer = 0;
const char* const kMakerPage = "https://vemtra.example/";

void ProductFileDelete(const char* tail)
{
    char path[MAX_PATH];
    ProductPath(path, tail);
    DeleteFileA(path);
}

void MemShortTextPrepare()
{
    std::snprintf(glMemShortText, sizeof glMemShortText, "%s",
                  "おそらく、PCのローカルディスクのメモリが不足しています。\r\n"
                  "ローカルディスクの残量が半分くらい無いとうまく録画できません。\r\n"
                  "いらないファイルを削除するか、ごみ箱を空にするか、別のドライブに移すなどして空きを増やしてから、"
                  "もう一度録画してください。\r\n録画する範囲を狭くすると使うメモリも少なくなります。");
}

// End of WM_CREATE: folders, the off-screen picture, the settings.
void MainWndLoad(HWND hwnd)
{
    glhDesktopDC = GetDC(GetDesktopWindow());
    glhRecTimeEdit = MainItem(kIdRecTime);

    BmpDCCreateByFSFM(&glMainWndMemDC, "Vemtra_glMainWndMemDC", 0, kMemWidth, kMemHeight, 32);
    if (glMainWndMemDC.memDC != nullptr) {
        SetStretchBltMode(glMainWndMemDC.memDC, COLORONCOLOR);
        SelectObject(glMainWndMemDC.memDC, glhSystemFont);
        RECT all = {0, 0, kMemWidth, kMemHeight};
        FillRect(glMainWndMemDC.memDC, &all, glhIdleBrush);
    }

    // Leftovers of a run that ended abnormally go; files still open (the
    // editor's, the picture just made) stay.
    FileMapFolderClear(glFileMapFolder, 0);
    FileMapFolderCreate();
    SettingsFolderCreate();

    SettingsLoad();
    MemShortTextPrepare();

    // Until a recording is prepared the codec is offered 400 x 400 frames.
    glCompFrameWidth = 400;
    glCompFrameHeight = 400;
    CompInputFormatSet(glCompFrameWidth, glCompFrameHeight);
    CompDataLoadAndShow();
    WaveFormatFill();
    glCaptureWidth = glVirtualWidth;
    glCaptureHeight = glVirtualHeight;

    SetTimer(hwnd, kStartupTimer, 150, nullptr);
    char sound[MAX_PATH];
    std::snprintf(sound, sizeof sound, "%s\\ひょい重.wav", glBuhinFolder);
    PlaySoundA(sound, nullptr, SND_FILENAME | SND_ASYNC);
}

// Timer 0, once: leftovers of an earlier run, the sound buffers, the faces.
void StartupTimerWork()
{
    for (int n = 0; n <= 50; ++n) {
        char tail[32];
        std::snprintf(tail, sizeof tail, "\\Audio%d.wav", n);
        ProductFileDelete(tail);
    }
    ProductFileDelete("\\Video.avi");
    ProductFileDelete("\\vs.avi");
    ProductFileDelete("\\CAviTest2.avi");
    WaveBuffersCreate();
    BusyMeterBmpCreate();
}

void MainWndPaint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (glMainWndMemDC.memDC != nullptr) {
        HDC mem = glMainWndMemDC.memDC;
        const int mode = PaintModeChoose(glShuuryouFlag == 1, glIchijiTeishiFlag == 1, glTeishiFlag == 1, glFileNum,
                                         glRokuonChuuFlag == 1);
        if (mode == 2) {
            FillRgn(mem, glhPaintRgn, glhPauseBrush);
            if (glBusyMeterBmp[kBusyBlankFace].memDC != nullptr) {
                BitBlt(mem, glBusyFaceX, glBusyFaceY, glBusyFaceW, 20, glBusyMeterBmp[kBusyBlankFace].memDC, 0, 0, SRCCOPY);
            }
        } else if (mode == 3) {
            FillRgn(mem, glhPaintRgn, glhRecBrush);
            const int face = glBusyFace;
            if (face >= 0 && face < kBusyFaceSuu && glBusyMeterBmp[face].memDC != nullptr) {
                BitBlt(mem, glBusyFaceX, glBusyFaceY, glBusyFaceW, 20, glBusyMeterBmp[face].memDC, 0, 0, SRCCOPY);
            }
        } else {
            FillRgn(mem, glhPaintRgn, glhIdleBrush);
        }
        CapturePreviewDraw(mem, glPreviewRect);
        BitBlt(dc, 0, 0, kMemWidth, kMemHeight, mem, 0, 0, SRCCOPY);
    }
    EndPaint(hwnd, &ps);
}

void FlagToggle(std::atomic<uint8_t>& flag, UINT menuId)
{
    flag = flag ? 0 : 1;
    MenuToggleShow(menuId, flag);
}

void ChannelsChoose(int channels)
{
    glChannels = channels;
    WaveFormatFill();
    MenuToggleShow(kMenuMono, channels == 1);
    MenuToggleShow(kMenuStereo, channels == 2);
}

bool Checked(int id)
{
    return SendMessageA(MainItem(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void ControlCommand(HWND hwnd, int id, int code)
{
    if (id == kIdStopMin || id == kIdStopHour || id == kIdStopSec) {
        if (code == EN_CHANGE) {
            StopTimerOff();
        }
        return;
    }
    if (id == kIdFileName) {
        if (code == EN_UPDATE) {
            FileNameEditUpdate();
        }
        return;
    }
    if (code != BN_CLICKED) {
        return;
    }
    switch (id) {
    case kIdStopTimerCheck: StopTimerClick(); break;
    case kIdPause: IchijiTeishiToggle(); break;
    case kIdStop: RecStop(); break;
    case kIdSSAuto: SlideShowAutoCommand(); break;
    case kIdHanniShitei: HanniShiteiStart(); break;
    case kIdRokuga: RokugaStart(); break;
    case kIdKantan:
        glKantanSousaMode = Checked(kIdKantan) ? 1 : 0;
        KantanWidthApply();
        break;
    case kIdSSAttach: SlideShowAttachCommand(); break;
    case kIdSceneStill: SceneStillCommand(); break;
    case kIdNewest: ShellExecuteA(hwnd, "open", kMakerPage, nullptr, nullptr, SW_SHOWNORMAL); break;
    case kIdSaizenmen:
        glSaizenmenFlag = Checked(kIdSaizenmen) ? 1 : 0;
        SaizenmenApply();
        break;
    case kIdCodecChoose: {
        CodecChoiceCommand();
        SetWindowTextA(MainItem(kIdCodecCode), CompDataCodeText(glCompVars).c_str());
        break;
    }
    case kIdPetitRewind: PetitRewindCommand(); break;
    case kIdFileNameDecide: FileNameDecide(); break;
    default: break;
    }
}

void MenuCommand(HWND hwnd, int id)
{
    switch (id) {
    case kMenuRecGuide: RecDeviceGuide(0); break;
    case kMenuCodecAdvice: CodecAdviceShow(); break;
    case kMenuUsage: HelpWindowShowOnMain(); break;
    case kMenuSaveFolderHelp:
        MessageBoxA(hwnd,
                    "（‘ v‘）/保存先を変えたいときは、保存したいフォルダの『中』にあるファイルかフォルダをどれでもいいからメインウィンドウにドロップしてください。\r\nデスクトップならデスクトップ上にあるファイルかフォルダでOKです。",
                    "保存先のかえ方", MB_TOPMOST);
        break;
    case kMenuDougaTeishiStop: FlagToggle(glDougaTeishiStopFlag, kMenuDougaTeishiStop); break;
    case kMenuSmoothing: FlagToggle(glSmoothingFlag, kMenuSmoothing); break;
    case kMenuOtozureSmooth: FlagToggle(glOtozureSmoothFlag, kMenuOtozureSmooth); break;
    case kMenuYokogire: FlagToggle(glYokogireBoushiFlag, kMenuYokogire); break;
    case kMenuMono: ChannelsChoose(1); break;
    case kMenuStereo: ChannelsChoose(2); break;
    case kMenuOtoNashi: FlagToggle(glOtoNashiFlag, kMenuOtoNashi); break;
    case kMenuOnseiIranai: FlagToggle(glOnseiFileIranaiFlag, kMenuOnseiIranai); break;
    case kMenuSplit: RecSplit(); break;
    case kMenuOpenFolder: SaveFolderOpen(); break;
    case kMenuRecDoujiClick: FlagToggle(glRecDoujiDougaClickFlag, kMenuRecDoujiClick); break;
    case kMenuRecCancel: RecCancel(); break;
    case kMenuKifu:
        MessageBoxA(hwnd,
                    "（‘ v‘）/Vemtra_Freeは無料でお使いいただけます。\r\n気に入っていただけたら、寄付で開発を応援していただけるとうれしいです。",
                    "寄付について", MB_TOPMOST);
        break;
    case kMenuKifuThanks:
        MessageBoxA(hwnd, "<(_ _)>寄付してくださった皆様、本当にありがとうございます。\r\nこれからもよりよいソフトにしていきます。",
                    "寄付して下さった方へ", MB_TOPMOST);
        break;
    default: break;
    }
}

void WaveInCallCheck(MMRESULT result, const char* call)
{
    if (result != MMSYSERR_NOERROR) {
        MessageBoxA(glhMainWnd, WaveErrText(result).c_str(), call, MB_TOPMOST);
    }
}

void MainWndDestroy(HWND hwnd)
{
    // A finalisation started by the close still runs: it must finish
    // before what it uses is released.
    for (int waited = 0; glKetsugouChuuFlag && waited < 600000; waited += 100) {
        Sleep(100);
    }
    ReleaseDC(GetDesktopWindow(), glhDesktopDC);
    glhDesktopDC = nullptr;
    DeleteObject(glhPaintRgn);
    glhPaintRgn = nullptr;
    Sleep(500);

    HWND others[] = {glhHelpWnd, glhSlideShowWnd, glhCodecAdviceWnd, glhFrameWnd[0], glhFrameWnd[1], glhFrameWnd[2], glhFrameWnd[3]};
    for (HWND w : others) {
        if (w != nullptr) {
            DestroyWindow(w);
        }
    }
    glhHelpWnd = glhSlideShowWnd = glhCodecAdviceWnd = nullptr;
    for (HWND& w : glhFrameWnd) {
        w = nullptr;
    }
    BmpDCDeleteByFSFM(&glMainWndMemDC);
    BusyMeterBmpDelete();
    delete[] glPathBuf;
    glPathBuf = nullptr;
    if (glCaptureTimerId != 0) {
        timeKillEvent(glCaptureTimerId);
        glCaptureTimerId = 0;
    }

    if (glRokuonChuuFlag && glWaveIn != nullptr) {
        WaveInCallCheck(waveInReset(glWaveIn), "waveInReset");
        WaveInCallCheck(waveInUnprepareHeader(glWaveIn, &glWaveHdr, sizeof glWaveHdr), "waveInUnprepareHeader");
        WaveInCallCheck(waveInStop(glWaveIn), "waveInStop");
        WaveInCallCheck(waveInClose(glWaveIn), "waveInClose");
        glWaveIn = nullptr;
    }

    for (int n = 0; n < kWaveBufSuu; ++n) {
        RecFileRelease(n);
        BufDeleteByFSFM(&glWaveBuf[n]);
        char tail[32];
        std::snprintf(tail, sizeof tail, "\\Audio%d.wav", n);
        ProductFileDelete(tail);
        std::snprintf(tail, sizeof tail, "\\Video%d.avi", n);
        ProductFileDelete(tail);
    }

    CaptureRelease();
    SceneStillsRelease();
    ProductFileDelete("\\■ToJpgBmpForPX.bmp");
    ProductFileDelete("\\■ToJpgJpgForPLK.jpg");
    ProductFileDelete("\\ForLumask.txt");
    ProductFileDelete("\\123.avi");
    ProductFileDelete("\\.avi");

    HanniFileWrite();
    if (glhHanniWnd != nullptr) {
        DestroyWindow(glhHanniWnd);
        glhHanniWnd = nullptr;
    }
    SettingsSave();

    BufDeleteByFSFM(&glAlphaBlendBBTableC);
    FileMapFolderClear(glFileMapFolder, 0);
    SetMenu(hwnd, nullptr);
    MenuBarsDestroy();
    for (HFONT& font : glhFont) {
        DeleteObject(font);
        font = nullptr;
    }
    DeleteObject(glhSystemFont);
    if (glhDisplayDC != nullptr) {
        DeleteDC(glhDisplayDC);
        glhDisplayDC = nullptr;
    }
    PostQuitMessage(0);
}

void MainWndClose(HWND hwnd)
{
    if (CloseRefused(glFileNum, glRokuonChuuFlag == 1, glTeishiFlag == 1)) {
        return;
    }
    while (glKetsugouChuuFlag) {
        Sleep(200);
    }
    glShuuryouFlag = 1;
    Sleep(200);
    RecStop();
    Sleep(100);
    DestroyWindow(hwnd);
}

}  // namespace

void KeepWindowOnScreen(HWND hwnd)
{
    RECT r;
    GetWindowRect(hwnd, &r);
    if (KeepOnScreenNeeded(WndRect{r.left, r.top, r.right, r.bottom}, glVirtualWidth, glVirtualHeight)) {
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
}

void SaizenmenApply()
{
    SetWindowPos(glhMainWnd, glSaizenmenFlag ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void KantanWidthApply()
{
    RECT r;
    GetWindowRect(glhMainWnd, &r);
    SetWindowPos(glhMainWnd, nullptr, 0, 0, MainWndWidth(glKantanSousaMode), r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        glhMainWnd = hwnd;
        SetMenu(hwnd, glhMainMenu);
        MainControlsCreate(hwnd);
        MainWndLoad(hwnd);
        return 0;
    case WM_TIMER:
        if (wParam == kStartupTimer) {
            KillTimer(hwnd, kStartupTimer);
            StartupTimerWork();
        }
        return 0;
    case WM_PAINT:
        MainWndPaint(hwnd);
        return 0;
    case WM_SIZE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_DROPFILES:
        SaveFolderDrop(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_NOTIFY: {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
        if (hdr->idFrom == static_cast<UINT_PTR>(kIdSSUpDown) && hdr->code == static_cast<UINT>(UDN_DELTAPOS)) {
            glSSByou += reinterpret_cast<const NMUPDOWN*>(lParam)->iDelta;
        }
        return 0;
    }
    case WM_COMMAND:
        if (lParam != 0) {
            ControlCommand(hwnd, LOWORD(wParam), HIWORD(wParam));
        } else {
            MenuCommand(hwnd, LOWORD(wParam));
        }
        return 0;
    case WM_CLOSE:
        MainWndClose(hwnd);
        return 0;
    case WM_DESTROY:
        MainWndDestroy(hwnd);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
