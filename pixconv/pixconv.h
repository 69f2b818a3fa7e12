// The conversion service: a hidden top-most window that converts pictures
// to BMP files and shows file dialogs on request of the recorder and the
// editor, driven by WM_COPYDATA and WM_SETTEXT.
#pragma once

#include <windows.h>

constexpr int kPathBytes = 260;
constexpr int kFilterBytes = 264;

// Service state, kept until the service ends.
extern HWND glReplyWnd;                     // client window that receives dialog results
extern char glOutPath[kPathBytes];          // where every conversion writes its BMP
extern char glDialogTitle[kPathBytes];
extern char glDialogFilter[kFilterBytes + 2]; // pairs of texts ended by an extra NUL
extern char glDialogFileName[kPathBytes + 1];
extern char glDialogFolder[kPathBytes];
extern bool glMultiSelect;                  // once set, never cleared

LRESULT CALLBACK PixconvWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Loads any picture GDI+ decodes and saves it at `outPath` as
// a 24-bit BMP. Leaves no new file when either step fails.
void PictureConvert(const char* srcPath, const char* outPath);

// Shows the open (request text "0") or save dialog and sends the reply.
void FileDialogShow(HWND self, const char* requestText);
