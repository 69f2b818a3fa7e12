// The writer's batch planning: which pending pictures form the next batch,
// how many output frames the video needs to reach the sound time at the end
// of the batch, and how many frames each picture becomes (0, 1 or more) so
// that the batch yields exactly that many.
#pragma once

#include <cstdint>

#include "recorder/core/capture_timing.h"
#include "recorder/core/ring_size.h"
#include "recorder/core/sound_clock.h"

// A picture on screen for 281 frame periods or more has a broken clock
// behind it and is written once.
constexpr int32_t kCopiesMax = 280;

struct BatchSize {
    int32_t size;    // b: pictures of the batch
    int32_t beyond;  // pending pictures left after the batch
};

// Batch size for `pending` pictures: all of them during a flush, otherwise
// at most one second of frames. Outside a flush at least one pending picture
// stays behind the batch: its sound count is where the batch's last picture
// ended, which the planning needs (the flush supplies it from the final
// sound count instead).
BatchSize BatchSizeCal(int32_t pending, bool flush, int32_t fps, int32_t bmpSuu);

// What the planning reads from the ring for one batch, by batch index.
struct BatchInput {
    int32_t start;              // ring slot of the first picture
    int32_t size;               // b
    int32_t beyond;
    int32_t endSlot;            // e: the slot after the batch
    uint32_t endWaveBytes;      // glSlotWaveBytes[e]
    uint32_t slotMs[kRingSlotMax];
    int32_t change[kRingSlotMax];
};

// Reads the batch of `size` slots from `start` (wrapping at the ring's end)
// out of the ring's per-slot arrays, which may be plain or atomic.
template <class WaveBytes, class SlotMs, class SlotChange>
BatchInput BatchGather(int32_t start, BatchSize bs, int32_t bmpSuu, const WaveBytes& waveBytes,
                       const SlotMs& slotMs, const SlotChange& change)
{
    BatchInput in{};
    in.start = start;
    in.size = bs.size < kRingSlotMax ? bs.size : kRingSlotMax;
    in.beyond = bs.beyond;
    for (int32_t i = 0; i < in.size; ++i) {
        const int32_t s = RingSlotAdd(start, i, bmpSuu);
        in.slotMs[i] = slotMs[s];
        in.change[i] = change[s];
    }
    in.endSlot = RingSlotAdd(start, in.size, bmpSuu);
    in.endWaveBytes = waveBytes[in.endSlot];
    return in;
}

// During a flush the sound has stopped: the slot after the batch gets the
// file's final sound count and the batch's last picture its duration.
template <class WaveBytes, class SlotMs>
void FlushEndSet(int32_t endSlot, int32_t bmpSuu, uint32_t fileWaveBytes, float bytesPerMs, WaveBytes& waveBytes,
                 SlotMs& slotMs)
{
    const int32_t last = RingSlotAdd(endSlot, -1, bmpSuu);
    waveBytes[endSlot] = fileWaveBytes;
    slotMs[last] = SlotMsCal(fileWaveBytes, waveBytes[last], bytesPerMs);
}

// T: frames the video of the file needs, after `written` frames, so that
// its length reaches the sound time `endWaveBytes`.
int32_t BatchTargetCal(uint32_t endWaveBytes, int32_t written, const CaptureTiming& t);

// c of a picture that stayed `slotMs` on screen: once, or as many frame
// periods as it stayed when that is 3 or more (a stall).
int32_t CopiesOf(uint32_t slotMs, float frameMs);

// Changes the copies of the `size` pictures by |target - *sum| so that they
// add up to `target`: missing frames repeat, surplus frames drop the
// pictures that changed least, spread evenly over the batch. A few
// corrections (fewer than 4) choose the least-changed picture within a
// window; many take the evenly spread picture itself.
void BatchCorrect(const int32_t* change, int32_t size, int32_t target, int32_t* copies, int32_t* sum);

struct BatchPlan {
    int32_t start;
    int32_t size;
    int32_t beyond;
    int32_t endSlot;
    int32_t target;   // T
    int32_t sum;      // S: frames the batch yields
    int32_t copies[kRingSlotMax];
};

// The whole plan of a batch. With "音ズレなめらかモード" (`otozureSmooth`)
// the copies stay as the durations give them.
BatchPlan BatchPlanMake(const BatchInput& in, int32_t written, const CaptureTiming& t, bool otozureSmooth);
