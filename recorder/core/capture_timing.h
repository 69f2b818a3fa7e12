// Timing of the capture: the fixed 30 frames per second, the tick period
// derived from it, and the sound bytes per millisecond that turn the sound
// clock into time.
#pragma once

#include <cstdint>

constexpr int32_t kCaptureFps = 30;

struct CaptureTiming {
    float frameMs;          // glFrameMs: 1000 / 30 in single precision
    float framesPerSec;     // 1000 / glFrameMs
    int32_t fps;            // whole frames per second (30)
    int32_t tickMs;         // glTickMs: period of the capture tick
    int32_t minFrameGapMs;  // glMinFrameGapMs: a tick sooner than this after a frame grabs nothing
    int32_t halfFps;        // glHalfFps
    int32_t q;              // frames of one and a half seconds: the writer keeps the ring this far from full
    float bytesPerMs;       // glBytesPerMs: 16-bit sound bytes per millisecond
};

CaptureTiming CaptureTimingCal(int32_t sampleRate, int32_t channels);
