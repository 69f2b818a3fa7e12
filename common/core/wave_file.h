// The 44-byte header of the 16-bit PCM WAV files both programs write.
#pragma once

#include <cstdint>

constexpr int kWaveHeaderBytes = 44;
constexpr int kDefaultSampleRate = 44100;

// Fills `header` for `dataBytes` bytes of 16-bit samples. A rate of 0 means
// the default 44100. The size fields hold `dataBytes` exactly; an odd count
// is followed in the file by one pad byte that they do not count.
void WaveHeaderBuild(uint8_t header[kWaveHeaderBytes], uint32_t dataBytes, int channels, int sampleRate);
