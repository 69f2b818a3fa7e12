// How much a captured picture differs from the previous one, on a sparse
// grid of about 100 columns × 20 rows of the scaled range.
#pragma once

#include <atomic>
#include <cstdint>

#include "recorder/core/frame_layout.h"

struct ChangeCounts {
    int32_t top;     // differing colour bytes in the top quarter
    int32_t middle;  // ... in the middle half
    int32_t bottom;  // ... in the bottom quarter
};

// Counts the differing colour bytes of `prev` and `cur`. Stops early,
// keeping the counts so far, when a picture is missing or `junbiChuu`
// (a preparation rebuilding the ring) becomes nonzero.
ChangeCounts ChangeCount(const uint8_t* prev, const uint8_t* cur, const FrameLayout& f,
                         const std::atomic<uint8_t>* junbiChuu = nullptr);

// glSlotChange: the sum of the counts. With "横切れ防止" a picture changed
// in only its top or only its bottom part (a player caught half way through
// redrawing) measures 0, so that it is grabbed again.
int32_t ChangeMeasureOf(const ChangeCounts& counts, bool yokogireBoushi);

inline int32_t ChangeMeasure(const uint8_t* prev, const uint8_t* cur, const FrameLayout& f, bool yokogireBoushi,
                             const std::atomic<uint8_t>* junbiChuu = nullptr)
{
    return ChangeMeasureOf(ChangeCount(prev, cur, f, junbiChuu), yokogireBoushi);
}
