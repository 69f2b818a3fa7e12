// The finalisation thread: flushes the writer, writes each real file's
// sound cut to the length of its video, joins video and sound of every
// file (the video copied unchanged) and copies the results into the output
// folder under the time-stamped or typed name; then the standby again.
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "common/avi/avi_reader.h"
#include "common/avi/compressed_stream_info.h"
#include "common/avi/editable_stream.h"
#include "common/avi/save_streams.h"
#include "common/win/product_folder.h"
#include "common/win/program.h"
#include "common/win/wave_save.h"
#include "recorder/capture_ring.h"
#include "recorder/capture_state.h"
#include "recorder/capture_tick.h"
#include "recorder/disk_reserve.h"
#include "recorder/core/output_name.h"
#include "recorder/main_controls.h"
#include "recorder/main_menu.h"
#include "recorder/recorder_globals.h"
#include "recorder/recording_control.h"
#include "recorder/save_folder.h"

namespace avi = vemtra::avi;

namespace {

int glOpenFailures; // failed opens of a video stream in this finalisation

void Status(const char* text)
{
    std::snprintf(glStatusText, sizeof glStatusText, "%s", text);
}

void PartsSoundPlay(const char* name)
{
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, "%s%s", glBuhinFolder, name);
    PlaySoundA(path, nullptr, SND_FILENAME | SND_ASYNC);
}

void Show(int id, bool show)
{
    ShowWindow(MainItem(id), show ? SW_SHOW : SW_HIDE);
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Sound of file i as long as its video, written as a WAV file at `path`.
// False when the file could not be written whole (a full disk).
bool SoundFileWrite(int i, const char* path)
{
    char text[64];
    std::snprintf(text, sizeof text, "音声の処理%d/%d", i, glFileNum.load());
    Status(text);
    FSFMBuffer& buf = glWaveBuf[i];
    if (WaveBufMap(i) == nullptr) {
        return false;
    }
    uint32_t bytes = SoundBytesForFrames(glFileWritten[i], glTiming.frameMs, glSampleRate, glChannels);
    const uint32_t block = static_cast<uint32_t>(glChannels) * 2;
    if (bytes > glWaveBufBytes) {
        bytes = glWaveBufBytes - glWaveBufBytes % block;
    }
    // The device may have delivered a little less than the video lasts:
    // the rest is silence, not what an earlier recording left in the buffer.
    const uint32_t recorded = glFileWaveBytes[i];
    if (bytes > recorded) {
        std::memset(buf.view + recorded, 0, bytes - recorded);
    }
    WaveSaveBufP(buf.view, bytes, path, static_cast<int16_t>(glChannels.load()), 0);
    WIN32_FILE_ATTRIBUTE_DATA facts = {};
    const bool whole = GetFileAttributesExA(path, GetFileExInfoStandard, &facts) && facts.nFileSizeHigh == 0 &&
                       facts.nFileSizeLow == 44 + bytes;
    if (!whole) {
        DeleteFileA(path);
    }
    return whole;
}

void JoinError(const char* text, const char* title)
{
    MessageBoxA(glhMainWnd, text, title, MB_TOPMOST);
}

// Joins "Video<i>.avi" and the sound file `audioPath` into `joined`.
bool Join(int i, const char* audioPath, const char* joined)
{
    char videoPath[MAX_PATH];
    VideoPath(videoPath, i);
    std::shared_ptr<avi::FileStream> video;
    for (;;) {
        video = avi::StreamOpenFromFile(videoPath, avi::kStreamTypeVideo, 0);
        if (video || glOpenFailures >= 10) {
            break;
        }
        ++glOpenFailures;
        Sleep(30);
    }
    if (!video) {
        JoinError("AVIStreamInfo エラー", "AVIStreamInfo");
        return false;
    }
    std::shared_ptr<avi::EditableStream> videoEdit = avi::CreateEditableStream(video);
    if (!videoEdit) {
        JoinError("CreateEditableStream(ﾟOﾟ)＼(--; ｫｨｫｨ", "DougaHenshuu");
        return false;
    }
    std::shared_ptr<avi::FileStream> sound = avi::StreamOpenFromFile(audioPath, avi::kStreamTypeAudio, 0);
    if (!sound) {
        JoinError("AVIStreamOpenFromFile WAV 失敗paviAudio", "");
        return false;
    }
    std::shared_ptr<avi::EditableStream> soundEdit = avi::CreateEditableStream(sound);
    if (!soundEdit) {
        JoinError("CreateEditableStream(ﾟOﾟ)＼(--; ｫｨｫｨ", "DougaHenshuu");
        return false;
    }
    avi::StreamInfo vi = video->Info();
    const avi::StreamRate rate = avi::RecorderStreamRate(static_cast<int>(1000.0f / glTiming.frameMs));
    vi.dwScale = rate.dwScale;
    vi.dwRate = rate.dwRate;
    if (!avi::EditStreamSetStreamInfo(*videoEdit, vi)) {
        JoinError("EditStreamSetInfo(ﾟOﾟ)＼(--; ｫｨｫｨ", "DougaHenshuu");
        return false;
    }
    if (!avi::EditStreamSetStreamInfo(*soundEdit, sound->Info())) {
        JoinError("EditStreamSetInfo1(ﾟOﾟ)＼(--; ｫｨｫｨ", "DougaHenshuu");
        return false;
    }
    if (!avi::SaveStreams(joined, {videoEdit, soundEdit})) {
        JoinError("AVISaveV(ﾟOﾟ)＼(--; ｫｨｫｨ", "DougaHenshuu");
        return false;
    }
    return true;
}

// glOutBaseName, once per finalisation.
void OutBaseNameMake()
{
    while (glFileNameHenkouFlag) {
        Sleep(100);
    }
    char folder[MAX_PATH] = {};
    std::snprintf(folder, sizeof folder, "%s", glFinaliseFolder);
    if (folder[0] == '\0' || !FolderWritable(folder)) {
        std::snprintf(folder, sizeof folder, "%s", glDesktopFolder);
    }
    char typed[MAX_PATH] = {};
    std::snprintf(typed, sizeof typed, "%s", glFinaliseTyped);
    std::string base;
    if (typed[0] == '\0') {
        SYSTEMTIME st;
        GetLocalTime(&st);
        base = OutBaseNameByTime(folder, LocalTime{st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond,
                                                   st.wMilliseconds});
    } else {
        const std::string name = FileNameClean(typed);
        base = std::string(folder) + "\\" + name;
        const int excess = OutputPathExcess(folder, name);
        if (excess > 0) {
            char text[64];
            std::snprintf(text, sizeof text, "%d文字分短くしてください。", excess);
            MessageBoxA(glhMainWnd, text, "ファイル名が長すぎます！", MB_TOPMOST);
        }
    }
    std::snprintf(glOutBaseName, sizeof glOutBaseName, "%s", base.c_str());
    if (!glShuuryouFlag) {
        Show(kIdFileNameLabel, false);
        Show(kIdFileName, false);
    }
}

// Delivers file i into the output folder. The joined file is written
// there directly rather than beside the program and copied: a recording
// stopped by a full disk still reaches the output folder. For the same
// reason a sound file that cannot be written beside the program is written
// in the output folder.
void Deliver(int i, bool withSound, bool* baseMade)
{
    if (!*baseMade) {
        OutBaseNameMake();
        *baseMade = true;
    }
    const std::string target = UniqueOutputName(glOutBaseName, ".avi", Exists);
    if (!withSound) {
        char video[MAX_PATH];
        VideoPath(video, i);
        CopyFileA(video, target.c_str(), TRUE);
        return;
    }
    const bool wavWanted = !glOnseiFileIranaiFlag;
    const std::string wav = UniqueOutputName(std::string(glOutBaseName) + "s" + std::to_string(i), ".wav", Exists);
    char audio[MAX_PATH];
    AudioPath(audio, i);
    bool wavDelivered = false;
    if (!SoundFileWrite(i, audio)) {
        std::snprintf(audio, sizeof audio, "%s", wav.c_str());
        if (!SoundFileWrite(i, audio)) {
            JoinError("AVIStreamOpenFromFile WAV 失敗paviAudio", "");
            return;
        }
        wavDelivered = true;
    }
    BufDeleteByFSFM(&glWaveBuf[i]);
    PartsSoundPlay("\\ひょい2.wav");

    char text[64];
    std::snprintf(text, sizeof text, "音声結合処理%d/%d", i, glFileNum.load());
    Status(text);
    Join(i, audio, target.c_str());
    if (wavWanted && !wavDelivered) {
        CopyFileA(audio, wav.c_str(), TRUE);
    }
    if (!wavWanted && wavDelivered) {
        DeleteFileA(audio);
    }
}

void UiAfter()
{
    EnableWindow(glhMainWnd, TRUE);
    for (int id : {kIdCodecChoose, kIdNewest, kIdSSAttach}) {
        EnableWindow(MainItem(id), TRUE);
    }
    for (int id : {kIdRecTimeLabel, kIdRecTime, kIdFileNum, kIdSceneStill, kIdPetitRewind, kIdPause, kIdStop}) {
        Show(id, false);
    }
    for (int id : {kIdHanniShitei, kIdCodecChoose, kIdCodecCode, kIdFileNameLabel, kIdFileName}) {
        Show(id, true);
    }
    if (!glKantanSousaMode) {
        for (int id : {kIdRecTimerSec, kIdRecTimerLabel, kIdRecTimerSecLabel}) {
            Show(id, true);
        }
    }
    MenuStatesForRecording(0);
}

}  // namespace

DWORD WINAPI FinaliseThread(LPVOID)
{
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
    CaptureTickKill();
    glBusyFace = 10; // the blank face while finishing
    glRecState = 0;
    glRokuonChuuFlag = 0;
    const int last = glFileNum;
    const bool shuuryou = glShuuryouFlag != 0;
    WaveStop();
    WaveRunBytesTake(last);
    if (last >= 1) {
        WaveBufUnmap(last);
    }

    if (glWriterThread.load() != nullptr) {
        glFlushState = 1;
        while (glFlushState != 2 && glWriterThread.load() != nullptr) {
            Sleep(30);
        }
    }

    Status("ストリームの開放");
    for (int n = 0; n <= last; ++n) {
        glFileStream[n].reset();
        if (glFileAvi[n]) {
            glFileAvi[n]->Close();
            glFileAvi[n].reset();
        }
    }
    DiskReserveFree();
    const bool withSound = glOtoNashiFlag == 0;
    if (glOldBgBrush != nullptr) {
        SetClassLongPtrA(glhMainWnd, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(glOldBgBrush));
        glOldBgBrush = nullptr;
    }
    InvalidateRect(glhMainWnd, nullptr, TRUE);

    // A cancelled recording delivers nothing, with or without sound.
    const bool deliver = last >= 1 && glCancelFlag == 0;
    glOpenFailures = 0;
    bool baseMade = false;
    if (deliver) {
        for (int i = 1; i <= last; ++i) {
            if (glFileWritten[i] == 0) {
                continue;
            }
            if (!withSound) {
                char text[64];
                std::snprintf(text, sizeof text, "処理%d/%d", i, last);
                Status(text);
            }
            Deliver(i, withSound, &baseMade);
            PartsSoundPlay("\\お.wav");
        }
    }
    char joined[MAX_PATH];
    ProductPath(joined, "\\.avi");
    DeleteFileA(joined);
    for (int n = 0; n <= last; ++n) {
        char path[MAX_PATH];
        AudioPath(path, n);
        DeleteFileA(path);
        VideoPath(path, n);
        DeleteFileA(path);
        if (n >= 1) {
            BufDeleteByFSFM(&glWaveBuf[n]);
        }
    }

    if (!shuuryou) {
        UiAfter();
        if (last >= 1 && glCancelFlag == 0) {
            PartsSoundPlay("\\トゥーン2.wav");
        }
    }

    glTeishiFlag = 0;
    glRokuonChuuFlag = 0;
    glRecState = 0;
    glIchijiTeishiFlag = 0;
    glElapsedBaseBytes = 0;
    glBusyLevel = 0;
    glBusyFace = 0;
    glFileNum = 0;
    glFlushState = 0;
    for (auto& c : glFileClosed) {
        c = 0;
    }
    glStopPosted = 0;
    glSplitPosted = 0;

    if (!shuuryou && glAnimThread.load() != nullptr) {
        glWaitAnimState = 1;
        for (int waited = 0; glWaitAnimState != 2 && waited < 10000; waited += 100) {
            Sleep(100);
        }
        glWaitAnimState = 0;
    }
    InvalidateRect(glhMainWnd, nullptr, TRUE);
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    HANDLE self = glFinaliseThread.exchange(nullptr);
    if (self != nullptr) {
        CloseHandle(self);
    }
    glFileNameHenkouFlag = 0;
    glCancelFlag = 0;
    glKetsugouChuuFlag = 0;

    if (!shuuryou) {
        RecStandbyRestart();
        Show(kIdRokuga, true);
        Show(kIdSameHanni, false);
    }
    return 0;
}
