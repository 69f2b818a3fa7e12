// The sound clock: the bytes of sound recorded in the current file are the
// time base of the writer. The tick notes the count when it accepts a
// picture; the difference to the next picture's count is how long the
// picture stayed on screen.
//
// Without a sound device ("録音せずに録画") nothing is recorded, so the clock
// derives the same bytes from the tick's milliseconds: a run (from the start
// or resume of a file to its pause or end) yields trunc(elapsed ms × bytes
// per ms), whole sample frames only, and the rest of the engine cannot tell
// the difference.
#pragma once

#include <cstdint>

struct SoundClock {
    uint8_t silent;         // 1: bytes derived from the tick's time
    uint32_t sampleRate;    // sample frames per second
    uint32_t blockAlign;    // bytes of one sample frame
    uint32_t runStartMs;    // tick time at which the current run started (silent)
    uint32_t runCapacity;   // bytes the current run may reach (what is left of the file's buffer)
};

// A clock for sound of `channels` 16-bit channels at `sampleRate`, counting
// device bytes or, when `silent`, deriving them from milliseconds.
SoundClock SoundClockMake(bool silent, int32_t sampleRate, int32_t channels);

// A run starts (recording opened or resumed) at tick time `nowMs`; it can
// hold `capacity` bytes, like the device's buffer.
void SoundClockRunStart(SoundClock* clock, uint32_t nowMs, uint32_t capacity);

// Bytes of the current run at tick time `nowMs`: the device's recorded
// bytes, or those derived from the time since the run started.
uint32_t SoundClockRunBytes(const SoundClock& clock, uint32_t deviceBytes, uint32_t nowMs);

// glSlotMs of the previous picture: milliseconds of sound between its
// capture and the current one. The difference is unsigned, so a clock that
// went back yields a huge value, which the planning treats as one frame.
uint32_t SlotMsCal(uint32_t capSlotWaveBytes, uint32_t prevSlotWaveBytes, float bytesPerMs);

// Sound time of the file in milliseconds; a count of 10,000,001 ms or more
// cannot be real and counts as 0.
int32_t SoundMsCal(uint32_t fileWaveBytes, float bytesPerMs);

// glRecMs: elapsed recording time of all real files so far from their
// summed sound bytes (no plausibility cut: five hours must be reachable).
int32_t RecMsCal(uint64_t soundBytes, float bytesPerMs);

constexpr int32_t kSplitSoundMs = 1800000;          // 30 minutes
constexpr int64_t kSplitFileBytes = 1800000001;     // about 1.8 GB
constexpr int32_t kMaxRecMs = 18000000;             // 5 hours

// The file is split when its sound passes 30 minutes.
bool SoundSplitDue(int32_t soundMs);
// The file is split when the bytes written to it reach about 1.8 GB.
bool FileBytesSplitDue(int64_t fileBytes);
// The recording stops after five hours.
bool MaxRecReached(int32_t recMs);
