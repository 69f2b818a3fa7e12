// Console program for the end-to-end tests of the recorder's sound: it
// records through the recorder's own WaveRec, pause, resume and stop into
// the recorder's file-backed sound buffers and writes them with WaveSaveBufP,
// as the recording control does. One command per line on standard input
// (fields separated by tabs, UTF-8), one answer per line ("ok ..." or
// "error ..."):
//   cd <folder>          current (product) folder; creates the file-map folder
//   pid                  "ok <process id>"
//   devices              "ok <wave-in count> <device chosen as the recorder does>"
//   channels <1|2>       glChannels and glWaveFormat
//   buffers <count>      creates the backing files of sound buffers 0 ... count - 1
//                        (the recorder's size); buffer 0 stays mapped
//   map <n> / unmap <n>  sound buffer n from its backing file
//   rec <n>              WaveRec into buffer n
//   pause <n> / resume <n>
//   stop <n>             stops sound and adds the run's bytes to file n
//   restart              the standby restart (probe stopped, buffer 0 renewed)
//   bytes <n>            "ok <glFileWaveBytes[n]> <bytes of the current run>"
//   flags                "ok <glRokuonChuuFlag> <glWaveNashiFlag> <glOtoNashiFlag> <device open>"
//   zeros <n> <offset> <count>  "ok 1" when those bytes of buffer n are all 0
//   save <n> <path>      WaveSaveBufP of the bytes of file n
//   quit
// When the main window gets WM_DESTROY, "destroyed" is printed (the recorder
// saves its settings there).
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "common/win/file_map.h"
#include "common/win/product_folder.h"
#include "common/win/program.h"
#include "common/win/wave_save.h"
#include "recorder/recorder_globals.h"
#include "recorder/wave_rec.h"
#include "tests/console_lines.h"

namespace {

const char* const kNames[] = {""};

}  // namespace

const ProgramProfile glProgram = {"WaveRecCheck", kNames, 1, "", "", false};
HWND glhMainWnd = nullptr;

namespace {

using console_lines::Fields;
using console_lines::Reply;
using console_lines::ToAnsi;

LRESULT CALLBACK CheckWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY) {
        Reply("destroyed");
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void WaveFormatSet(int channels)
{
    glChannels = channels;
    glWaveFormat.wFormatTag = WAVE_FORMAT_PCM;
    glWaveFormat.nChannels = static_cast<WORD>(channels);
    glWaveFormat.nSamplesPerSec = 44100;
    glWaveFormat.nBlockAlign = static_cast<WORD>(channels * 16 / 8);
    glWaveFormat.nAvgBytesPerSec = 44100 * glWaveFormat.nBlockAlign;
    glWaveFormat.wBitsPerSample = 16;
    glWaveFormat.cbSize = 0;
}

// The recorder's choice: the lowest device that answers, else the count.
UINT WaveInDeviceChoose()
{
    const UINT count = waveInGetNumDevs();
    for (UINT dev = 0; dev < count; ++dev) {
        WAVEINCAPSA caps = {};
        if (waveInGetDevCapsA(dev, &caps, sizeof caps) == MMSYSERR_NOERROR) {
            return dev;
        }
    }
    return count;
}

bool ValidFile(int n)
{
    return n >= 0 && n < kWaveBufSuu;
}

}  // namespace

int main()
{
    GetCurrentDirectoryA(MAX_PATH, glProductFolder);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CheckWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "WaveRecCheck";
    RegisterClassA(&wc);
    glhMainWnd = CreateWindowExA(0, "WaveRecCheck", "WaveRecCheck", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                 nullptr, wc.hInstance, nullptr);
    glSampleRate = 44100;
    glBitsPerSample = 16;
    glWaveBufBytes = 328104000u;
    WaveFormatSet(2);
    glWaveInDevice = WaveInDeviceChoose();

    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::vector<std::string> f = Fields(line);
        if (f.empty()) {
            continue;
        }
        const std::string& cmd = f[0];
        const int n = f.size() > 1 && !f[1].empty() && isdigit(static_cast<unsigned char>(f[1][0])) ? std::stoi(f[1]) : -1;
        if (cmd == "quit") {
            Reply("ok");
            break;
        } else if (cmd == "cd" && f.size() == 2) {
            const bool ok = SetCurrentDirectoryA(ToAnsi(f[1]).c_str()) != 0;
            GetCurrentDirectoryA(MAX_PATH, glProductFolder);
            FileMapFolderCreate();
            Reply(ok ? "ok" : "error cannot enter " + f[1]);
        } else if (cmd == "pid") {
            Reply("ok " + std::to_string(GetCurrentProcessId()));
        } else if (cmd == "devices") {
            Reply("ok " + std::to_string(waveInGetNumDevs()) + " " + std::to_string(glWaveInDevice));
        } else if (cmd == "channels" && (n == 1 || n == 2)) {
            WaveFormatSet(n);
            Reply("ok");
        } else if (cmd == "buffers" && n >= 1 && n <= kWaveBufSuu) {
            bool ok = true;
            for (int i = 0; i < n; ++i) {
                ok = BufCreateByFSFM(&glWaveBuf[i], "Vemtra_Free_glWaveP", i, glWaveBufBytes, 0) != nullptr && ok;
                if (i > 0) {
                    BufDeleteByFSFM(&glWaveBuf[i]);
                }
            }
            Reply(ok ? "ok" : "error a buffer could not be created");
        } else if (cmd == "map" && ValidFile(n)) {
            Reply(WaveBufMap(n) != nullptr ? "ok" : "error cannot map");
        } else if (cmd == "unmap" && ValidFile(n)) {
            WaveBufUnmap(n);
            Reply("ok");
        } else if (cmd == "rec" && ValidFile(n)) {
            WaveRec(n, glWaveBuf[n].view, glWaveBufBytes);
            Reply("ok");
        } else if (cmd == "pause" && ValidFile(n)) {
            WaveTeishi(n);
            Reply("ok");
        } else if (cmd == "resume" && ValidFile(n)) {
            WaveSaikai(n);
            Reply("ok");
        } else if (cmd == "stop" && ValidFile(n)) {
            WaveStop();
            WaveRunBytesTake(n);
            glRokuonChuuFlag = 0;
            Reply("ok");
        } else if (cmd == "restart") {
            WaveStandbyRestart();
            Reply("ok");
        } else if (cmd == "bytes" && ValidFile(n)) {
            Reply("ok " + std::to_string(glFileWaveBytes[n].load()) + " " + std::to_string(WaveRunBytes(timeGetTime())));
        } else if (cmd == "flags") {
            Reply("ok " + std::to_string(glRokuonChuuFlag.load()) + " " + std::to_string(glWaveNashiFlag.load()) + " " +
                  std::to_string(glOtoNashiFlag.load()) + " " + std::to_string(glWaveIn != nullptr ? 1 : 0));
        } else if (cmd == "zeros" && ValidFile(n) && f.size() == 4) {
            const unsigned long long offset = std::stoull(f[2]);
            const unsigned long long count = std::stoull(f[3]);
            const uint8_t* view = glWaveBuf[n].view;
            if (view == nullptr || offset + count > glWaveBufBytes) {
                Reply("error not mapped or out of the buffer");
                continue;
            }
            bool zero = true;
            for (unsigned long long i = 0; i < count && zero; ++i) {
                zero = view[offset + i] == 0;
            }
            Reply(zero ? "ok 1" : "ok 0");
        } else if (cmd == "save" && ValidFile(n) && f.size() == 3) {
            if (glWaveBuf[n].view == nullptr) {
                Reply("error not mapped");
                continue;
            }
            WaveSaveBufP(glWaveBuf[n].view, glFileWaveBytes[n], ToAnsi(f[2]).c_str(), static_cast<int16_t>(glChannels), 0);
            Reply("ok");
        } else {
            Reply("error unknown command: " + line);
        }
    }
    for (FSFMBuffer& buf : glWaveBuf) {
        BufDeleteByFSFM(&buf);
    }
    FileMapFolderClear(glFileMapFolder, 0);
    return 0;
}
