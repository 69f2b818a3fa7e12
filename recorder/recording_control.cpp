// Control of a recording: the standby restart after a range selection,
// "録画！", pause and resume, split, stop and cancel, the click into the
// range, the file name typed during the finalisation, and the release of
// the capture at exit.
#include "recorder/recording_control.h"

#include <mmsystem.h>

#include <cstdio>

#include "common/win/compressed_stream_create.h"
#include "common/win/product_folder.h"
#include "common/win/program.h"
#include "recorder/capture_ring.h"
#include "recorder/capture_state.h"
#include "recorder/capture_tick.h"
#include "recorder/core/sound_clock.h"
#include "recorder/disk_reserve.h"
#include "recorder/main_controls.h"
#include "recorder/main_menu.h"
#include "recorder/main_window.h"
#include "recorder/recorder_globals.h"

DWORD WINAPI FinaliseThread(LPVOID);
DWORD WINAPI WaitAnimationThread(LPVOID);

namespace {

void Show(int id, bool show)
{
    ShowWindow(MainItem(id), show ? SW_SHOW : SW_HIDE);
}

void Enable(int id, bool enable)
{
    EnableWindow(MainItem(id), enable ? TRUE : FALSE);
}

// Moves the cursor with absolute coordinates of the virtual screen.
void MouseAbsolute(int x, int y)
{
    const int w = glVirtualWidth > 0 ? glVirtualWidth : 1;
    const int h = glVirtualHeight > 0 ? glVirtualHeight : 1;
    mouse_event(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, static_cast<DWORD>(x * 65535 / w),
                static_cast<DWORD>(y * 65535 / h), 0, 0);
}

// Closes file n and continues in file n + 1 (or finalises at the last).
void SplitDo()
{
    const int n = glFileNum;
    // A standby whose scratch file filled the volume is no write error of
    // the recording: that file goes before the recording starts.
    const bool writeError = n > 0 && glSplitRequest != 0 && glFileBytes < kSplitFileBytes;
    glRokuonChuuFlag = 0;
    WaveStop();
    WaveBufUnmap(n);
    CaptureTickKill();
    WaveRunBytesTake(n);
    // The pictures still waiting for the writer belong to the file's sound:
    // they are written before the file closes, or its end would be lost.
    if (glWriterThread.load() != nullptr && n >= 1) {
        glFlushState = 1;
        while (glFlushState != 2 && glWriterThread.load() != nullptr) {
            Sleep(30);
        }
    }
    glFileClosed[n] = 1;
    while (glWriterThread.load() != nullptr) {
        Sleep(100);
    }
    glFlushState = 0;
    if (n >= kFileSuu - 1) {
        glRokuonChuuFlag = 1;
        glTeishiFlag = 1;
        FinaliseStart();
        return;
    }
    glFileStream[n].reset();
    if (glFileAvi[n]) {
        glFileAvi[n]->Close();
        glFileAvi[n].reset();
    }
    if (n == 0) {
        // The standby's scratch file is never delivered; its room is the
        // recording's (a standby left running may have filled the volume).
        char scratch[MAX_PATH];
        VideoPath(scratch, 0);
        DeleteFileA(scratch);
    }
    // After a write error the volume must still hold the reserve, or the
    // next file could not be completed either: the recording ends here.
    if (writeError && !DiskReserveMake()) {
        glRokuonChuuFlag = 1;
        glTeishiFlag = 1;
        FinaliseStart();
        MessageBoxA(glhMainWnd,
                    "保存先のディスクがいっぱいになったので録画を停止しました。\r\nそれまでに録画した分は保存します。",
                    "<(;_ _)>", MB_TOPMOST);
        return;
    }
    const int next = n + 1;
    glFileNum = next;
    char text[64];
    std::snprintf(text, sizeof text, "ファイル番号 %d", next);
    SetWindowTextA(MainItem(kIdFileNum), text);
    InvalidateRect(glhMainWnd, nullptr, FALSE);

    WaveBufMap(next);
    glKeyCount = 0;
    char path[MAX_PATH];
    VideoPath(path, next);
    if (!CreateCompressedStream(path, static_cast<int>(glTiming.framesPerSec), &glFileAvi[next], &glFileStream[next])) {
        // Nothing more can be recorded: what was recorded so far is finalised.
        glFileStream[next].reset();
        glFileAvi[next].reset();
        glRokuonChuuFlag = 1;
        glTeishiFlag = 1;
        FinaliseStart();
        return;
    }
    if (!writeError) {
        DiskReserveMake();
    }
    WaveRec(next, glWaveBuf[next].view, glWaveBufBytes);

    glCapSlot = 0;
    glPrevSlot = glBufBMPSuuMinus1.load();
    glWriteSlot = 0;
    for (int s = 0; s < kRingSlotMax; ++s) {
        glSlotMs[s] = 0;
        glSlotWaveBytes[s] = 0;
        glSlotChange[s] = 0;
    }
    if (glBMPSuu > 0 && glGamenSUglBufDC[1].memDC != nullptr) {
        SelectObject(glGamenSUglBufDC[1].memDC, glCapSurfaceOwnBitmap);
        SelectObject(glGamenSUglBufDC[1].memDC, glBufBMP[0].hBmp);
    }
    glNoChangeRun = 0;
    glRetryCount = 0;
    glSplitRequest = 0;
    glFileBytes = 0;
    glSplitPosted = 0;
    FrameWriterStart();
    CaptureTickStart();
    glRokuonChuuFlag = 1;
    glIchijiTeishiFlag = 0;
    glTeishiFlag = 0;
    InvalidateRect(glhMainWnd, nullptr, FALSE);
}

}  // namespace

void RangeClick()
{
    if (glRecDoujiDougaClickFlag != 1) {
        return;
    }
    POINT old;
    GetCursorPos(&old);
    MouseAbsolute((glHanniLeft + glHanniRight) / 2, (glHanniTop + glHanniBottom) / 2);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    MouseAbsolute(old.x, old.y);
}

int RecPrepare()
{
    if (!CapturePrepare()) {
        return 0;
    }
    if (glhHanniWnd != nullptr) {
        ShowWindow(glhHanniWnd, SW_HIDE);
    }
    char sound[MAX_PATH];
    std::snprintf(sound, sizeof sound, "%s\\ずも～ん　多重エコー小.wav", glBuhinFolder);
    PlaySoundA(sound, nullptr, SND_FILENAME | SND_ASYNC);
    ShowWindow(glhMainWnd, SW_SHOW);
    SaizenmenApply();
    RecStandbyRestart();
    return 1;
}

void RecTimerSecond()
{
    if (glRecTimerSec == 0 && glRecState == 0 && !glKetsugouChuuFlag && glBMPSuu > 0 && glFileStream[0]) {
        glRecState = 2;
        CaptureStart();
    }
}

void RecStandbyRestart()
{
    glBusyLevel = 0;
    glBusyFace = 0;
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
    WaveStandbyRestart();
    const int ok = StandbyPrepare();
    if (!glKantanSousaMode) {
        Show(kIdRecTimerSec, true);
    }
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    if (!ok) {
        MessageBoxA(glhMainWnd, "すみません。エラーが発生しました。もう一度はじめからやり直してください。", "<(;_ _)>",
                    MB_TOPMOST);
        return;
    }
    glFrameCount = 0;
    glRecMs = 0;
    // The record timer delays the standby capture by its seconds, which the
    // range window counts down (RecTimerSecond).
    if (glRecState == 0 && glRecTimerSec == 0) {
        glRecState = 2;
        CaptureStart();
    }
}

void RokugaStart()
{
    if (glRecState != 2 || glFileNum != 0 || glKetsugouChuuFlag || glRokuonChuuFlag != 1) {
        return;
    }
    static HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    glOldBgBrush = reinterpret_cast<HBRUSH>(SetClassLongPtrA(glhMainWnd, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(red)));
    InvalidateRect(glhMainWnd, nullptr, TRUE);
    if (!glKantanSousaMode) {
        char text[32] = {};
        GetWindowTextA(MainItem(kIdRecTimerSec), text, sizeof text);
        glRecTimerSec = std::atoi(text);
    }

    Enable(kIdPause, true);
    Enable(kIdStop, true);
    Enable(kIdSSAttach, false);
    for (int id : {kIdFileName, kIdFileNameLabel, kIdHanniShitei, kIdRokuga, kIdKantan, kIdRecTimerSec, kIdRecTimerLabel,
                   kIdRecTimerSecLabel, kIdNewest, kIdCodecChoose, kIdCodecCode}) {
        Show(id, false);
    }
    for (int id : {kIdPause, kIdStop, kIdRecTimeLabel, kIdRecTime, kIdSceneStill, kIdFileNum}) {
        Show(id, true);
    }
    InvalidateRect(glhMainWnd, nullptr, FALSE);
    MenuStatesForRecording(1);

    glOverflowStop = 0;
    SplitDo();

    glFrameCount = 0;
    glRecMs = 0;
    glFlushState = 0;
    glElapsedBaseBytes = 0;
    RangeClick();
    glRokuonChuuFlag = 1;
}

void IchijiTeishiToggle()
{
    if (glFileNum < 1 || glRecState != 2 || glKetsugouChuuFlag || glTeishiFlag) {
        return;
    }
    RangeClick();
    const int n = glFileNum;
    if (glIchijiTeishiFlag) {
        if (glhHanniWnd != nullptr) {
            ShowWindow(glhHanniWnd, SW_HIDE);
        }
        Show(kIdPetitRewind, false);
        SendMessageA(MainItem(kIdPause), BM_SETCHECK, BST_UNCHECKED, 0);
        glIchijiTeishiFlag = 0;
        InvalidateRect(glhMainWnd, nullptr, FALSE);
        WaveSaikai(n);
    } else {
        glIchijiTeishiFlag = 1;
        InvalidateRect(glhMainWnd, nullptr, FALSE);
        Show(kIdPetitRewind, true);
        SendMessageA(MainItem(kIdPause), BM_SETCHECK, BST_CHECKED, 0);
        WaveTeishi(n);
    }
}

void RecSplit()
{
    if (glRecState != 2 || glFileNum < 1 || glKetsugouChuuFlag || glTeishiFlag || glRokuonChuuFlag != 1) {
        glSplitPosted = 0;
        return;
    }
    SplitDo();
}

void RecStop()
{
    // A stop asked for while the finalisation runs has nothing left to stop.
    if (glKetsugouChuuFlag) {
        return;
    }
    glTeishiFlag = 1;
    if (glRecState != 0 && glRokuonChuuFlag == 1) {
        if (!glShuuryouFlag) {
            RangeClick();
        }
        FinaliseStart();
    } else {
        glTeishiFlag = 0;
        glStopPosted = 0;
    }
}

void RecCancel()
{
    if (glRecState == 0 || glKetsugouChuuFlag) {
        return;
    }
    glCancelFlag = 1;
    RecStop();
}

void FinaliseStart()
{
    if (glRokuonChuuFlag != 1 || glKetsugouChuuFlag) {
        return;
    }
    glKetsugouChuuFlag = 1;
    GetWindowTextA(MainItem(kIdSaveFolder), glFinaliseFolder, sizeof glFinaliseFolder);
    GetWindowTextA(MainItem(kIdFileName), glFinaliseTyped, sizeof glFinaliseTyped);
    if (!glShuuryouFlag) {
        glWaitAnimState = 0;
        glAnimThread = CreateThread(nullptr, 0, WaitAnimationThread, nullptr, 0, nullptr);
    }
    glFinaliseThread = CreateThread(nullptr, 0, FinaliseThread, nullptr, 0, nullptr);
    if (glShuuryouFlag) {
        return;
    }
    SendMessageA(MainItem(kIdPause), BM_SETCHECK, BST_UNCHECKED, 0);
    for (int id : {kIdSceneStill, kIdStop, kIdPause}) {
        Enable(id, false);
    }
    Show(kIdNewest, true);
    for (int id : {kIdPause, kIdStop, kIdPetitRewind, kIdRecTime, kIdRecTimeLabel, kIdFileNum}) {
        Show(id, false);
    }
}

void FileNameEditUpdate()
{
    if (glKetsugouChuuFlag) {
        glFileNameHenkouFlag = 1;
        Show(kIdFileNameDecide, true);
    }
}

void FileNameDecide()
{
    GetWindowTextA(MainItem(kIdFileName), glFinaliseTyped, sizeof glFinaliseTyped);
    Show(kIdFileNameDecide, false);
    glFileNameHenkouFlag = 0;
}

void RecFileRelease(int n)
{
    if (n < 0 || n >= kFileSuu) {
        return;
    }
    glFileStream[n].reset();
    glFileAvi[n].reset();
}

void CaptureRelease()
{
    if (glGamenSUglBufDC[1].memDC != nullptr && glCapSurfaceOwnBitmap != nullptr) {
        SelectObject(glGamenSUglBufDC[1].memDC, glCapSurfaceOwnBitmap);
    }
    for (FSFMBitmap& slot : glBufBMP) {
        if (slot.hBmp != nullptr) {
            BmpDeleteByFSFM(&slot);
        }
    }
    glBMPSuu = 0;
    glBufBMPSuuMinus1 = -1;
    for (FSFMBitmapDC& p : glGamenSUglBufDC) {
        if (p.memDC != nullptr) {
            BmpDCDeleteByFSFM(&p);
        }
    }
    glCapSurfaceOwnBitmap = nullptr;
}

void CapturePreviewDraw(HDC dc, const RECT& preview)
{
    const FSFMBitmapDC& p = glGamenSUglBufDC[0];
    if (p.memDC == nullptr || glRecState == 0 || glScaledWidth <= 0 || glScaledHeight <= 0) {
        return;
    }
    StretchBlt(dc, preview.left, preview.top, glPreviewWidth, glPreviewHeight, p.memDC, 0, 0, glScaledWidth,
               glScaledHeight, SRCCOPY);
}
