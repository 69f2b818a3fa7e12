#include "recorder/core/blend_table.h"

void BlendTableFill(uint8_t* table)
{
    for (int d = 0; d < 256; ++d) {
        for (int s = 0; s < 256; ++s) {
            table[d * 256 + s] = static_cast<uint8_t>((s * 128 + d * 127) >> 8);
        }
    }
}
