// Recording is not built yet: the buttons and menu items reach these entry
// points, which do nothing, so nothing pretends to record.
#include "recorder/recording_control.h"

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
