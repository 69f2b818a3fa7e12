#include "recorder/main_controls.h"

#include <commctrl.h>

#include "recorder/recorder_globals.h"

namespace {

struct ControlDef {
    int id;
    const char* className;
    const char* text;
    int x, y, w, h;
    DWORD style; // besides WS_CHILD
};

constexpr DWORD kShown = WS_VISIBLE;

// In creation order.
const ControlDef kControls[] = {
    {kIdStopMin, "EDIT", "", 418, 16, 27, 16, kShown | ES_RIGHT},
    {kIdStopMinLabel, "STATIC", "分", 445, 18, 12, 14, kShown},
    {kIdStopTimerCheck, "BUTTON", "停止タイマーOFF状態", 369, 33, 133, 17, kShown | BS_AUTOCHECKBOX},
    {kIdStopHour, "EDIT", "", 370, 16, 20, 16, kShown | ES_RIGHT},
    {kIdStopHourLabel, "STATIC", "時間", 390, 18, 24, 14, kShown},
    {kIdStopSec, "EDIT", "", 461, 16, 27, 16, kShown | ES_RIGHT},
    {kIdStopSecLabel, "STATIC", "秒", 488, 18, 13, 14, kShown},
    {kIdPause, "BUTTON", "一時停止 ||　(pauseキー(キーボード右上))", 197, 5, 85, 45, BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_MULTILINE},
    {kIdStop, "BUTTON", "停止■　（escキー(キーボード左上)）", 283, 5, 85, 45, BS_PUSHBUTTON | BS_MULTILINE},
    {kIdRecTimeLabel, "STATIC", "録画時間", 100, 2, 48, 12, 0},
    {kIdRecTime, "EDIT", "", 149, 0, 46, 17, ES_CENTER | ES_READONLY},
    {kIdCodecCode, "EDIT", "", 215, 1, 37, 15, kShown | ES_CENTER | ES_READONLY},
    {kIdStopTimerLabel, "STATIC", "―― 停止タイマー　――", 370, 1, 129, 15, kShown},
    {kIdFileName, "EDIT", "", 59, 37, 141, 16, ES_AUTOHSCROLL},
    {kIdFileNameLabel, "STATIC", "ファイル名", 3, 39, 54, 12, kShown},
    {kIdSSAuto, "BUTTON", "スライドショー自動", 764, 42, 119, 13, BS_AUTOCHECKBOX},
    {kIdSSByouLabel, "STATIC", "秒", 917, 46, 12, 11, 0},
    {kIdSSByou, "EDIT", "", 886, 42, 28, 15, 0},
    {kIdSSUpDown, UPDOWN_CLASSA, "", 934, 39, 20, 17, UDS_SETBUDDYINT | UDS_AUTOBUDDY},
    {kIdHanniShitei, "BUTTON", "範囲指定", 203, 22, 64, 28, kShown | BS_PUSHBUTTON},
    {kIdRokuga, "BUTTON", "録画！", 273, 21, 90, 29, BS_PUSHBUTTON},
    {kIdSameHanni, "BUTTON", "同じ範囲を録画", 270, 24, 87, 22, BS_PUSHBUTTON},
    {kIdKantan, "BUTTON", "簡単操作モード", 256, 4, 100, 13, kShown | BS_AUTOCHECKBOX},
    {kIdSSAttach, "BUTTON", "スライドショーを付ける", 773, 22, 121, 18, BS_PUSHBUTTON},
    {kIdRecTimerSec, "EDIT", "", 80, 21, 38, 15, kShown},
    {kIdRecTimerLabel, "STATIC", "録画タイマー", 12, 24, 67, 11, kShown},
    {kIdRecTimerSecLabel, "STATIC", "秒", 118, 24, 14, 13, kShown},
    {kIdSceneStill, "BUTTON", "静止画(残り?枚)", 959, 24, 107, 30, BS_PUSHBUTTON},
    {kIdNewest, "BUTTON", "最新版?", 10, 2, 52, 18, kShown | BS_PUSHBUTTON},
    {kIdSaizenmen, "BUTTON", "常に手前に表示", 992, 2, 103, 16, kShown | BS_AUTOCHECKBOX},
    {kIdSaveFolder, "COMBOBOX", "", 546, 0, 372, 65, kShown | CBS_DROPDOWN | WS_VSCROLL},
    {kIdPushHere, "STATIC", "←ここを押す", 918, 2, 67, 13, kShown},
    {kIdSaveFolderLabel, "STATIC", "保存先", 510, 2, 36, 12, kShown},
    {kIdCodecChoose, "BUTTON", "圧縮設定", 156, 0, 58, 18, kShown | BS_PUSHBUTTON},
    {kIdPetitRewind, "BUTTON", "プチ巻き戻し <<", 77, 32, 120, 25, BS_PUSHBUTTON},
    {kIdFileNameDecide, "BUTTON", "ファイル名決定", 205, 39, 84, 18, BS_PUSHBUTTON},
    {kIdFileNum, "STATIC", "ファイル番号", 103, 19, 86, 13, 0},
};

HWND glhMainParent;

}  // namespace

void MainControlsCreate(HWND hwnd)
{
    glhMainParent = hwnd;
    for (const ControlDef& c : kControls) {
        const bool isEdit = lstrcmpA(c.className, "EDIT") == 0;
        HWND item = CreateWindowExA(isEdit ? WS_EX_CLIENTEDGE : 0, c.className, c.text, WS_CHILD | c.style, c.x, c.y, c.w,
                                    c.h, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), glhInst, nullptr);
        SendMessageA(item, WM_SETFONT, reinterpret_cast<WPARAM>(glhFont[kFontMain]), TRUE);
        if (c.id == kIdSSUpDown) {
            SendMessageA(item, UDM_SETRANGE32, 0, 100);
            SendMessageA(item, UDM_SETPOS32, 0, 0);
        }
    }
}

HWND MainItem(int id)
{
    return GetDlgItem(glhMainParent, id);
}
