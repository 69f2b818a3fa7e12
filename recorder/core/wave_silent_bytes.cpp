#include "recorder/core/wave_silent_bytes.h"

uint32_t WaveSilentRunBytes(uint32_t elapsedMs, int32_t sampleRate, int32_t blockAlign, uint32_t capacity)
{
    if (sampleRate <= 0 || blockAlign <= 0) {
        return 0;
    }
    const uint64_t frames = static_cast<uint64_t>(elapsedMs) * static_cast<uint64_t>(sampleRate) / 1000u;
    uint64_t bytes = frames * static_cast<uint64_t>(blockAlign);
    const uint64_t cap = capacity - capacity % static_cast<uint32_t>(blockAlign);
    if (bytes > cap) {
        bytes = cap;
    }
    return static_cast<uint32_t>(bytes);
}
