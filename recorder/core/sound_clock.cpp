#include "recorder/core/sound_clock.h"

#include "recorder/core/wave_silent_bytes.h"

SoundClock SoundClockMake(bool silent, int32_t sampleRate, int32_t channels)
{
    SoundClock c{};
    c.silent = silent ? 1 : 0;
    c.sampleRate = sampleRate > 0 ? static_cast<uint32_t>(sampleRate) : 0;
    c.blockAlign = static_cast<uint32_t>(channels > 0 ? channels : 1) * 2;
    c.runCapacity = 0xFFFFFFFFu;
    return c;
}

void SoundClockRunStart(SoundClock* clock, uint32_t nowMs, uint32_t capacity)
{
    clock->runStartMs = nowMs;
    clock->runCapacity = capacity;
}

uint32_t SoundClockRunBytes(const SoundClock& clock, uint32_t deviceBytes, uint32_t nowMs)
{
    if (!clock.silent) {
        return deviceBytes;
    }
    // Unsigned difference: correct across the 49.7-day wrap of the tick count.
    return WaveSilentRunBytes(nowMs - clock.runStartMs, static_cast<int32_t>(clock.sampleRate),
                              static_cast<int32_t>(clock.blockAlign), clock.runCapacity);
}

uint32_t SlotMsCal(uint32_t capSlotWaveBytes, uint32_t prevSlotWaveBytes, float bytesPerMs)
{
    const uint32_t diff = capSlotWaveBytes - prevSlotWaveBytes;
    if (bytesPerMs <= 0.0f) {
        return 0;
    }
    const double ms = static_cast<double>(diff) / bytesPerMs;
    return ms >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<uint32_t>(ms);
}

int32_t SoundMsCal(uint32_t fileWaveBytes, float bytesPerMs)
{
    if (bytesPerMs <= 0.0f) {
        return 0;
    }
    const double ms = static_cast<double>(fileWaveBytes) / bytesPerMs;
    if (ms >= 10000001.0) {
        return 0;
    }
    return static_cast<int32_t>(ms);
}

int32_t RecMsCal(uint64_t soundBytes, float bytesPerMs)
{
    if (bytesPerMs <= 0.0f) {
        return 0;
    }
    const double ms = static_cast<double>(soundBytes) / bytesPerMs;
    return ms >= 2147483647.0 ? 2147483647 : static_cast<int32_t>(ms);
}

bool SoundSplitDue(int32_t soundMs)
{
    return soundMs > kSplitSoundMs;
}

bool FileBytesSplitDue(int64_t fileBytes)
{
    return fileBytes >= kSplitFileBytes;
}

bool MaxRecReached(int32_t recMs)
{
    return recMs > kMaxRecMs;
}
