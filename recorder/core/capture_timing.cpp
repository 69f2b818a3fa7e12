#include "recorder/core/capture_timing.h"

CaptureTiming CaptureTimingCal(int32_t sampleRate, int32_t channels)
{
    CaptureTiming t{};
    t.frameMs = 1000.0f / static_cast<float>(kCaptureFps);
    t.framesPerSec = 1000.0f / t.frameMs;
    t.fps = static_cast<int32_t>(t.framesPerSec);
    t.tickMs = static_cast<int32_t>(t.frameMs / 2.0f);
    // In double, as the 0.9 literal makes it: single precision would round
    // 14.9999994 up to 15.
    t.minFrameGapMs = static_cast<int32_t>(t.frameMs / 2.0f * 0.9);
    t.halfFps = static_cast<int32_t>(t.framesPerSec / 2.0f);
    t.q = static_cast<int32_t>(t.framesPerSec * 1.5f);
    t.bytesPerMs = static_cast<float>(sampleRate) / 500.0f * static_cast<float>(channels);
    return t;
}
