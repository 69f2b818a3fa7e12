// How the writer paces itself against the capture: the number of pending
// pictures that starts a batch (the accumulation threshold), the busy level
// it shows, and the delay it asks the capture tick to insert.
#pragma once

#include <cstdint>

#include "recorder/core/capture_timing.h"

// Debug trace label sent with the threshold.
extern const char kTamattaJoukenTrace[];

constexpr int32_t kStandbyTamattaJouken = 20;
constexpr int32_t kBusyLevelTop = 9;

// Initial accumulation threshold: a share of the ring by the frame rate
// (0.2 at 30 frames per second), at least half a second of frames; 20 for
// the standby file 0.
int32_t TamattaJoukenCal(int32_t bmpSuu, const CaptureTiming& t, bool standby);

// glBusyLevel: how much of the ring the pictures pending beyond the batch
// fill, 0 ... 9.
int32_t BusyLevelCal(int32_t pending, int32_t beyond, int32_t bmpSuu);

// glCapSleepMs for the highest busy level m of the batch: 0 below 5, then
// 5, 10, 50, 200, 500 ms, and 30 ms more while very busy (m > 7).
int32_t CapSleepMsCal(int32_t m);

// Adapts the threshold after each output slot of a batch whose highest busy
// level is m, with `batchLeft` slots of the batch still to output: a very
// busy writer lowers it (smaller, earlier batches), an easy one in a real
// file raises it by 10 up to a bound that keeps the ring from filling.
int32_t TamattaJoukenAdapt(int32_t threshold, int32_t m, int32_t batchLeft, bool realFile, int32_t bmpSuu,
                           const CaptureTiming& t);
