#include "recorder/core/change_measure.h"

#include <cstring>

namespace {

// The colour bytes are the low three of a pixel read as a 32-bit word.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "pixels are read as little-endian words");

// Adds to `count` the colour bytes that differ at the sampled columns of rows
// y = first, first + sy, ... while inBand(y).
template <class InBand>
bool CountBand(const uint8_t* prev, const uint8_t* cur, const FrameLayout& f, int32_t first, int32_t sx,
               int32_t sy, InBand inBand, const std::atomic<uint8_t>* junbiChuu, int32_t* count)
{
    const int32_t xEnd = f.offsetX + f.scaledWidth - 1;
    for (int32_t y = first; inBand(y); y += sy) {
        if (junbiChuu && junbiChuu->load(std::memory_order_relaxed)) {
            return false;
        }
        int64_t row = 0;
        int32_t begin = 0, stop = 0;
        if (!FrameRowSpan(f, y, f.offsetX, xEnd, sx, &row, &begin, &stop)) {
            continue;
        }
        const uint8_t* p = prev + row + int64_t(begin) * 4;
        const uint8_t* c = cur + row + int64_t(begin) * 4;
        const int64_t stride = int64_t(sx) * 4;
        int32_t n = 0;
        for (int32_t x = begin; x < stop; x += sx, p += stride, c += stride) {
            // One load per pixel; the fourth byte is not a colour.
            uint32_t a, b;
            std::memcpy(&a, p, 4);
            std::memcpy(&b, c, 4);
            const uint32_t d = a ^ b;
            n += ((d & 0xFFu) != 0) + ((d & 0xFF00u) != 0) + ((d & 0xFF0000u) != 0);
        }
        *count += n;
    }
    return true;
}

}  // namespace

ChangeCounts ChangeCount(const uint8_t* prev, const uint8_t* cur, const FrameLayout& f,
                         const std::atomic<uint8_t>* junbiChuu)
{
    ChangeCounts c{0, 0, 0};
    if (!prev || !cur) {
        return c;
    }
    const int32_t sx = f.scaledWidth / 100 > 0 ? f.scaledWidth / 100 : 1;
    const int32_t sy = f.scaledHeight / 20 > 0 ? f.scaledHeight / 20 : 1;
    const int32_t oy = f.offsetY;
    const int64_t h = f.scaledHeight;
    // Band limits in exact arithmetic: y < oy + h / 4 is 4 (y - oy) < h.
    if (!CountBand(prev, cur, f, oy, sx, sy, [&](int32_t y) { return 4 * (int64_t(y) - oy) < h; }, junbiChuu,
                   &c.top)) {
        return c;
    }
    if (!CountBand(prev, cur, f, static_cast<int32_t>(oy + h / 4), sx, sy,
                   [&](int32_t y) { return 4 * (int64_t(y) - oy) < 3 * h; }, junbiChuu, &c.middle)) {
        return c;
    }
    CountBand(prev, cur, f, static_cast<int32_t>(oy + 3 * h / 4), sx, sy,
              [&](int32_t y) { return int64_t(y) < oy + h - 1; }, junbiChuu, &c.bottom);
    return c;
}

int32_t ChangeMeasureOf(const ChangeCounts& counts, bool yokogireBoushi)
{
    const int32_t sum = counts.top + counts.middle + counts.bottom;
    if (yokogireBoushi && (counts.top == 0 || counts.bottom == 0)) {
        return 0;
    }
    return sum;
}
