// Program-wide state of the recorder. Values read by the capture, writer
// and finalisation threads are atomics (bytes and 32-bit words only).
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <cstdint>

#include "common/win/file_map.h"

// Window handles and ids.
enum : int {
    kIdStopMin = 1000, kIdStopMinLabel = 1001, kIdStopTimerCheck = 1002, kIdStopHour = 1003,
    kIdStopHourLabel = 1004, kIdStopSec = 1005, kIdStopSecLabel = 1006, kIdPause = 1007, kIdStop = 1008,
    kIdRecTimeLabel = 1009, kIdRecTime = 1010, kIdCodecCode = 1011, kIdStopTimerLabel = 1012,
    kIdFileName = 1013, kIdFileNameLabel = 1014, kIdSSAuto = 1015, kIdSSByouLabel = 1016, kIdSSByou = 1017,
    kIdSSUpDown = 1018, kIdHanniShitei = 1019, kIdRokuga = 1020, kIdSameHanni = 1021, kIdKantan = 1022,
    kIdSSAttach = 1023, kIdRecTimerSec = 1024, kIdRecTimerLabel = 1025, kIdRecTimerSecLabel = 1026,
    kIdSceneStill = 1027, kIdNewest = 1028, kIdSaizenmen = 1029, kIdSaveFolder = 1030, kIdPushHere = 1031,
    kIdSaveFolderLabel = 1032, kIdCodecChoose = 1033, kIdPetitRewind = 1034, kIdFileNameDecide = 1035,
    kIdFileNum = 1036,
};

enum : int {
    kMenuRecGuide = 1048, kMenuCodecAdvice = 1049, kMenuUsage = 1050, kMenuSaveFolderHelp = 1051,
    kMenuDougaTeishiStop = 1052, kMenuSmoothing = 1053, kMenuOtozureSmooth = 1054, kMenuYokogire = 1055,
    kMenuMono = 1056, kMenuStereo = 1057, kMenuOtoNashi = 1058, kMenuOnseiIranai = 1059, kMenuSplit = 1060,
    kMenuOpenFolder = 1061, kMenuRecDoujiClick = 1062, kMenuRecCancel = 1063, kMenuKifu = 1064,
    kMenuKifuThanks = 1065, kMenuHelpUsage = 1066, kMenuHelpSound = 1067, kMenuHelpKakukaku = 1068,
    kMenuHelpTech = 1069, kMenuHelpOther = 1070, kMenuHelpClose = 1071,
};

extern HINSTANCE glhInst;
extern HWND glhHanniWnd;     // "NORMAL1" range window
extern HWND glhHelpWnd;      // "NORMAL2"
extern HWND glhSlideShowWnd; // "NORMAL3"
extern HWND glhCodecAdviceWnd; // "NORMAL5"
extern HWND glhFrameWnd[4];  // "NORMAL8" top bar, "NORMAL9", "NORMAL10", "NORMAL11"
extern HWND glhRecTimeEdit;  // edit 1010 of the main window

extern HMENU glhMainMenu;
extern HMENU glhHelpMenu;

constexpr int kFontSuu = 12;
extern HFONT glhFont[kFontSuu]; // one per window slot
enum : int { kFontMain = 0, kFontHanni = 1, kFontHelp = 2, kFontSlideShow = 3, kFontCodecAdvice = 5, kFontFrame = 8 };
extern HBRUSH glhBtnFaceBrush;
extern HBRUSH glhDarkBlueBrush;

// Main window painting.
extern FSFMBitmapDC glMainWndMemDC;
extern HFONT glhSystemFont;
extern HRGN glhPaintRgn;
extern HBRUSH glhIdleBrush;
extern HBRUSH glhRecBrush;
extern HBRUSH glhPauseBrush;
extern RECT glPreviewRect;
extern HDC glhDesktopDC;
extern HDC glhDisplayDC; // "DISPLAY", kept for the whole run

extern HCURSOR glhArrowCursor, glhCrossCursor, glhHandOpenCursor, glhHandCloseCursor;

// Screen facts read at start.
extern int32_t glVirtualWidth, glVirtualHeight, glFrameX, glCaptionY;
extern int32_t glMainWndHeight;
extern int32_t glKantanWidth;
extern int32_t glBusyFaceX, glBusyFaceY, glBusyFaceW;

// Settings (defaults before the files are read).
extern std::atomic<uint8_t> glSmoothingFlag;
extern std::atomic<uint8_t> glOtozureSmoothFlag;
extern std::atomic<uint8_t> glYokogireBoushiFlag;
extern std::atomic<uint8_t> glDougaTeishiStopFlag;
extern std::atomic<uint8_t> glRecDoujiDougaClickFlag;
extern std::atomic<uint8_t> glOtoNashiFlag;
extern std::atomic<uint8_t> glOnseiFileIranaiFlag;
extern std::atomic<int32_t> glSaizenmenFlag;
extern std::atomic<uint8_t> glKantanSousaMode;
extern std::atomic<int32_t> glChannels;
extern float glFrameMs;
extern std::atomic<int32_t> glRecTimerSec;
extern std::atomic<int32_t> glStopTimerMs;
extern std::atomic<uint8_t> glStopTimerFlag;
extern std::atomic<int32_t> glSSByou;
extern char glSaveFolder[MAX_PATH];
extern char glDesktopFolder[MAX_PATH];
extern std::atomic<int32_t> glMaxRecMs;
extern int32_t glSampleRate;
extern int16_t glBitsPerSample;
extern WAVEFORMATEX glWaveFormat;
extern UINT glWaveInDevice;
extern UINT glWaveOutDevice;
extern float glRecBaiX, glRecBaiY;
extern int32_t glCaptureWidth, glCaptureHeight;
extern int32_t glSSWidth, glSSHeight;
extern int32_t glMemShortReturnSuu; // frame buffers given back after a memory shortage
extern char glMemShortText[1024];

// Recording state read by this window (owned by the recording control).
extern std::atomic<int32_t> glFileNum;
extern std::atomic<uint8_t> glRokuonChuuFlag;
extern std::atomic<uint8_t> glIchijiTeishiFlag;
extern std::atomic<uint8_t> glTeishiFlag;
extern std::atomic<uint8_t> glKetsugouChuuFlag;
extern std::atomic<uint8_t> glShuuryouFlag;
extern std::atomic<int32_t> glBusyFace;
extern HWAVEIN glWaveIn;
extern WAVEHDR glWaveHdr;
extern UINT glCaptureTimerId;

// Sound buffers: 50 file-backed blocks, only number 0 mapped at start.
constexpr int kWaveBufSuu = 50;
extern uint32_t glWaveBufBytes;
extern FSFMBuffer glWaveBuf[kWaveBufSuu];

// Path buffers shared by the recording routines.
constexpr int kPathBufSuu = 100;
extern char (*glPathBuf)[MAX_PATH];

extern FSFMBuffer glAlphaBlendBBTableC;
extern char glHelpText[5][4096];
extern int glHelpTopic;
