#include "recorder/core/busy_faces.h"

namespace {

const BusyFace kFaces[kBusyLevelSuu] = {
    {"(^ｖ^)", 0, 255, 0},   {"(^ー^)", 25, 255, 0},  {"(^－^)", 55, 255, 0},  {"(･  ･)", 115, 255, 0},
    {"(･  ･)", 155, 255, 0}, {"(･  ･)", 255, 255, 0}, {"(;  -)", 255, 155, 0}, {"(;  -)", 255, 55, 0},
    {"(;  ;)", 255, 0, 0},   {"(x  x)", 255, 0, 0},
};

}  // namespace

const BusyFace& BusyFaceOf(int level)
{
    if (level < 0) {
        level = 0;
    }
    if (level >= kBusyLevelSuu) {
        level = kBusyLevelSuu - 1;
    }
    return kFaces[level];
}

int32_t BusyBarRight(int32_t faceTextWidth, int level)
{
    const float k = level == 0 ? 0.5f : static_cast<float>(level);
    return faceTextWidth + static_cast<int32_t>(89.0f / 20.0f * k);
}
