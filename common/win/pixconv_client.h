// Client side of the conversion service Pixconv: start it, find its hidden
// window by title, and have it convert JPEG, GIF and PNG pictures to BMP.
#pragma once

#include <windows.h>

// The service's window title, which is how clients find it.
extern const char* const kPixconvTitle;

// Starts `exePath` and searches the top-level windows for `title`, from
// the client's main window alternately upward and downward. Gives up after
// a bounded time with *service null, so that no later request can reach
// another program's window. Returns 1 when found.
int PixconvStart(HWND* service, const char* exePath, const char* title);

// Sends the output-path request (with `replyWnd` as the client's window)
// and then the conversion request for `picturePath`. Does nothing while
// the service was not found.
void PixconvRequest(HWND service, HWND replyWnd, const char* outPath, const char* picturePath);

// Editor: converts the picture at `path` (at least MAX_PATH bytes) into
// "PXが変換保存.bmp" of the product folder and replaces `path` with it.
void PixconvConvert(HWND service, char* path);

// Recorder: converts slide `slideNum`'s picture into "PXが変換保存" + n +
// ".bmp" when its extension asks for it, and replaces the slide's path.
void PixconvSlideConvert(HWND service, HWND replyWnd, char* slidePath, int slideNum);

// Ends the service (WM_DESTROY to its window) and forgets the handle.
void PixconvStop(HWND* service);

// Deletes the conversion output files: the editor's one, or the recorder's
// numbered ones for every slide number 0 to 199.
void PixconvOutputDelete();
void PixconvSlideOutputsDelete();
