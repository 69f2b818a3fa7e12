// Size of the frames written to the AVI for a capture range: the range,
// scaled, sits in a 16:9 frame with even sides.
#pragma once

#include <cstdint>

struct FrameGeometry {
    int32_t scaledWidth;   // glScaledWidth
    int32_t scaledHeight;  // glScaledHeight
    int32_t writeWidth;    // glWriteWidth
    int32_t writeHeight;   // glWriteHeight
    int32_t offsetX;       // glOffsetX
    int32_t offsetY;       // glOffsetY
};

// Just below 16/9, so that a range of exactly 16:9 is sized by its width.
constexpr double kWideAspect = 1.7777777;

// The geometry for a range of recWidth x recHeight scaled by baiX, baiY.
// With the slideshow attached the scaled range sits at the top left and the
// area to its right belongs to the panel.
FrameGeometry FrameGeometryCal(int32_t recWidth, int32_t recHeight, float baiX, float baiY, bool slideShow);

// "スライドショーを付ける" is offered when the panel gets at least 50 columns.
bool SlideShowRoomEnough(const FrameGeometry& g);

// Bytes of one 32-bit DIB frame of the written size.
uint32_t FrameImageBytes(const FrameGeometry& g);
