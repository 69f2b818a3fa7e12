// The pictures a capture needs: the two capture pictures (capture surface
// and preview copy) and the ring of frame slots, built for the current
// range; the preparation of a range and of the standby file 0.
#pragma once

#include <windows.h>

#include <cstdint>

// Prepare: geometry, pictures and ring for the selected range, probe of the
// sound device. 1 on success.
int CapturePrepare();
// Standby preparation: pictures and ring again, codec check, "Video0.avi".
int StandbyPrepare();
// Product folder + "\Video<n>.avi" (or Audio<n>.wav).
void VideoPath(char* dest, int n);
void AudioPath(char* dest, int n);
// Pixels of ring slot `slot`, null when it has none.
uint8_t* SlotPixels(int slot);
