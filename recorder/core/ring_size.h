// Size of the ring of captured pictures: shorter for larger frames, so the
// file-backed ring stays within a few hundred megabytes.
#pragma once

#include <cstdint>

constexpr int32_t kRingSlotMax = 250;
constexpr int32_t kRingSlotMin = 50;

// Debug trace label sent with the pixel count.
extern const char kBmpSuuCalTrace[];

// 200 slots for a tiny frame falling linearly to 50 at 616,200 pixels,
// within 50 ... 250.
int32_t BmpSuuCal(int32_t writeWidth, int32_t writeHeight);

// Slot `slot` moved on by `n` (n may be negative), wrapped into the ring.
int32_t RingSlotAdd(int32_t slot, int32_t n, int32_t bmpSuu);
