#include "recorder/core/frame_geometry.h"

FrameGeometry FrameGeometryCal(int32_t recWidth, int32_t recHeight, float baiX, float baiY, bool slideShow)
{
    FrameGeometry g = {};
    g.scaledWidth = static_cast<int32_t>(static_cast<float>(recWidth) * baiX);
    g.scaledHeight = static_cast<int32_t>(static_cast<float>(recHeight) * baiY);

    // A range scaled down to no height at all is sized by its width.
    const bool tall = g.scaledHeight > 0 &&
                      static_cast<double>(g.scaledWidth) / static_cast<double>(g.scaledHeight) <= kWideAspect;
    const int32_t k = tall ? g.scaledHeight / 9 + 1 : g.scaledWidth / 16 + 1;
    g.writeWidth = 16 * k;
    g.writeHeight = 9 * k;
    if (g.writeWidth % 2 != 0) {
        g.writeWidth -= 1;
        g.writeHeight = static_cast<int32_t>(static_cast<int64_t>(g.writeWidth) * 9 / 16);
    }
    if (g.writeHeight % 2 != 0) {
        g.writeHeight -= 1;
    }

    if (slideShow) {
        g.offsetX = 0;
        g.offsetY = 0;
    } else {
        g.offsetX = (g.writeWidth - g.scaledWidth) / 2;
        g.offsetY = (g.writeHeight - g.scaledHeight) / 2;
    }
    return g;
}

bool SlideShowRoomEnough(const FrameGeometry& g)
{
    return g.writeWidth - g.scaledWidth >= 50;
}

uint32_t FrameImageBytes(const FrameGeometry& g)
{
    return static_cast<uint32_t>(g.writeWidth) * static_cast<uint32_t>(g.writeHeight) * 4u;
}
