#include "recorder/capture_state.h"

uint32_t glImageBytes;
FrameLayout glFrameLayout;

FSFMBitmap glBufBMP[kRingSlotMax];
std::atomic<int32_t> glBMPSuu{0};
std::atomic<int32_t> glBufBMPSuuMinus1{-1};
FSFMBitmapDC glGamenSUglBufDC[2];
HBITMAP glCapSurfaceOwnBitmap;

std::atomic<uint32_t> glSlotWaveBytes[kRingSlotMax];
std::atomic<uint32_t> glSlotMs[kRingSlotMax];
std::atomic<int32_t> glSlotChange[kRingSlotMax];
std::atomic<int32_t> glCapSlot{0}, glPrevSlot{0}, glWriteSlot{0};

std::atomic<int32_t> glFileCapFrames[kFileSuu];
std::atomic<int32_t> glFilePending[kFileSuu];
std::atomic<int32_t> glFileWritten[kFileSuu];
std::atomic<uint8_t> glFileClosed[kFileSuu];
std::atomic<int32_t> glBatchLeft[kFileSuu];
std::unique_ptr<vemtra::avi::AviWriter> glFileAvi[kFileSuu];
std::unique_ptr<vemtra::codec::CompressedVideoStream> glFileStream[kFileSuu];

CaptureTiming glTiming;
std::atomic<uint32_t> glLastFrameTime{0}, glTickTime{0};
std::atomic<int32_t> glCapSleepMs{0};
std::atomic<int32_t> glBusyLevel{0};
std::atomic<int32_t> glRecMs{0};
std::atomic<int32_t> glSplitRequest{0};
std::atomic<int32_t> glFlushState{0};
std::atomic<int64_t> glFileBytes{0};
std::atomic<int32_t> glKeyCount{0};
std::atomic<uint8_t> glJunbiChuuFlag{0};
std::atomic<uint8_t> glRecState{0};
std::atomic<uint32_t> glElapsedBaseBytes{0};

std::atomic<int32_t> glNoChangeRun{0}, glRetryCount{0};
std::atomic<int32_t> glEscState{0};
std::atomic<uint8_t> glPauseKeyDown{0};
std::atomic<int32_t> glTimeDivider{0};
std::atomic<int32_t> glFrameCount{0};
std::atomic<uint8_t> glSplitPosted{0}, glStopPosted{0};
std::atomic<int32_t> glTickInside{0};

std::atomic<HANDLE> glWriterThread{nullptr};
std::atomic<HANDLE> glFinaliseThread{nullptr};
std::atomic<HANDLE> glAnimThread{nullptr};

std::atomic<uint8_t> glCancelFlag{0};
std::atomic<uint8_t> glFileNameHenkouFlag{0};
std::atomic<uint8_t> glWaitAnimState{0};
std::atomic<uint8_t> glOverflowStop{0};
char glStatusText[128];
char glOutBaseName[MAX_PATH];
HBRUSH glOldBgBrush;
int32_t glPreviewWidth, glPreviewHeight;
char glFinaliseFolder[MAX_PATH];
char glFinaliseTyped[MAX_PATH];
