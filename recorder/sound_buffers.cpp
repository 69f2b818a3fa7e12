#include "recorder/sound_buffers.h"

#include "recorder/core/main_window_rules.h"
#include "recorder/recorder_globals.h"

void WaveBuffersCreate()
{
    glWaveBufBytes = WaveBufBytesCal(glSampleRate, glBitsPerSample);
    for (int n = 0; n < kWaveBufSuu; ++n) {
        BufCreateByFSFM(&glWaveBuf[n], "Vemtra_Free_glWaveP", n, glWaveBufBytes, 0);
        if (n > 0) {
            BufDeleteByFSFM(&glWaveBuf[n]);
        }
    }
}

void WaveBuffersRelease()
{
    for (FSFMBuffer& buf : glWaveBuf) {
        BufDeleteByFSFM(&buf);
    }
}
