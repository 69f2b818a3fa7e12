// The 50 file-backed sound buffers, one per file number of a recording.
#pragma once

// Creates the backing files of all buffers; buffer 0 stays mapped, the
// others are closed again so that only their files remain.
void WaveBuffersCreate();

// At exit: unmaps what is still mapped.
void WaveBuffersRelease();
