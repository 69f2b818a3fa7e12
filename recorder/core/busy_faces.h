// The busy meter: ten faces with a bar that grows with the writer's load.
#pragma once

#include <cstdint>

constexpr int kBusyFaceSuu = 12;   // pictures; 10 and 11 stay blank
constexpr int kBusyLevelSuu = 10;  // levels with a face
constexpr int kBusyFaceWidth = 88;
constexpr int kBusyFaceHeight = 51;
constexpr int kBusyBlankFace = 10; // shown while paused

struct BusyFace {
    const char* face;
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

const BusyFace& BusyFaceOf(int level);

// Right edge of the bar of `level`, which starts at the width of the
// first face's text: 89 / 20 pixels per level, half a step for level 0.
int32_t BusyBarRight(int32_t faceTextWidth, int level);
