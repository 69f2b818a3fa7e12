#include "recorder/core/writer_pace.h"

const char kTamattaJoukenTrace[] = "●TamattaJouken";

int32_t TamattaJoukenCal(int32_t bmpSuu, const CaptureTiming& t, bool standby)
{
    if (standby) {
        return kStandbyTamattaJouken;
    }
    const int32_t r = static_cast<int32_t>(1000.0f / t.frameMs);
    float f = 0.4f;
    if (r >= 47) {
        f = 0.1f;
    } else if (r >= 41) {
        f = 0.15f;
    } else if (r >= 21) {
        f = 0.2f;
    }
    const int32_t n = static_cast<int32_t>(static_cast<float>(bmpSuu) * f);
    return n < t.halfFps ? t.halfFps : n;
}

int32_t BusyLevelCal(int32_t pending, int32_t beyond, int32_t bmpSuu)
{
    int32_t denominator = bmpSuu - beyond;
    // A ring already full beyond the batch has nothing left to measure by.
    if (denominator <= 0) {
        denominator = 1;
    }
    const int64_t level = static_cast<int64_t>(pending - beyond) * 10 / denominator;
    if (level < 0) {
        return 0;
    }
    return level > kBusyLevelTop ? kBusyLevelTop : static_cast<int32_t>(level);
}

int32_t CapSleepMsCal(int32_t m)
{
    static const int32_t kSleep[] = {0, 0, 0, 0, 0, 5, 10, 50, 200, 500};
    if (m < 0) {
        m = 0;
    }
    if (m > kBusyLevelTop) {
        m = kBusyLevelTop;
    }
    return kSleep[m] + (m > 7 ? 30 : 0);
}

int32_t TamattaJoukenAdapt(int32_t threshold, int32_t m, int32_t batchLeft, bool realFile, int32_t bmpSuu,
                           const CaptureTiming& t)
{
    if (m > 7) {
        threshold -= batchLeft;
        if (threshold < t.halfFps) {
            threshold = t.halfFps;
        }
    }
    if (realFile && m < 7) {
        threshold += 10;
        const int32_t bound = batchLeft < t.fps ? static_cast<int32_t>(bmpSuu - 1.5f * batchLeft) : bmpSuu - t.q;
        if (threshold > bound) {
            threshold = bound;
        }
        // A batch must start while the ring still has room for the pictures
        // that arrive during it: a threshold near the ring size (the bound
        // above reaches it at the batch's last slot) lets the tick overwrite
        // pictures not yet written.
        int32_t ceiling = bmpSuu - t.q;
        if (ceiling < t.halfFps) {
            ceiling = t.halfFps;
        }
        if (threshold > ceiling) {
            threshold = ceiling;
        }
    }
    return threshold;
}
