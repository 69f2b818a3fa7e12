#include "recorder/wave_rec.h"

#include <cstdio>

#include "common/core/wave_err_text.h"
#include "common/win/file_map.h"
#include "common/win/program.h"
#include "common/win/trace.h"
#include "recorder/core/wave_silent_bytes.h"
#include "recorder/recorder_globals.h"

std::atomic<uint32_t> glFileWaveBytes[51];
std::atomic<uint8_t> glWaveNashiFlag{0};

namespace {

// A run without a device: its start and how much the buffer can still take.
std::atomic<uint8_t> glWaveNashiRunFlag{0};
std::atomic<uint32_t> glWaveNashiStartMs{0};
std::atomic<uint32_t> glWaveNashiCapacity{0};

constexpr UINT kHdrBytes = sizeof(WAVEHDR);

// The device writes dwBytesRecorded while other threads read it.
uint32_t HdrBytesRead()
{
    return __atomic_load_n(&glWaveHdr.dwBytesRecorded, __ATOMIC_RELAXED);
}

void HdrBytesWrite(uint32_t bytes)
{
    __atomic_store_n(&glWaveHdr.dwBytesRecorded, bytes, __ATOMIC_RELAXED);
}

void HdrFill(uint8_t* buffer, uint32_t length)
{
    ZeroMemory(&glWaveHdr, sizeof glWaveHdr);
    glWaveHdr.lpData = reinterpret_cast<LPSTR>(buffer);
    glWaveHdr.dwBufferLength = length;
    glWaveHdr.dwLoops = 1;
}

void NashiRunStart(uint32_t capacity)
{
    glWaveNashiStartMs = timeGetTime();
    glWaveNashiCapacity = capacity;
    glWaveNashiRunFlag = 1;
}

// The run's bytes are frozen in the header, as a closed device leaves them.
void NashiRunEnd()
{
    if (glWaveNashiRunFlag) {
        HdrBytesWrite(WaveRunBytes(timeGetTime()));
        glWaveNashiRunFlag = 0;
    }
}

bool StopOrFinalisationPending()
{
    return glTeishiFlag == 1 || glKetsugouChuuFlag == 1;
}

// The device is missing or disabled: record without sound, or end here.
void WaveOpenFailed(uint32_t length)
{
    MessageBoxA(glhMainWnd, "録音を開始できません。録音デバイスが無いか、無効になっている可能性があります。", "録音の失敗",
                MB_TOPMOST);
    if (MessageBoxA(glhMainWnd, "録音せずに録画しますか？", "waveInOpen", MB_TOPMOST | MB_YESNO) == IDYES) {
        glOtoNashiFlag = 1;
        glWaveNashiFlag = 1;
        NashiRunStart(length);
        glRokuonChuuFlag = 1;
        return;
    }
    MessageBoxA(glhMainWnd,
                "録音デバイスがある場合は有効に、無い場合はステレオミキサーをインストールしてください。（‘ v‘）/　Vemtraは一旦閉じます。",
                "録音の失敗", MB_TOPMOST);
    // The main window's WM_DESTROY saves the settings and releases everything.
    SendMessageA(glhMainWnd, WM_DESTROY, 0, 0);
    ExitProcess(0);
}

// Opens the device into glWaveHdr as it stands; false when it did not open.
bool DeviceOpen()
{
    HWAVEIN in = nullptr;
    const MMRESULT r = waveInOpen(&in, glWaveInDevice, &glWaveFormat, reinterpret_cast<DWORD_PTR>(glhMainWnd), 0,
                                  CALLBACK_WINDOW);
    if (r != MMSYSERR_NOERROR) {
        return false;
    }
    glWaveIn = in;
    return true;
}

}  // namespace

void WaveInErrShow(MMRESULT result, const char* call)
{
    if (result != MMSYSERR_NOERROR) {
        MessageBoxA(glhMainWnd, WaveErrText(result).c_str(), call, MB_TOPMOST);
    }
}

void WaveRec(int n, uint8_t* buffer, uint32_t length)
{
    DebugTrace("●●●　WaveRec dwLength", static_cast<long>(length), n);
    if (glRokuonChuuFlag == 1) {
        DebugTrace("　WaveRec ●glRokuonChuuFlag", glRokuonChuuFlag);
        return;
    }
    if (buffer == nullptr || StopOrFinalisationPending()) {
        return;
    }
    HdrFill(buffer, length);

    // Once the user chose to record without sound, the device is not asked
    // again (at every split or standby) until "音を入れない" is turned off.
    if (glWaveNashiFlag == 1 && glOtoNashiFlag == 1) {
        NashiRunStart(length);
        glRokuonChuuFlag = 1;
        return;
    }
    glWaveNashiFlag = 0;

    if (!DeviceOpen()) {
        WaveOpenFailed(length);
        return;
    }
    WaveInErrShow(waveInPrepareHeader(glWaveIn, &glWaveHdr, kHdrBytes), "waveInPrepareHeader");
    if (!StopOrFinalisationPending()) {
        WaveInErrShow(waveInAddBuffer(glWaveIn, &glWaveHdr, kHdrBytes), "waveInAddBuffer");
        WaveInErrShow(waveInStart(glWaveIn), "waveInStart");
        glRokuonChuuFlag = 1;
    }
}

void WaveStop()
{
    NashiRunEnd();
    if (glWaveIn == nullptr) {
        return;
    }
    WaveInErrShow(waveInReset(glWaveIn), "waveInReset");
    WaveInErrShow(waveInUnprepareHeader(glWaveIn, &glWaveHdr, kHdrBytes), "waveInUnprepareHeader");
    WaveInErrShow(waveInStop(glWaveIn), "waveInStop");
    WaveInErrShow(waveInClose(glWaveIn), "waveInClose");
    glWaveIn = nullptr;
}

void WaveTeishi(int n)
{
    if (n < 0 || n > kWaveBufSuu) {
        return;
    }
    if (glWaveIn == nullptr) {
        NashiRunEnd();
        WaveRunBytesTake(n);
        return;
    }
    waveInReset(glWaveIn);
    WaveRunBytesTake(n);
    WaveInErrShow(waveInUnprepareHeader(glWaveIn, &glWaveHdr, kHdrBytes), "waveInUnprepareHeader");
    WaveInErrShow(waveInStop(glWaveIn), "waveInStop");
    WaveInErrShow(waveInClose(glWaveIn), "waveInClose");
    glWaveIn = nullptr;
}

void WaveSaikai(int n)
{
    if (n < 0 || n >= kWaveBufSuu || glWaveBuf[n].view == nullptr || glWaveIn != nullptr) {
        return;
    }
    const uint32_t done = glFileWaveBytes[n] < glWaveBufBytes ? glFileWaveBytes[n].load() : glWaveBufBytes;
    HdrFill(glWaveBuf[n].view + done, glWaveBufBytes - done);
    if (glWaveNashiFlag == 1 && glOtoNashiFlag == 1) {
        NashiRunStart(glWaveBufBytes - done);
        return;
    }
    HWAVEIN in = nullptr;
    const MMRESULT r = waveInOpen(&in, glWaveInDevice, &glWaveFormat, reinterpret_cast<DWORD_PTR>(glhMainWnd), 0,
                                  CALLBACK_WINDOW);
    WaveInErrShow(r, "waveInOpen");
    if (r != MMSYSERR_NOERROR) {
        // Nothing is open, so the other calls would only fail as well.
        return;
    }
    glWaveIn = in;
    WaveInErrShow(waveInPrepareHeader(glWaveIn, &glWaveHdr, kHdrBytes), "waveInPrepareHeader");
    WaveInErrShow(waveInAddBuffer(glWaveIn, &glWaveHdr, kHdrBytes), "waveInAddBuffer");
    WaveInErrShow(waveInStart(glWaveIn), "waveInStart");
}

uint32_t WaveRunBytes(uint32_t nowMs)
{
    if (glWaveNashiRunFlag) {
        return WaveSilentRunBytes(nowMs - glWaveNashiStartMs, glSampleRate, glWaveFormat.nBlockAlign,
                                  glWaveNashiCapacity);
    }
    return HdrBytesRead();
}

void WaveRunBytesTake(int n)
{
    if (n < 0 || n > kWaveBufSuu) {
        return;
    }
    const uint32_t now = timeGetTime();
    glFileWaveBytes[n] += WaveRunBytes(now);
    HdrBytesWrite(0);
    if (glWaveNashiRunFlag) {
        glWaveNashiCapacity -= WaveSilentRunBytes(now - glWaveNashiStartMs, glSampleRate, glWaveFormat.nBlockAlign,
                                                  glWaveNashiCapacity);
        glWaveNashiStartMs = now;
    }
}

void WaveStandbyRestart()
{
    HCURSOR before = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    if (glRokuonChuuFlag == 1) {
        WaveStop();
    }
    BufDeleteByFSFM(&glWaveBuf[0]);
    BufCreateByFSFM(&glWaveBuf[0], "Vemtra_Free_glWaveP", 0, glWaveBufBytes, 0);
    glRokuonChuuFlag = 0;
    Sleep(100);
    if (glhMainWnd != nullptr) {
        InvalidateRect(glhMainWnd, nullptr, FALSE);
    }
    SetCursor(before);
}

uint8_t* WaveBufMap(int n)
{
    if (n < 0 || n >= kWaveBufSuu) {
        return nullptr;
    }
    FSFMBuffer& buf = glWaveBuf[n];
    if (buf.view != nullptr) {
        return buf.view;
    }
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, "%s\\Vemtra_Free_glWaveP%d.txt", glFileMapFolder, n);
    buf.hFile = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (buf.hFile == INVALID_HANDLE_VALUE) {
        buf.hFile = nullptr;
        return nullptr;
    }
    char mapName[MAX_PATH];
    std::snprintf(mapName, sizeof mapName, "Vemtra_Free_glWaveP%d", n);
    buf.byteSize = glWaveBufBytes;
    buf.hMap = CreateFileMappingA(buf.hFile, nullptr, PAGE_READWRITE, 0, glWaveBufBytes, mapName);
    buf.view = buf.hMap ? static_cast<uint8_t*>(MapViewOfFile(buf.hMap, FILE_MAP_ALL_ACCESS, 0, 0, 0)) : nullptr;
    if (buf.view == nullptr) {
        BufDeleteByFSFM(&buf);
    }
    return buf.view;
}

void WaveBufUnmap(int n)
{
    if (n >= 0 && n < kWaveBufSuu) {
        BufDeleteByFSFM(&glWaveBuf[n]);
    }
}
