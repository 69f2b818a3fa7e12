// 16-bit PCM WAV files from the programs' sound blocks.
#pragma once

#include <cstdint>

// Writes `bytes` bytes of samples at `data` as a WAV file at `path`,
// replacing any file of that name. sampleRate 0 means 44100. An odd count
// gets one zero pad byte. A file that cannot be created is not written.
void WaveSaveBufP(const void* data, uint32_t bytes, const char* path, int16_t channels, int sampleRate);
