#include "recorder/core/frame_layout.h"

FrameLayout FrameLayoutMake(int32_t writeWidth, int32_t writeHeight, int32_t scaledWidth, int32_t scaledHeight,
                            int32_t offsetX, int32_t offsetY)
{
    FrameLayout f{};
    f.writeWidth = writeWidth;
    f.writeHeight = writeHeight;
    f.scaledWidth = scaledWidth;
    f.scaledHeight = scaledHeight;
    f.offsetX = offsetX;
    f.offsetY = offsetY;
    const int64_t bytes = static_cast<int64_t>(writeWidth) * writeHeight * 4;
    f.imageBytes = bytes > 0 && bytes <= 0xFFFFFFFFll ? static_cast<uint32_t>(bytes) : 0;
    return f;
}

int64_t FramePixelOffset(const FrameLayout& f, int32_t x, int32_t y)
{
    const int64_t offset =
        (static_cast<int64_t>(f.writeWidth) * (static_cast<int64_t>(f.writeHeight) - y - 1) + x) * 4;
    // The whole pixel must lie in the buffer; a range reaching past the
    // frame (a stale geometry) must not read or write outside it.
    if (offset < 0 || offset + 4 > static_cast<int64_t>(f.imageBytes)) {
        return -1;
    }
    return offset;
}

bool FrameRowSpan(const FrameLayout& f, int32_t y, int32_t first, int32_t end, int32_t step, int64_t* rowOffset,
                  int32_t* begin, int32_t* stop)
{
    const int64_t row = static_cast<int64_t>(f.writeWidth) * (static_cast<int64_t>(f.writeHeight) - y - 1) * 4;
    // Pixel x is inside when 0 <= row + 4x and row + 4x + 4 <= imageBytes.
    int64_t lo = row >= 0 ? 0 : (-row + 3) / 4;
    const int64_t hi = (static_cast<int64_t>(f.imageBytes) - 4 - row) >= 0
                           ? (static_cast<int64_t>(f.imageBytes) - 4 - row) / 4 + 1
                           : -1;
    if (hi <= 0 || step <= 0) {
        return false;
    }
    int64_t b = first;
    if (b < lo) {
        b += (lo - b + step - 1) / step * step;  // first sampled column inside
    }
    int64_t e = end < hi ? end : hi;
    if (b >= e) {
        return false;
    }
    *rowOffset = row;
    *begin = static_cast<int32_t>(b);
    *stop = static_cast<int32_t>(e);
    return true;
}
