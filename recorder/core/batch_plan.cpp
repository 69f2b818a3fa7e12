#include "recorder/core/batch_plan.h"

BatchSize BatchSizeCal(int32_t pending, bool flush, int32_t fps, int32_t bmpSuu)
{
    BatchSize bs{0, 0};
    if (pending <= 0) {
        return bs;
    }
    int32_t b = pending;
    if (!flush) {
        if (b > fps) {
            b = fps;
        }
        if (b > pending - 1) {
            b = pending - 1;
        }
    }
    if (b <= 0 || b >= bmpSuu) {
        b = 1;
    }
    bs.size = b;
    bs.beyond = pending - b;
    return bs;
}

int32_t BatchTargetCal(uint32_t endWaveBytes, int32_t written, const CaptureTiming& t)
{
    const double soundMs = static_cast<double>(endWaveBytes) / t.bytesPerMs;
    const double videoMs = static_cast<double>(written) * t.frameMs;
    return static_cast<int32_t>((soundMs - videoMs) / t.frameMs);
}

int32_t CopiesOf(uint32_t slotMs, float frameMs)
{
    const double periods = static_cast<double>(slotMs) / frameMs;
    if (periods < 3.0 || periods >= kCopiesMax + 1) {
        return 1;
    }
    return static_cast<int32_t>(periods);
}

void BatchCorrect(const int32_t* change, int32_t size, int32_t target, int32_t* copies, int32_t* sum)
{
    if (size <= 0 || target == *sum) {
        return;
    }
    const int32_t sign = target > *sum ? 1 : -1;
    int32_t d = target > *sum ? target - *sum : *sum - target;
    const int32_t step = size / d;
    const int32_t w = step < 2 ? 2 : step;
    int32_t lastChosen = 0;
    for (int32_t i = 0; i < d; ++i) {
        // Evenly spread over the batch by proportion, so that a correction
        // of more than half the batch still alternates instead of taking a
        // run of neighbours, and never lands outside the batch.
        int32_t p = static_cast<int32_t>(static_cast<int64_t>(i) * size / d);
        if (d < 4) {
            int32_t chosen = -1;
            int32_t least = 0;
            for (int32_t j = p; j < p + w && j < size; ++j) {
                if (copies[j] >= 1 && (chosen < 0 || change[j] < least)) {
                    chosen = j;
                    least = change[j];
                }
            }
            // None written in the window: keep the last choice.
            p = chosen >= 0 ? chosen : (i > 0 ? lastChosen : p);
            lastChosen = p;
        }
        if (sign < 0) {
            // Only a picture still written can be dropped; look further on.
            int32_t j = p;
            while (j < size && copies[j] < 1) {
                ++j;
            }
            if (j == size) {
                for (j = 0; j < p && copies[j] < 1; ++j) {
                }
                if (j == p) {
                    return;  // nothing left to drop
                }
            }
            p = j;
        }
        copies[p] += sign;
        *sum += sign;
    }
}

BatchPlan BatchPlanMake(const BatchInput& in, int32_t written, const CaptureTiming& t, bool otozureSmooth)
{
    BatchPlan plan{};
    plan.start = in.start;
    plan.size = in.size;
    plan.beyond = in.beyond;
    plan.endSlot = in.endSlot;
    plan.target = BatchTargetCal(in.endWaveBytes, written, t);
    plan.sum = 0;
    for (int32_t i = 0; i < in.size; ++i) {
        plan.copies[i] = CopiesOf(in.slotMs[i], t.frameMs);
        plan.sum += plan.copies[i];
    }
    if (otozureSmooth) {
        plan.target = plan.sum;
        return plan;
    }
    BatchCorrect(in.change, in.size, plan.target, plan.copies, &plan.sum);
    return plan;
}
