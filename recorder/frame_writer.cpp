// The writer thread of one output file: takes the accepted pictures out of
// the ring in batches, turns each into 0, 1 or more frames so that the
// video follows the sound clock, and writes them to the file's stream.
#include <windows.h>

#include <algorithm>

#include "common/avi/avi_stream_info.h"
#include "common/win/program.h"
#include "common/win/trace.h"
#include "recorder/capture_ring.h"
#include "recorder/capture_state.h"
#include "recorder/capture_tick.h"
#include "recorder/core/batch_plan.h"
#include "recorder/core/capture_rules.h"
#include "recorder/core/smooth_blend.h"
#include "recorder/core/writer_pace.h"
#include "recorder/disk_reserve.h"
#include "recorder/recorder_globals.h"
#include "recorder/recording_control.h"

namespace {

constexpr int kBusyFaceRectH = 20;

void OverflowStop()
{
    if (glOverflowStop.exchange(1)) {
        return;
    }
    // The stop goes first so that the recording made so far is finalised
    // while the message waits for the user.
    PostMessageA(glhMainWnd, WM_COMMAND, MAKEWPARAM(kIdStop, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(glhMainWnd, kIdStop)));
    MessageBoxA(glhMainWnd,
                "撮影能力の限界に達しましたので停止しました。\r\n撮影範囲を狭くする、コマ数を減らす、圧縮設定を変える（低bpsにするなど）、なめらかモード(他の設定メニュー)を無効にするなどしてください。",
                "<(;_ _)>", MB_TOPMOST);
}

void BusyFaceInvalidate()
{
    RECT r = {glBusyFaceX, glBusyFaceY, glBusyFaceX + glBusyFaceW, glBusyFaceY + kBusyFaceRectH};
    InvalidateRect(glhMainWnd, &r, FALSE);
}

// Writes one frame; false when nothing more may be written to the file
// (a failed write asks the tick for a split; the frame is not counted).
bool FrameWrite(int file, const uint8_t* pixels, bool* splitNow)
{
    *splitNow = false;
    vemtra::codec::CompressedVideoStream* stream = glFileStream[file].get();
    if (stream == nullptr || glSplitRequest != 0) {
        return false;
    }
    int64_t bytes = 0;
    const uint32_t flags = KeyFrameDue(glKeyCount) ? vemtra::avi::kAviIfKeyFrame : 0;
    if (!stream->Write(glFileWritten[file], pixels, flags, &bytes)) {
        DebugTrace("●AVIStreamWrite 失敗", file, glFileWritten[file]);
        DiskReserveFree();
        glSplitRequest = 1;
        return false;
    }
    glKeyCount = KeyCountNext(glKeyCount);
    glFileWritten[file] += 1;
    glFileBytes += bytes;
    if (FileBytesSplitDue(glFileBytes)) {
        glSplitRequest = 1;
        *splitNow = true;
    }
    return true;
}

DWORD WINAPI FrameWriterThread(LPVOID param)
{
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
    const int file = static_cast<int>(reinterpret_cast<INT_PTR>(param));
    const int bmpSuu = glBMPSuu;
    const bool realFile = file > 0;
    int32_t threshold = TamattaJoukenCal(bmpSuu, glTiming, !realFile);
    DebugTrace(kTamattaJoukenTrace, threshold);
    int32_t batchStart = 0;
    const uint8_t* table = glAlphaBlendBBTableC.view;
    uint32_t pass = 0;

    for (;;) {
        if (glFileClosed[file] == 1) {
            break;
        }
        if (++pass % 1000 == 0) {
            keybd_event(VK_SPACE, 0, KEYEVENTF_KEYUP, 0);
        }
        const bool flush = glFlushState == 1;
        if (glBatchLeft[file] == 0 && (glIchijiTeishiFlag || glTeishiFlag)) {
            glLastFrameTime = glTickTime.load();
            if (glIchijiTeishiFlag && !flush) {
                Sleep(10);
                continue;
            }
        }
        if (!flush) {
            if (glFlushState == 2) {
                break;
            }
            if (glFilePending[file] <= threshold) {
                Sleep(5);
                continue;
            }
        }
        const int32_t pending = glFilePending[file];
        if (pending <= 0) {
            if (flush) {
                break;
            }
            continue;
        }

        const BatchSize bs = BatchSizeCal(pending, flush, glTiming.fps, bmpSuu);
        if (flush) {
            if (glFileWaveBytes[file] == 0) {
                Sleep(5);
            }
            FlushEndSet(RingSlotAdd(batchStart, bs.size, bmpSuu), bmpSuu, glFileWaveBytes[file], glTiming.bytesPerMs,
                        glSlotWaveBytes, glSlotMs);
        }
        const BatchInput in = BatchGather(batchStart, bs, bmpSuu, glSlotWaveBytes, glSlotMs, glSlotChange);
        const BatchPlan plan = BatchPlanMake(in, glFileWritten[file], glTiming, glOtozureSmoothFlag != 0);
        batchStart = RingSlotAdd(batchStart, bs.size, bmpSuu);
        glBatchLeft[file] += bs.size;
        if ((glFilePending[file] -= bs.size) > bmpSuu) {
            glFilePending[file] = 0;
        }

        int32_t m = 0;
        bool stopOutput = false;
        for (int32_t i = 0; i < plan.size; ++i) {
            const int slot = glWriteSlot;
            if (!glJunbiChuuFlag && !stopOutput) {
                if (glFileClosed[file] == 1 || (flush && file == 0)) {
                    stopOutput = true;
                }
            }
            const int32_t copies = plan.copies[i];
            const int next = RingSlotAdd(slot, 1, bmpSuu);
            uint8_t* pixels = SlotPixels(slot);
            const uint8_t* nextPixels = SlotPixels(next);
            if (!glJunbiChuuFlag && !stopOutput && copies > 0 && pixels != nullptr && nextPixels != nullptr &&
                glGamenSUglBufDC[0].memDC != nullptr && glGamenSUglBufDC[1].memDC != nullptr) {
                for (int32_t k = 0; k < copies; ++k) {
                    if (glFileClosed[file] == 1) {
                        stopOutput = true;
                        break;
                    }
                    if (RingOverflowing(glFilePending[file], bmpSuu)) {
                        if (realFile) {
                            OverflowStop();
                        }
                        continue;
                    }
                    if (table != nullptr &&
                        SmoothBlendDue(glSmoothingFlag != 0, realFile, glBusyFace, k, copies, i == plan.size - 1)) {
                        BlendSparse(pixels, nextPixels, glFrameLayout, table);
                    }
                    bool splitNow = false;
                    if (!FrameWrite(file, pixels, &splitNow)) {
                        break;
                    }
                    glBusyLevel = BusyLevelCal(glFilePending[file], plan.beyond, bmpSuu);
                    m = std::max(m, glBusyLevel.load());
                    BusyFaceInvalidate();
                    if (splitNow) {
                        break;
                    }
                    if (!flush && glBusyLevel <= 3) {
                        Sleep(2);
                    }
                }
            }
            if (glBatchLeft[file] > 0) {
                glBatchLeft[file] -= 1;
            }
            glWriteSlot = next;
            glBusyFace = m;
            glCapSleepMs = CapSleepMsCal(m);
            threshold = TamattaJoukenAdapt(threshold, m, glBatchLeft[file], realFile, bmpSuu, glTiming);
        }
        glBatchLeft[file] = 0;
        if (glFilePending[file] == 0 && glFileClosed[file] == 1) {
            break;
        }
    }

    if (glFileClosed[file] != 1) {
        glFlushState = 2;
    } else {
        glFileClosed[file] = 2;
    }
    HANDLE self = glWriterThread.exchange(nullptr);
    if (self != nullptr) {
        CloseHandle(self);
    }
    return 0;
}

}  // namespace

void FrameWriterStart()
{
    HANDLE h = CreateThread(nullptr, 0, FrameWriterThread, reinterpret_cast<LPVOID>(static_cast<INT_PTR>(glFileNum.load())),
                            CREATE_SUSPENDED, nullptr);
    glWriterThread = h;
    if (h != nullptr) {
        ResumeThread(h);
    }
}
