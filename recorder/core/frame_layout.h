// Where the scaled capture range lies inside the written frame, as the
// picture kernels need it. Frames are 32-bit DIBs (blue, green, red, unused),
// rows bottom-up, stride writeWidth × 4.
#pragma once

#include <cstdint>

struct FrameLayout {
    int32_t writeWidth;    // glWriteWidth
    int32_t writeHeight;   // glWriteHeight
    int32_t scaledWidth;   // glScaledWidth
    int32_t scaledHeight;  // glScaledHeight
    int32_t offsetX;       // glOffsetX
    int32_t offsetY;       // glOffsetY
    uint32_t imageBytes;   // glImageBytes: bytes of one frame buffer
};

// The layout of a frame of `writeWidth` × `writeHeight` with the scaled
// range at the given offsets; imageBytes is the 32-bit DIB size.
FrameLayout FrameLayoutMake(int32_t writeWidth, int32_t writeHeight, int32_t scaledWidth, int32_t scaledHeight,
                            int32_t offsetX, int32_t offsetY);

// Byte offset of pixel (x, y), y counted from the top, or -1 when it lies
// outside the frame buffer.
int64_t FramePixelOffset(const FrameLayout& f, int32_t x, int32_t y);

// The columns x = first, first + step, ... below `end` of row y (from the
// top) whose pixels lie inside the frame buffer: x from *begin while below
// *stop, same step. False when none does. Lets a kernel check a whole row
// once instead of every pixel.
bool FrameRowSpan(const FrameLayout& f, int32_t y, int32_t first, int32_t end, int32_t step, int64_t* rowOffset,
                  int32_t* begin, int32_t* stop);
