#include "common/core/wave_file.h"

#include <cstring>

#include "common/core/le_bytes.h"

void WaveHeaderBuild(uint8_t header[kWaveHeaderBytes], uint32_t dataBytes, int channels, int sampleRate)
{
    if (sampleRate == 0) {
        sampleRate = kDefaultSampleRate;
    }
    const uint32_t blockAlign = static_cast<uint32_t>(channels) * 16 / 8;
    std::memcpy(header, "RIFF", 4);
    PutLe32(header + 4, dataBytes + 36);
    std::memcpy(header + 8, "WAVEfmt ", 8);
    PutLe32(header + 16, 16);
    PutLe16(header + 20, 1);
    PutLe16(header + 22, static_cast<uint32_t>(channels));
    PutLe32(header + 24, static_cast<uint32_t>(sampleRate));
    PutLe32(header + 28, static_cast<uint32_t>(sampleRate) * blockAlign);
    PutLe16(header + 32, blockAlign);
    PutLe16(header + 34, 16);
    std::memcpy(header + 36, "data", 4);
    PutLe32(header + 40, dataBytes);
}
