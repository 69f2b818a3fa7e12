#include "recorder/core/capture_rules.h"

bool FrameDue(uint32_t tickTime, uint32_t lastFrameTime, bool firstFrameOfFile, const CaptureTiming& t)
{
    const int64_t elapsed = firstFrameOfFile ? static_cast<int64_t>(t.frameMs / 2.0f)
                                             : static_cast<int32_t>(tickTime - lastFrameTime);
    return elapsed > t.minFrameGapMs;
}

GrabVerdict GrabJudge(int32_t change, int32_t fileCapFrames, bool dougaTeishiStop, int32_t* noChangeRun,
                      int32_t* retryCount)
{
    if (change != 0) {
        *noChangeRun = 0;
        *retryCount = 0;
        return GrabVerdict::kAccept;
    }
    ++*noChangeRun;
    ++*retryCount;
    const bool pastFirst = fileCapFrames >= kFirstFramesNeedChange;
    if (pastFirst && *noChangeRun >= kNoChangeStopRun && dougaTeishiStop) {
        return GrabVerdict::kVideoStopped;
    }
    if (pastFirst && *retryCount >= kRetryAccept) {
        *retryCount = 0;
        return GrabVerdict::kAccept;
    }
    return GrabVerdict::kRetry;
}

bool KeyFrameDue(int32_t keyCount)
{
    return keyCount == 0;
}

int32_t KeyCountNext(int32_t keyCount)
{
    return keyCount + 1 >= kKeyEvery ? 0 : keyCount + 1;
}

bool SmoothBlendDue(bool smoothing, bool realFile, int32_t busyFace, int32_t copyIndex, int32_t copies,
                    bool lastOfBatch)
{
    return smoothing && realFile && busyFace <= 5 && copies >= 2 && copyIndex == copies - 1 && !lastOfBatch;
}

bool RingOverflowing(int32_t pending, int32_t bmpSuu)
{
    return pending > bmpSuu - 1;
}
