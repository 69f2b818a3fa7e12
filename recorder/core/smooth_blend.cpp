#include "recorder/core/smooth_blend.h"

int32_t BlendStepOf(const FrameLayout& f)
{
    const int64_t k = static_cast<int64_t>(f.scaledWidth) * f.scaledHeight / (600 * 400);
    return k >= 1 ? static_cast<int32_t>(k) : 1;
}

void BlendSparse(uint8_t* dst, const uint8_t* src, const FrameLayout& f, const uint8_t* table)
{
    if (!dst || !src || !table) {
        return;
    }
    const int32_t k = BlendStepOf(f);
    const int32_t yEnd = f.offsetY + f.scaledHeight - 1;
    const int32_t xEnd = f.offsetX + f.scaledWidth - 1;
    for (int32_t y = f.offsetY; y < yEnd; y += k) {
        int64_t row = 0;
        int32_t begin = 0, stop = 0;
        if (!FrameRowSpan(f, y, f.offsetX, xEnd, k, &row, &begin, &stop)) {
            continue;
        }
        uint8_t* d = dst + row + int64_t(begin) * 4;
        const uint8_t* s = src + row + int64_t(begin) * 4;
        const int64_t stride = int64_t(k) * 4;
        for (int32_t x = begin; x < stop; x += k, d += stride, s += stride) {
            d[0] = table[d[0] * 256 + s[0]];
            d[1] = table[d[1] * 256 + s[1]];
            d[2] = table[d[2] * 256 + s[2]];
        }
    }
}
