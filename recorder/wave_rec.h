// Sound recording: one wave-in device, one WAVEHDR, and per output file a
// file-backed block into which the whole sound of that file is recorded.
// Pausing closes the device; resuming goes on where the block stopped, so a
// file's sound stays contiguous however often it is paused.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <cstdint>

// Sound bytes of each file recorded before the current run (index = file
// number; one entry more than files, as the preparation clears 0 to 50).
extern std::atomic<uint32_t> glFileWaveBytes[51];
// 1 while recording runs without a wave-in device because the user chose so
// ("録音せずに録画しますか？"): the run's bytes then come from the time.
extern std::atomic<uint8_t> glWaveNashiFlag;

// Opens the device and records into `buffer` (`length` bytes) as file `n`.
// Without a device the user is asked whether to record without sound; "no"
// saves the settings and ends the program.
void WaveRec(int n, uint8_t* buffer, uint32_t length);

// Pause of file n: closes the device; the run's bytes are added to
// glFileWaveBytes[n].
void WaveTeishi(int n);
// Resume of file n right after its recorded bytes.
void WaveSaikai(int n);

// Stops sound (reset, unprepare, stop, close; each failure shown). The run's
// bytes stay in the header until WaveRunBytesTake.
void WaveStop();

// Bytes of the current run at time `nowMs` (timeGetTime): what the device
// recorded, or without a device as many as the elapsed time gives. The
// capture tick adds this to glFileWaveBytes[file] for its sound clock.
uint32_t WaveRunBytes(uint32_t nowMs);
// After a stop: glFileWaveBytes[n] += the run's bytes, and the run starts
// again at 0.
void WaveRunBytesTake(int n);

// Before each standby capture: stops the probe recording, gives buffer 0 a
// fresh backing file and clears glRokuonChuuFlag. The standby preparation
// of the recording control follows.
void WaveStandbyRestart();

// Maps sound buffer n from its existing backing file (a split, the
// finalisation); returns the view or null.
uint8_t* WaveBufMap(int n);
void WaveBufUnmap(int n);

// Shows a failed wave-in call: the error text, titled with the call's name.
void WaveInErrShow(MMRESULT result, const char* call);
