// Control of a recording: start, pause, stop, split, cancel, the file name
// of the result, and the release of what a recording holds at exit.
#pragma once

#include <windows.h>

// End of a range drag: prepares the recording for the range (frame
// geometry, the recording frame, the sound device's probe) and, when that
// succeeds, hides the range window and starts the standby capture.
// Returns 1 on success.
int RecPrepare();
// The range window's one-second timer counted the record timer down.
void RecTimerSecond();

// "録画！"
void RokugaStart();
// "一時停止" button and the Pause key.
void IchijiTeishiToggle();
// "停止■", Esc, stop timer, limits, program end.
void RecStop();
// "次のファイルへ!(分割)(&N)"
void RecSplit();
// "録画をキャンセル（結合処理しない停止）"
void RecCancel();
// Edit 1013 changed; "ファイル名決定".
void FileNameEditUpdate();
void FileNameDecide();

// At exit: the AVI file and stream of file number n still open.
void RecFileRelease(int n);
// At exit: the capture pictures and the frame ring.
void CaptureRelease();
// Paints the most recent captured frame into the preview rectangle.
void CapturePreviewDraw(HDC dc, const RECT& preview);
