// Sound bytes when recording runs without a wave-in device: the writer's
// clock still needs bytes, so a run yields as many as the device would have
// recorded in the elapsed time.
#pragma once

#include <cstdint>

// Bytes of `elapsedMs` milliseconds of 16-bit sound of `blockAlign` bytes
// per sample frame at `sampleRate`, whole sample frames only, at most
// `capacity` (what is left of the file's buffer, as for the device).
uint32_t WaveSilentRunBytes(uint32_t elapsedMs, int32_t sampleRate, int32_t blockAlign, uint32_t capacity);
