// The capture tick: a periodic multimedia timer that grabs the range into
// the ring, notes the sound clock for each picture, and watches the keys
// and limits.
#pragma once

// Start of the standby capture of file 0 (the writer and the tick).
void CaptureStart();
// Starts the periodic tick / kills it and waits until a running pass ends.
void CaptureTickStart();
void CaptureTickKill();
// Starts the writer thread for the current file.
void FrameWriterStart();
