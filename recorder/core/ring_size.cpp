#include "recorder/core/ring_size.h"

const char kBmpSuuCalTrace[] = "●●●　BmpSuuCal　●●● glWriteWidth*glWriteHeight";

int32_t BmpSuuCal(int32_t writeWidth, int32_t writeHeight)
{
    const int64_t pixels = static_cast<int64_t>(writeWidth) * writeHeight;
    const float n = 200.0f - 0.00024342746f * static_cast<float>(pixels);
    if (n > static_cast<float>(kRingSlotMax)) {
        return kRingSlotMax;
    }
    if (n < static_cast<float>(kRingSlotMin)) {
        return kRingSlotMin;
    }
    return static_cast<int32_t>(n);
}

int32_t RingSlotAdd(int32_t slot, int32_t n, int32_t bmpSuu)
{
    if (bmpSuu <= 0) {
        return 0;
    }
    int32_t s = (slot + n) % bmpSuu;
    return s < 0 ? s + bmpSuu : s;
}
