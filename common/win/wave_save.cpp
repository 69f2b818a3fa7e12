#include "common/win/wave_save.h"

#include <windows.h>

#include "common/core/wave_file.h"
#include "common/win/file_map.h"
#include "common/win/settings_file.h"

namespace {

bool WriteAll(HANDLE h, const void* data, uint32_t bytes)
{
    DWORD written = 0;
    return WriteFile(h, data, bytes, &written, nullptr) && written == bytes;
}

}  // namespace

void WaveSaveBufP(const void* data, uint32_t bytes, const char* path, int16_t channels, int sampleRate)
{
    FSFMBuffer scratch = {};
    uint8_t* header = BufCreateByFSFM(&scratch, "WaveSaveBufP", 0, 1000, 0);
    uint8_t localHeader[kWaveHeaderBytes];
    if (header == nullptr) {
        header = localHeader; // the sound matters more than where its header is assembled
    }
    WaveHeaderBuild(header, bytes, channels, sampleRate);

    HANDLE h = FileCreateForWrite(path);
    if (h != INVALID_HANDLE_VALUE) {
        const uint8_t pad = 0;
        // Nothing is reported to the caller; a short write stops at once
        // instead of appending samples after a gap.
        const bool written = WriteAll(h, header, kWaveHeaderBytes) && WriteAll(h, data, bytes) &&
                             (bytes % 2 == 0 || WriteAll(h, &pad, 1));
        (void)written;
        CloseHandleRetry(h);
    }
    BufDeleteByFSFM(&scratch);
}
