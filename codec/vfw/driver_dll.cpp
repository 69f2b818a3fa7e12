// The screen codec as a standalone driver DLL, for installing it for the
// whole system (an entry "vidc.ZMBV" pointing at this DLL).
#include "codec/vfw/screen_codec_driver.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK DriverProc(DWORD_PTR driverId, HDRVR driver, UINT msg,
                                                              LPARAM lParam1, LPARAM lParam2)
{
    return ScreenCodecDriverProc(driverId, driver, msg, lParam1, lParam2);
}
