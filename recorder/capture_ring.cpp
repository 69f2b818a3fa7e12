#include "recorder/capture_ring.h"

#include <mmsystem.h>
#include <vfw.h>

#include <cstdio>

#include "common/win/comp_data.h"
#include "common/win/compressed_stream_create.h"
#include "common/win/product_folder.h"
#include "common/win/program.h"
#include "common/win/trace.h"
#include "recorder/capture_state.h"
#include "recorder/capture_tick.h"
#include "recorder/recorder_globals.h"

namespace {

const char kCompDataPath[] = "個人設定\\CompData.txt";

// Puts the capture surface's own bitmap back so that no ring slot stays
// selected while the ring is rebuilt.
void CapSurfaceOwnSelect(DWORD retryMs)
{
    FSFMBitmapDC& surface = glGamenSUglBufDC[1];
    if (surface.memDC == nullptr || glCapSurfaceOwnBitmap == nullptr) {
        return;
    }
    for (int tries = 0; tries < 50; ++tries) {
        if (SelectObject(surface.memDC, glCapSurfaceOwnBitmap) != nullptr) {
            return;
        }
        Sleep(retryMs);
    }
}

bool CapturePicturesCreate()
{
    for (int i = 0; i < 2; ++i) {
        FSFMBitmapDC& p = glGamenSUglBufDC[i];
        if (p.memDC != nullptr && (p.width != glWriteWidth || p.height != glWriteHeight)) {
            if (i == 1) {
                CapSurfaceOwnSelect(200);
            }
            while (!BmpDCDeleteByFSFM(&p)) {
                Sleep(200);
            }
        }
        if (p.memDC == nullptr) {
            if (!BmpDCCreateByFSFM(&p, "GamenSUglBufDC", i, glWriteWidth, glWriteHeight, 32) || p.memDC == nullptr) {
                return false;
            }
            SetStretchBltMode(p.memDC, COLORONCOLOR);
        }
    }
    glCapSurfaceOwnBitmap = glGamenSUglBufDC[1].hBmp;
    return true;
}

void MemShortShow()
{
    MessageBoxA(glhMainWnd, glMemShortText, "<(_ _)>", 0);
}

// Builds slots 0 ... want - 1 of the frame size. When one cannot be made,
// the 50 slots made last are given back so that the disk keeps room for the
// rest of the program, and the ring goes on with what is left. Returns the
// ring size, 0 when no slot remains.
int RingBuild(int want)
{
    int made = 0;
    for (int i = 0; i < want; ++i) {
        FSFMBitmap& s = glBufBMP[i];
        if (s.hBmp != nullptr && (s.width != glWriteWidth || s.height != glWriteHeight)) {
            BmpDeleteByFSFM(&s);
        }
        if (s.hBmp == nullptr && !BmpCreateByFSFM(&s, "Vemtra_glBufBMP", i, glWriteWidth, glWriteHeight, 32)) {
            DebugTrace("●　メモリ不足 III", i);
            int keep = i - 50;
            if (keep < 0) {
                keep = 0;
            }
            for (int k = keep; k < i; ++k) {
                BmpDeleteByFSFM(&glBufBMP[k]);
            }
            glMemShortReturnSuu = i - keep;
            made = keep;
            break;
        }
        made = i + 1;
    }
    // Slots beyond the ring are not needed any more.
    for (int i = made; i < kRingSlotMax; ++i) {
        if (glBufBMP[i].hBmp != nullptr) {
            BmpDeleteByFSFM(&glBufBMP[i]);
        }
    }
    return made;
}

void RingSet(int n)
{
    glBMPSuu = n;
    glBufBMPSuuMinus1 = n - 1;
    DebugTrace("glBMPSuu,glBufBMPSuuMinus1 ", n, n - 1);
    if (n > 0 && glGamenSUglBufDC[1].memDC != nullptr) {
        SelectObject(glGamenSUglBufDC[1].memDC, glBufBMP[0].hBmp);
    }
}

void StreamFormatFill()
{
    glCompFrameWidth = glWriteWidth;
    glCompFrameHeight = glWriteHeight;
    CompInputFormatSet(glWriteWidth, glWriteHeight);
}

void PreviewSizeFit()
{
    const float h = static_cast<float>(glScaledHeight > 0 ? glScaledHeight : 1);
    const float w = static_cast<float>(glScaledWidth > 0 ? glScaledWidth : 1);
    float f = 70.0f / h;
    if (100.0f / w < f) {
        f = 100.0f / w;
    }
    glPreviewWidth = static_cast<int32_t>(w * f);
    glPreviewHeight = static_cast<int32_t>(h * f);
}

// Builds the ring (as many of `want` slots as memory allows) and makes it
// the capture's; false, with the shortage shown, when not even one slot
// could be made. The preparation is over either way.
bool RingReady(int want)
{
    const int n = RingBuild(want);
    if (n == 0) {
        MemShortShow();
        glJunbiChuuFlag = 0;
        return false;
    }
    RingSet(n);
    glJunbiChuuFlag = 0;
    return true;
}

}  // namespace

void VideoPath(char* dest, int n)
{
    char tail[32];
    std::snprintf(tail, sizeof tail, "\\Video%d.avi", n);
    ProductPath(dest, tail);
}

void AudioPath(char* dest, int n)
{
    char tail[32];
    std::snprintf(tail, sizeof tail, "\\Audio%d.wav", n);
    ProductPath(dest, tail);
}

uint8_t* SlotPixels(int slot)
{
    if (slot < 0 || slot >= glBMPSuu) {
        return nullptr;
    }
    return glBufBMP[slot].pixels;
}

void FrameGeometryApply()
{
    HanniGeometryFix(0);
    glFrameLayout = FrameLayoutMake(glWriteWidth, glWriteHeight, glScaledWidth, glScaledHeight, glOffsetX, glOffsetY);
    glImageBytes = glFrameLayout.imageBytes;
}

int CapturePrepare()
{
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
    glJunbiChuuFlag = 1;
    FrameGeometryApply();
    FrameWindowsShow();

    if (!CompDataLoad(kCompDataPath)) {
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
        MessageBoxA(glhMainWnd,
                    "「圧縮設定」をしてください。わからないときはメニューの「説明」にある「圧縮設定の説明」を見てください。",
                    "", MB_TOPMOST);
        glJunbiChuuFlag = 0;
        return 0;
    }
    CapSurfaceOwnSelect(200);
    if (!CapturePicturesCreate()) {
        MemShortShow();
        glJunbiChuuFlag = 0;
        return 0;
    }
    const int want = BmpSuuCal(glWriteWidth, glWriteHeight);
    DebugTrace(kBmpSuuCalTrace, glWriteWidth * glWriteHeight);
    if (!RingReady(want)) {
        return 0;
    }

    for (auto& b : glFileWaveBytes) {
        b = 0;
    }
    StreamFormatFill();
    // The device is tried now, so that a missing one is known before the
    // standby capture.
    WaveRec(0, glWaveBuf[0].view, glWaveBufBytes);
    PreviewSizeFit();
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    return 1;
}

int StandbyPrepare()
{
    FrameGeometryApply();
    SetWindowPos(glhMainWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (glhHanniWnd != nullptr) {
        SetWindowPos(glhHanniWnd, glhMainWnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    glJunbiChuuFlag = 1;
    CapSurfaceOwnSelect(10);
    if (!CapturePicturesCreate()) {
        MemShortShow();
        glJunbiChuuFlag = 0;
        return 0;
    }
    for (auto& b : glFileWaveBytes) {
        b = 0;
    }
    if (!RingReady(glBMPSuu > 0 ? glBMPSuu.load() : BmpSuuCal(glWriteWidth, glWriteHeight))) {
        return 0;
    }

    // The stills of a recording start anew with the file 0 of its standby.
    SetWindowTextA(GetDlgItem(glhMainWnd, kIdSceneStill), "静止画(残り10枚)");
    EnableWindow(GetDlgItem(glhMainWnd, kIdSceneStill), TRUE);

    StreamFormatFill();
    if (!CompDataLoad(kCompDataPath)) {
        MessageBoxA(glhMainWnd, "圧縮方式を選択してください。", "", 0);
        CompDataChoose(kCompDataPath);
    }
    if (glCompVars.fccHandler == vemtra::avi::kHandlerUncompressed) {
        MessageBoxA(glhMainWnd, "すみません。無圧縮はできません。", "<(;_ _)>", MB_TOPMOST);
    }
    HIC hic = ICOpen(ICTYPE_VIDEO, glCompVars.fccHandler, ICMODE_QUERY);
    if (hic != nullptr) {
        ICClose(hic);
    } else {
        MessageBoxA(glhMainWnd, "圧縮方式を選択しなおしてください。", "<(;_ _)>", MB_TOPMOST);
        return 0;
    }

    glFileStream[0].reset();
    glFileAvi[0].reset();
    char path[MAX_PATH];
    AudioPath(path, 0);
    DeleteFileA(path);
    VideoPath(path, 0);
    DeleteFileA(path);
    glKeyCount = 0;
    if (!CreateCompressedStream(path, glTiming.framesPerSec > 0 ? glTiming.framesPerSec : 30.0, &glFileAvi[0],
                                &glFileStream[0])) {
        glFileStream[0].reset();
        glFileAvi[0].reset();
        DeleteFileA(path);
        if (glhHanniWnd != nullptr) {
            RECT r;
            GetWindowRect(glhHanniWnd, &r);
            SetWindowPos(glhHanniWnd, nullptr, 0, 0, r.right - r.left + 2, r.bottom - r.top + 2,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
        }
        return 0;
    }
    SetWindowTextA(glhRecTimeEdit, "00:00:00");
    return 1;
}
