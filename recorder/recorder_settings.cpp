#include "recorder/recorder_settings.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "common/core/settings_text.h"
#include "common/win/comp_data.h"
#include "common/win/product_folder.h"
#include "common/win/program.h"
#include "common/win/settings_file.h"
#include "recorder/core/main_window_rules.h"
#include "recorder/core/settings_rules.h"
#include "recorder/main_controls.h"
#include "recorder/main_menu.h"
#include "recorder/main_window.h"
#include "recorder/recorder_globals.h"
#include "recorder/save_folder.h"

// One line of a settings file; a missing file or line reads as empty.
std::string SettingLine(const char* name, int line)
{
    char path[MAX_PATH];
    SettingsPath(path, name);
    char buf[kFileReadLineBytes];
    buf[0] = '\0';
    FileReadLine(buf, path, line);
    return buf;
}

int32_t SettingNum(const char* name, int line)
{
    return TextToNum(SettingLine(name, line).c_str(), 0);
}

namespace {

bool SettingExists(const char* name)
{
    char path[MAX_PATH];
    SettingsPath(path, name);
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

void SettingWrite(const char* name, const std::string& text)
{
    char path[MAX_PATH];
    SettingsPath(path, name);
    FileWriteMy2(path, text.data(), static_cast<DWORD>(text.size()));
}

void CheckSet(int id, int checked)
{
    SendMessageA(MainItem(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void MainWndRectLoad()
{
    WndRect r;
    r.left = SettingNum("MainWnd.txt", 0);
    r.top = SettingNum("MainWnd.txt", 1);
    r.right = SettingNum("MainWnd.txt", 2);
    r.bottom = SettingNum("MainWnd.txt", 3);
    r = MainWndRectFix(r);
    MoveWindow(glhMainWnd, r.left, r.top, r.right - r.left, glMainWndHeight, TRUE);
    KeepWindowOnScreen(glhMainWnd);
}

}  // namespace

void SettingsPath(char* dest, const char* name)
{
    char tail[MAX_PATH];
    std::snprintf(tail, sizeof tail, "\\個人設定\\%s", name);
    ProductPath(dest, tail);
}

void WaveFormatFill()
{
    glWaveFormat = {};
    glWaveFormat.wFormatTag = WAVE_FORMAT_PCM;
    glWaveFormat.nChannels = static_cast<WORD>(glChannels.load());
    glWaveFormat.nSamplesPerSec = 44100;
    glWaveFormat.nBlockAlign = static_cast<WORD>(glWaveFormat.nChannels * 16 / 8);
    glWaveFormat.nAvgBytesPerSec = 44100 * glWaveFormat.nBlockAlign;
    glWaveFormat.wBitsPerSample = 16;
    glWaveFormat.cbSize = 0;
}

void CompDataLoadAndShow()
{
    char path[MAX_PATH];
    SettingsPath(path, "CompData.txt");
    if (CompDataLoad(path)) {
        SetWindowTextA(MainItem(kIdCodecCode), CompDataCodeText(glCompVars).c_str());
    }
}

void SettingsLoad()
{
    MainWndRectLoad();

    glSmoothingFlag = SmoothingFromText(SettingLine("Smoothing.txt", 0).c_str());

    glSaizenmenFlag = FlagOrZero(SettingNum("Saizenmen.txt", 0));
    CheckSet(kIdSaizenmen, glSaizenmenFlag);
    if (glSaizenmenFlag == 1) {
        SetWindowPos(glhMainWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }

    glFrameMs = FrameMsFromFps(SettingExists("fps.txt"), SettingNum("fps.txt", 0));

    glRecTimerSec = RecTimerFromValue(SettingNum("ＲＥＣタイマー.txt", 1));

    char saveFolderPath[MAX_PATH];
    SettingsPath(saveFolderPath, "保存先指定.txt");
    SaveFolderLoad(saveFolderPath);

    glOnseiFileIranaiFlag = FlagOrZero(SettingNum("音声ファイルいらない.txt", 0));

    glSSByou = SSByouFromValue(SettingNum("ＳＳ秒数.txt", 0));
    SendMessageA(MainItem(kIdSSUpDown), UDM_SETPOS32, 0, glSSByou);

    glYokogireBoushiFlag = FlagOrZero(SettingNum("横切れ防止.txt", 0));

    glChannels = ChannelsFromValue(SettingNum("MonoStereo.txt", 0));

    glKantanSousaMode = KantanSousaModeFromText(SettingLine("簡単操作モード.txt", 0).c_str());
    CheckSet(kIdKantan, glKantanSousaMode);
    KantanWidthApply();

    glRecDoujiDougaClickFlag = RecDoujiClickFromText(SettingLine("glRecDoujiDougaClickFlag.txt", 0).c_str());

    // Controls and menu items follow the values.
    MenuToggleShow(kMenuSmoothing, glSmoothingFlag);
    MenuToggleShow(kMenuOtozureSmooth, glOtozureSmoothFlag);
    MenuToggleShow(kMenuYokogire, glYokogireBoushiFlag);
    MenuToggleShow(kMenuDougaTeishiStop, glDougaTeishiStopFlag);
    MenuToggleShow(kMenuOtoNashi, glOtoNashiFlag);
    MenuToggleShow(kMenuOnseiIranai, glOnseiFileIranaiFlag);
    MenuToggleShow(kMenuRecDoujiClick, glRecDoujiDougaClickFlag);
    MenuToggleShow(kMenuMono, glChannels == 1);
    MenuToggleShow(kMenuStereo, glChannels == 2);
    MenuStateSet("", glhMainMenu, kMenuSplit, 0);
    EnableWindow(MainItem(kIdHanniShitei), FALSE);
    EnableWindow(MainItem(kIdPause), FALSE);
    EnableWindow(MainItem(kIdStop), FALSE);
    EnableWindow(MainItem(kIdSceneStill), FALSE);
    ShowWindow(MainItem(kIdPause), SW_HIDE);
    ShowWindow(MainItem(kIdStop), SW_HIDE);
    EnableWindow(MainItem(kIdHanniShitei), TRUE);
    ShowWindow(MainItem(kIdRecTimerSec), SW_HIDE);
    ShowWindow(MainItem(kIdRecTimerLabel), SW_HIDE);
    ShowWindow(MainItem(kIdRecTimerSecLabel), SW_HIDE);
    SetWindowTextA(glhRecTimeEdit, TimeText(0).c_str());
}

void SettingsSave()
{
    RECT wr;
    GetWindowRect(glhMainWnd, &wr);
    SettingWrite("MainWnd.txt", RectFileText(WndRect{wr.left, wr.top, wr.right, wr.bottom}));
    SettingWrite("Smoothing.txt", SettingValueText(glSmoothingFlag, false));
    SettingWrite("fps.txt", SettingValueText(FpsFromFrameMs(glFrameMs), true));
    SettingWrite("ＲＥＣタイマー.txt", SettingValueText(glRecTimerSec, true));
    SettingWrite("保存先指定.txt", SaveFolderFileTextNow());
    SettingWrite("音声ファイルいらない.txt", SettingValueText(glOnseiFileIranaiFlag, false));
    SettingWrite("ＳＳ秒数.txt", SettingValueText(glSSByou, false));
    SettingWrite("横切れ防止.txt", SettingValueText(glYokogireBoushiFlag, false));
    SettingWrite("MonoStereo.txt", SettingValueText(glChannels, false));
    SettingWrite("簡単操作モード.txt", SettingValueText(glKantanSousaMode, false));
    SettingWrite("Saizenmen.txt", SettingValueText(glSaizenmenFlag, false));
    SettingWrite("glRecDoujiDougaClickFlag.txt", SettingValueText(glRecDoujiDougaClickFlag, false));
}
