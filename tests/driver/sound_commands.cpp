// Commands about the sound devices, to check from the Windows side that the
// environment's sound server is what the programs hear.
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "driver_commands.h"

namespace vemtra_e2e {

void AddSoundCommands(std::map<std::string, Command>& t) {
  // sound_devices -> wave_in_count wave_out_count {wave-in device name}...
  t["sound_devices"] = [](const Fields&) {
    UINT ins = waveInGetNumDevs();
    Fields out{std::to_string(ins), std::to_string(waveOutGetNumDevs())};
    for (UINT i = 0; i < ins; ++i) {
      WAVEINCAPSW caps{};
      waveInGetDevCapsW(i, &caps, sizeof caps);
      out.push_back(Utf8(caps.szPname, (int)wcslen(caps.szPname)));
    }
    return out;
  };
  // wave_in_peak device ms -> bytes_recorded peak: records 44100 Hz 16-bit
  // stereo for that long and reports the largest sample magnitude
  t["wave_in_peak"] = [](const Fields& a) {
    UINT device = (UINT)IntArg(a, 0, "device");
    DWORD ms = (DWORD)IntArg(a, 1, "ms");
    WAVEFORMATEX fmt{};
    fmt.wFormatTag = WAVE_FORMAT_PCM;
    fmt.nChannels = 2;
    fmt.nSamplesPerSec = 44100;
    fmt.wBitsPerSample = 16;
    fmt.nBlockAlign = 4;
    fmt.nAvgBytesPerSec = 44100 * 4;
    HWAVEIN in = nullptr;
    MMRESULT r = waveInOpen(&in, device, &fmt, 0, 0, CALLBACK_NULL);
    if (r != MMSYSERR_NOERROR) throw CommandError("waveInOpen failed: " + std::to_string(r));
    std::vector<short> samples((size_t)fmt.nAvgBytesPerSec / 2 * (ms / 1000 + 2));
    WAVEHDR hdr{};
    hdr.lpData = reinterpret_cast<LPSTR>(samples.data());
    hdr.dwBufferLength = (DWORD)(samples.size() * sizeof(short));
    waveInPrepareHeader(in, &hdr, sizeof hdr);
    waveInAddBuffer(in, &hdr, sizeof hdr);
    waveInStart(in);
    Sleep(ms);
    waveInReset(in);
    DWORD bytes = hdr.dwBytesRecorded;
    waveInUnprepareHeader(in, &hdr, sizeof hdr);
    waveInClose(in);
    int peak = 0;
    for (DWORD i = 0; i < bytes / 2; ++i) peak = std::max(peak, std::abs((int)samples[i]));
    return Fields{std::to_string(bytes), std::to_string(peak)};
  };
}

}  // namespace vemtra_e2e
