// State of the capture: the range and the frame geometry it gives, the ring
// of captured pictures, the per-file counters and the engine's clocks. The
// capture tick, the writer thread, the finalisation thread and the main
// thread share it; every shared value is an atomic byte or 32-bit word.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>

#include "codec/compressed_stream.h"
#include "common/avi/avi_writer.h"
#include "common/win/file_map.h"
#include "recorder/core/capture_timing.h"
#include "recorder/core/frame_layout.h"
#include "recorder/core/ring_size.h"
#include "recorder/range_window.h"
#include "recorder/wave_rec.h"

// The range and its frame geometry (glHanniLeft ... glOffsetY) belong to the
// range selection, the sound byte counts (glFileWaveBytes) to the sound
// recording; the engine reads them from there.
extern uint32_t glImageBytes;
extern FrameLayout glFrameLayout; // the same geometry as the picture kernels take it

// The ring: glBMPSuu file-backed pictures of the written frame size.
extern FSFMBitmap glBufBMP[kRingSlotMax];
extern std::atomic<int32_t> glBMPSuu;
extern std::atomic<int32_t> glBufBMPSuuMinus1;
// Capture surface (1) and the latest accepted picture for the preview (0).
extern FSFMBitmapDC glGamenSUglBufDC[2];
extern HBITMAP glCapSurfaceOwnBitmap; // what the capture surface held before any slot

// Per slot, written by the tick and read by the writer.
extern std::atomic<uint32_t> glSlotWaveBytes[kRingSlotMax];
extern std::atomic<uint32_t> glSlotMs[kRingSlotMax];
extern std::atomic<int32_t> glSlotChange[kRingSlotMax];
extern std::atomic<int32_t> glCapSlot, glPrevSlot, glWriteSlot;

// Per output file (0 standby, 1 ... 49 real files).
constexpr int kFileSuu = 50;
extern std::atomic<int32_t> glFileCapFrames[kFileSuu];
extern std::atomic<int32_t> glFilePending[kFileSuu];
extern std::atomic<int32_t> glFileWritten[kFileSuu];
extern std::atomic<uint8_t> glFileClosed[kFileSuu];
extern std::atomic<int32_t> glBatchLeft[kFileSuu];
extern std::unique_ptr<vemtra::avi::AviWriter> glFileAvi[kFileSuu];
extern std::unique_ptr<vemtra::codec::CompressedVideoStream> glFileStream[kFileSuu];

// Timing and the engine's clocks.
extern CaptureTiming glTiming;
extern std::atomic<uint32_t> glLastFrameTime, glTickTime;
extern std::atomic<int32_t> glCapSleepMs;
extern std::atomic<int32_t> glBusyLevel;
extern std::atomic<int32_t> glRecMs;
extern std::atomic<int32_t> glSplitRequest;
extern std::atomic<int32_t> glFlushState; // 0 normal, 1 flush requested, 2 flush done
extern std::atomic<int64_t> glFileBytes;
extern std::atomic<int32_t> glKeyCount;
extern std::atomic<uint8_t> glJunbiChuuFlag;
extern std::atomic<uint8_t> glRecState; // 0 idle, 2 capture running
extern std::atomic<uint32_t> glElapsedBaseBytes; // sound of the real files closed so far

// Tick-only state (the tick's thread alone writes these).
extern std::atomic<int32_t> glNoChangeRun, glRetryCount;
extern std::atomic<int32_t> glEscState;
extern std::atomic<uint8_t> glPauseKeyDown; // the Pause key was down at the last poll
extern std::atomic<int32_t> glTimeDivider;
extern std::atomic<int32_t> glFrameCount;   // pictures accepted since the capture started
// A request that the tick handed to the main thread and that is not done
// yet: the tick keeps running meanwhile and must not ask twice.
extern std::atomic<uint8_t> glSplitPosted, glStopPosted;
extern std::atomic<int32_t> glTickInside;   // 1 while the tick callback runs

// Threads.
extern std::atomic<HANDLE> glWriterThread;
extern std::atomic<HANDLE> glFinaliseThread;
extern std::atomic<HANDLE> glAnimThread;

// Control of a recording.
extern std::atomic<uint8_t> glCancelFlag;
extern std::atomic<uint8_t> glFileNameHenkouFlag;
extern std::atomic<uint8_t> glWaitAnimState; // 0 running, 1 asked to stop, 2 stopped
extern std::atomic<uint8_t> glOverflowStop;  // the ring overflow was reported for this recording
extern char glStatusText[128];
extern char glOutBaseName[MAX_PATH];
extern HBRUSH glOldBgBrush;
extern int32_t glPreviewWidth, glPreviewHeight; // preview size inside glPreviewRect

// The range's frame geometry fixed, and the layout the kernels take.
void FrameGeometryApply();
// Snapshot of the output folder and typed name, taken on the main thread
// for the finalisation thread (which must not wait for the main thread).
extern char glFinaliseFolder[MAX_PATH];
extern char glFinaliseTyped[MAX_PATH];
