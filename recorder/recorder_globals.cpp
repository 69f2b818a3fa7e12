#include "recorder/recorder_globals.h"

HINSTANCE glhInst;
HWND glhHanniWnd;
HWND glhHelpWnd;
HWND glhSlideShowWnd;
HWND glhCodecAdviceWnd;
HWND glhFrameWnd[4];
HWND glhRecTimeEdit;

HMENU glhMainMenu;
HMENU glhHelpMenu;

HFONT glhFont[kFontSuu];
HBRUSH glhBtnFaceBrush;
HBRUSH glhDarkBlueBrush;

FSFMBitmapDC glMainWndMemDC;
HFONT glhSystemFont;
HRGN glhPaintRgn;
HBRUSH glhIdleBrush;
HBRUSH glhRecBrush;
HBRUSH glhPauseBrush;
RECT glPreviewRect;
HDC glhDesktopDC;
HDC glhDisplayDC;

HCURSOR glhArrowCursor, glhCrossCursor, glhHandOpenCursor, glhHandCloseCursor;

int32_t glVirtualWidth, glVirtualHeight, glFrameX, glCaptionY;
int32_t glMainWndHeight;
int32_t glKantanWidth;
int32_t glBusyFaceX, glBusyFaceY, glBusyFaceW;

std::atomic<uint8_t> glSmoothingFlag{1};
std::atomic<uint8_t> glOtozureSmoothFlag{0};
std::atomic<uint8_t> glYokogireBoushiFlag{0};
std::atomic<uint8_t> glDougaTeishiStopFlag{0};
std::atomic<uint8_t> glRecDoujiDougaClickFlag{0};
std::atomic<uint8_t> glOtoNashiFlag{0};
std::atomic<uint8_t> glOnseiFileIranaiFlag{0};
std::atomic<int32_t> glSaizenmenFlag{0};
std::atomic<uint8_t> glKantanSousaMode{1};
std::atomic<int32_t> glChannels{2};
float glFrameMs = 1000.0f / 30.0f;
std::atomic<int32_t> glRecTimerSec{0};
std::atomic<int32_t> glStopTimerMs{0};
std::atomic<uint8_t> glStopTimerFlag{0};
std::atomic<int32_t> glSSByou{10};
char glSaveFolder[MAX_PATH];
char glDesktopFolder[MAX_PATH];
std::atomic<int32_t> glMaxRecMs{18000000};
int32_t glSampleRate = 44100;
int16_t glBitsPerSample = 16;
WAVEFORMATEX glWaveFormat;
UINT glWaveInDevice;
UINT glWaveOutDevice;
float glRecBaiX = 1.0f, glRecBaiY = 1.0f;
int32_t glCaptureWidth, glCaptureHeight;
int32_t glSSWidth = 200, glSSHeight = 400;
int32_t glMemShortReturnSuu;
char glMemShortText[1024];

std::atomic<int32_t> glFileNum{0};
std::atomic<uint8_t> glRokuonChuuFlag{0};
std::atomic<uint8_t> glIchijiTeishiFlag{0};
std::atomic<uint8_t> glTeishiFlag{0};
std::atomic<uint8_t> glKetsugouChuuFlag{0};
std::atomic<uint8_t> glShuuryouFlag{0};
std::atomic<int32_t> glBusyFace{0};
HWAVEIN glWaveIn;
WAVEHDR glWaveHdr;
UINT glCaptureTimerId;

uint32_t glWaveBufBytes;
FSFMBuffer glWaveBuf[kWaveBufSuu];

char (*glPathBuf)[MAX_PATH];

FSFMBuffer glAlphaBlendBBTableC;
char glHelpText[5][4096];
int glHelpTopic;
