// Control of a recording: start, pause, stop, split, cancel, the file name
// of the result, and the release of what a recording holds at exit.
#pragma once

#include <windows.h>

// After a range was chosen: fixes the frame geometry, shows the recording
// frame and probes the sound device. Returns 1 on success.
int RecPrepare();
// After a successful preparation (and after each finalisation): the standby
// capture for the chosen range.
void RecStandbyRestart();
// The range window's one-second timer counted the record timer down.
void RecTimerSecond();

// End of a range drag: geometry, recording frame, pictures and ring for
// the range and a probe of the sound device; on success the standby
// capture starts. Returns 1 on success.
int RecPrepare();
// Renews sound buffer 0, prepares file 0 and starts the standby capture
// (after the seconds of the record timer, when they are set).
void RecStandbyRestart();
// One second of the record timer has passed (range window's timer).
void RecTimerSecond();
// Starts the finalisation and the waiting animation.
void FinaliseStart();
// Clicks the middle of the capture range when that option is on.
void RangeClick();

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
