#include "recorder/capture_tick.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstdio>

#include "common/win/program.h"
#include "recorder/capture_ring.h"
#include "recorder/capture_state.h"
#include "recorder/core/capture_rules.h"
#include "recorder/core/change_measure.h"
#include "recorder/core/sound_clock.h"
#include "recorder/recorder_globals.h"

namespace {

HDC glhTickDisplayDC;
constexpr int kTickKillWaitMs = 5000;

// The tick hands everything that changes windows or the device to the main
// thread, which owns them; it never waits for the main thread.
void PostButton(int id)
{
    PostMessageA(glhMainWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(glhMainWnd, id)));
}

void StopPost()
{
    if (!glStopPosted.exchange(1)) {
        PostButton(kIdStop);
    }
}

void SplitPost()
{
    if (!glSplitPosted.exchange(1)) {
        PostMessageA(glhMainWnd, WM_COMMAND, MAKEWPARAM(kMenuSplit, 0), 0);
    }
}

// One press of the Pause key toggles once: a press is the key going down.
void PauseKeyPoll()
{
    // Bit 0 catches a press shorter than the tick period.
    const bool down = (GetAsyncKeyState(VK_PAUSE) & 0x8001) != 0;
    const bool was = glPauseKeyDown.exchange(down ? 1 : 0) != 0;
    if (down && !was) {
        PostButton(kIdPause);
    }
}

// A held Esc stops once; it must be released before it stops again.
void EscKeyPoll()
{
    const bool down = (GetAsyncKeyState(VK_ESCAPE) & 0x8001) != 0;
    if (glEscState == 27) {
        if (!down) {
            glEscState = 0;
        }
        return;
    }
    if (down) {
        glEscState = 27;
        StopPost();
    }
}

bool Idle()
{
    return glRokuonChuuFlag != 1 || glIchijiTeishiFlag != 0 || glTeishiFlag != 0;
}

void ElapsedUpdate(int file)
{
    if (glTeishiFlag || file == 0) {
        return;
    }
    uint64_t sum = WaveRunBytes(timeGetTime());
    for (int i = 1; i <= file && i < kFileSuu; ++i) {
        sum += glFileWaveBytes[i];
    }
    const int32_t ms = static_cast<int32_t>(static_cast<double>(sum) / glTiming.bytesPerMs);
    glRecMs = ms;
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(glhRecTimeEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 200,
                        &result);
}

void Grab(HDC surface)
{
    const int left = glHanniLeft, top = glHanniTop;
    if (glRecBaiX == 1.0f && glRecBaiY == 1.0f) {
        BitBlt(surface, glOffsetX, glOffsetY, glScaledWidth, glScaledHeight, glhTickDisplayDC, left, top, SRCCOPY);
    } else {
        StretchBlt(surface, glOffsetX, glOffsetY, glScaledWidth, glScaledHeight, glhTickDisplayDC, left, top,
                   glRecWidth, glRecHeight, SRCCOPY);
    }
    GdiFlush();
}

// Takes the grabbed picture of the current slot into the ring.
void Accept(int file, uint32_t tickTime)
{
    const int cap = glCapSlot, prev = glPrevSlot;
    glSlotWaveBytes[cap] = glFileWaveBytes[file] + WaveRunBytes(timeGetTime());
    glSlotMs[prev] = SlotMsCal(glSlotWaveBytes[cap], glSlotWaveBytes[prev], glTiming.bytesPerMs);

    FSFMBitmapDC& surface = glGamenSUglBufDC[1];
    FSFMBitmapDC& preview = glGamenSUglBufDC[0];
    InvalidateRect(glhMainWnd, &glPreviewRect, FALSE);
    GdiFlush();
    BitBlt(preview.memDC, 0, 0, glScaledWidth, glScaledHeight, surface.memDC, glOffsetX, glOffsetY, SRCCOPY);
    GdiFlush();

    SelectObject(surface.memDC, glCapSurfaceOwnBitmap);
    int next = cap + 1;
    if (next >= glBMPSuu) {
        next = 0;
    }
    glCapSlot = next;
    if (glBufBMP[next].hBmp == nullptr) {
        return;
    }
    SelectObject(surface.memDC, glBufBMP[next].hBmp);

    glFileCapFrames[file] += 1;
    glFilePending[file] += 1;
    glFrameCount += 1;

    if (glSplitRequest != 0) {
        // A file that could not take even its first frame (a full disk)
        // would only be followed by more such files: the recording stops.
        if (glFileWritten[file] == 0 && file > 0) {
            StopPost();
        } else {
            SplitPost();
        }
    }
    const int32_t t = SoundMsCal(glFileWaveBytes[file] + WaveRunBytes(timeGetTime()), glTiming.bytesPerMs);
    if (file > 0 && SoundSplitDue(t)) {
        SplitPost();
    }
    glLastFrameTime = tickTime;
}

void GrabLoop(int file, uint32_t tickTime)
{
    FSFMBitmapDC& surface = glGamenSUglBufDC[1];
    for (;;) {
        if (glTimeDivider == 0) {
            ElapsedUpdate(file);
        }
        glTimeDivider = glTimeDivider >= 10 ? 0 : glTimeDivider + 1;
        // While the first pictures of a file wait for a change, the keys
        // must still be able to pause or stop.
        PauseKeyPoll();
        EscKeyPoll();
        if (Idle() || glFileNum != file) {
            return;
        }
        if (surface.memDC == nullptr || glGamenSUglBufDC[0].memDC == nullptr || glJunbiChuuFlag) {
            return;
        }
        Grab(surface.memDC);
        int prev = glCapSlot - 1;
        if (prev == -1) {
            prev = glBufBMPSuuMinus1;
        }
        glPrevSlot = prev;
        const uint8_t* p = SlotPixels(prev);
        const uint8_t* c = SlotPixels(glCapSlot);
        if (p == nullptr || c == nullptr || glJunbiChuuFlag) {
            return;
        }
        const int32_t change = ChangeMeasure(p, c, glFrameLayout, glYokogireBoushiFlag != 0, &glJunbiChuuFlag);
        glSlotChange[glCapSlot] = change;
        int32_t noChangeRun = glNoChangeRun, retryCount = glRetryCount;
        const GrabVerdict v =
            GrabJudge(change, glFileCapFrames[file], glDougaTeishiStopFlag != 0, &noChangeRun, &retryCount);
        glNoChangeRun = noChangeRun;
        glRetryCount = retryCount;
        if (v == GrabVerdict::kVideoStopped) {
            StopPost();
            return;
        }
        if (v == GrabVerdict::kRetry) {
            Sleep(kRetryWaitMs);
            continue;
        }
        Accept(file, tickTime);
        return;
    }
}

void KeysAndLimits()
{
    if (Idle()) {
        return;
    }
    EscKeyPoll();
    if (glStopTimerFlag == 1 && static_cast<uint32_t>(glRecMs.load()) > static_cast<uint32_t>(glStopTimerMs.load())) {
        StopPost();
    }
    if (glRecMs > glMaxRecMs) {
        StopPost();
    }
}

void CALLBACK CaptureTick(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR)
{
    if (glRokuonChuuFlag != 1 || glTickInside.exchange(1)) {
        return;
    }
    const uint32_t tickTime = timeGetTime();
    glTickTime = tickTime;
    PauseKeyPoll();
    if (glIchijiTeishiFlag || glTeishiFlag) {
        glLastFrameTime = tickTime;
        glTickInside = 0;
        return;
    }
    const int file = glFileNum;
    const bool first = glFileCapFrames[file] == 0;
    if (glCapSleepMs > 0) {
        Sleep(glCapSleepMs);
    }
    if (FrameDue(tickTime, glLastFrameTime, first, glTiming)) {
        GrabLoop(file, tickTime);
    }
    KeysAndLimits();
    glTickInside = 0;
}

}  // namespace

void CaptureTickStart()
{
    if (glhTickDisplayDC == nullptr) {
        glhTickDisplayDC = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    }
    glCaptureTimerId = timeSetEvent(glTiming.tickMs, glTiming.tickMs, CaptureTick, 0, TIME_PERIODIC);
}

void CaptureTickKill()
{
    if (glCaptureTimerId != 0) {
        timeKillEvent(glCaptureTimerId);
        glCaptureTimerId = 0;
    }
    // A pass still running (it may be waiting for a first changed picture)
    // sees the cleared flags and ends soon.
    for (int waited = 0; glTickInside && waited < kTickKillWaitMs; waited += 5) {
        Sleep(5);
    }
}

void CaptureStart()
{
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
    InvalidateRect(glhMainWnd, nullptr, FALSE);
    glLastFrameTime = timeGetTime();

    for (int n = 0; n < kFileSuu; ++n) {
        glFileCapFrames[n] = 0;
        glFilePending[n] = 0;
        glFileWritten[n] = 0;
        glFileWaveBytes[n] = 0;
        glBatchLeft[n] = 0;
        glFileClosed[n] = 0;
    }
    glFrameCount = 0;
    glFlushState = 0;
    glFileNum = 0;
    glWriteSlot = 0;
    glCapSlot = 0;
    glPrevSlot = 0;
    glLastFrameTime = 0;
    glCancelFlag = 0;
    glSplitRequest = 0;
    glSplitPosted = 0;
    glStopPosted = 0;
    glNoChangeRun = 0;
    glRetryCount = 0;
    glCapSleepMs = 0;
    glFileBytes = 0;
    for (int s = 0; s < kRingSlotMax; ++s) {
        glSlotWaveBytes[s] = 0;
        glSlotMs[s] = 0;
        glSlotChange[s] = 0;
    }
    if (glBMPSuu > 0 && glGamenSUglBufDC[1].memDC != nullptr) {
        SelectObject(glGamenSUglBufDC[1].memDC, glBufBMP[0].hBmp);
    }

    glTiming = CaptureTimingCal(glSampleRate, glChannels);
    glFrameMs = glTiming.frameMs;
    WaveRec(0, glWaveBuf[0].view, glWaveBufBytes);
    if (glhHanniWnd != nullptr) {
        ShowWindow(glhHanniWnd, SW_HIDE);
    }
    for (int waited = 0; !glFileStream[0] && waited < 3000; waited += 30) {
        Sleep(30);
    }
    FrameWriterStart();
    CaptureTickStart();
    glRokuonChuuFlag = 1;
    SetWindowPos(glhMainWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
}
