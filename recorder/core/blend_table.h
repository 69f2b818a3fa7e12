// The smoothing blend table: entry [d * 256 + s] is a picture byte d moved
// half way towards the next picture's byte s.
#pragma once

#include <cstdint>

constexpr int kBlendTableBytes = 65536;

void BlendTableFill(uint8_t* table);
