// The blend of smooth mode: the last repetition of a repeated picture is
// moved half way towards the next picture, on a sparse grid for large
// frames so that it stays cheap.
#pragma once

#include <cstdint>

#include "recorder/core/frame_layout.h"

// Grid step: one pixel in every k × k block, k = trunc(scaled pixels /
// (600 × 400)), at least 1.
int32_t BlendStepOf(const FrameLayout& f);

// Each visited pixel's blue, green and red of `dst` become
// table[dst × 256 + src] (the 65,536-byte table of BlendTableFill).
void BlendSparse(uint8_t* dst, const uint8_t* src, const FrameLayout& f, const uint8_t* table);
