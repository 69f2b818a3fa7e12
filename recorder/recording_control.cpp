// Recording is not built yet: the buttons and menu items reach these entry
// points, which do nothing, so nothing pretends to record. The preparation
// after a range selection does what exists so far: the frame geometry, the
// recording frame and the sound device's probe, which the standby restart
// closes again.
#include "recorder/recording_control.h"

#include <cstdio>

#include "common/win/product_folder.h"
#include "common/win/program.h"
#include "recorder/main_window.h"
#include "recorder/range_window.h"
#include "recorder/recorder_globals.h"
#include "recorder/wave_rec.h"

int RecPrepare()
{
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    HanniGeometryFix(0);
    FrameWindowsShow();
    for (auto& bytes : glFileWaveBytes) {
        bytes = 0;
    }
    WaveRec(0, glWaveBuf[0].view, glWaveBufBytes);
    SetCursor(glhArrowCursor);

    ShowWindow(glhHanniWnd, SW_HIDE);
    char sound[MAX_PATH];
    std::snprintf(sound, sizeof sound, "%s\\ずも～ん　多重エコー小.wav", glBuhinFolder);
    PlaySoundA(sound, nullptr, SND_FILENAME | SND_ASYNC);
    ShowWindow(glhMainWnd, SW_SHOW);
    SaizenmenApply();
    WaveStandbyRestart();
    return 1;
}

void RecTimerSecond()
{
}

void RokugaStart()
{
}

void IchijiTeishiToggle()
{
}

void RecStop()
{
}

void RecSplit()
{
}

void RecCancel()
{
}

void FileNameEditUpdate()
{
}

void FileNameDecide()
{
}

void RecFileRelease(int)
{
}

void CaptureRelease()
{
}

void CapturePreviewDraw(HDC, const RECT&)
{
}
