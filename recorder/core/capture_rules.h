// Decisions of the capture tick and of the writer's output that do not need
// the screen: whether a frame is due, whether a grabbed picture is taken,
// key frames, the smooth-mode blend and the ring overflow.
#pragma once

#include <cstdint>

#include "recorder/core/capture_timing.h"

constexpr int32_t kKeyEvery = 10;               // glKeyEvery
constexpr int32_t kFirstFramesNeedChange = 21;  // a file's first frames are taken only when changed
constexpr int32_t kRetryAccept = 7;             // unchanged grabs within a tick before one is taken
constexpr int32_t kNoChangeStopRun = 91;        // unchanged grabs in a row that stop a still video
constexpr int32_t kRetryWaitMs = 3;             // wait between grabs of one tick

// Whether the tick grabs: more than glMinFrameGapMs since the last accepted
// frame (for the first frame of a file half a frame period is assumed).
bool FrameDue(uint32_t tickTime, uint32_t lastFrameTime, bool firstFrameOfFile, const CaptureTiming& t);

enum class GrabVerdict {
    kAccept,        // take the picture into the ring
    kRetry,         // wait 3 ms and grab again
    kVideoStopped,  // "動画が停止したら停止": start the finalisation
};

// Judges a grabbed picture by its change measure. A changed picture is
// taken. An unchanged one is taken only after the file's first 21 frames
// and 7 tries within the tick; with `dougaTeishiStop`, 91 unchanged grabs in
// a row after the 21st frame stop the recording. Keeps glNoChangeRun and
// glRetryCount (the latter back to 0 on acceptance).
GrabVerdict GrabJudge(int32_t change, int32_t fileCapFrames, bool dougaTeishiStop, int32_t* noChangeRun,
                      int32_t* retryCount);

// Every tenth frame of a file, starting with its first, is a key frame:
// glKeyCount 0 writes a key frame, and counts 0 ... 9.
bool KeyFrameDue(int32_t keyCount);
int32_t KeyCountNext(int32_t keyCount);

// Smooth mode blends the last of two or more copies of a picture with the
// next picture, except for the batch's last picture (its successor may not
// be captured yet), in real files and while the writer is not busy.
bool SmoothBlendDue(bool smoothing, bool realFile, int32_t busyFace, int32_t copyIndex, int32_t copies,
                    bool lastOfBatch);

// A copy is skipped while the ring holds more pending pictures than slots
// minus one; in a real file that also stops the recording.
bool RingOverflowing(int32_t pending, int32_t bmpSuu);
