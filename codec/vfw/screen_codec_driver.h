// The built-in screen codec as a Video for Windows driver, so the system's
// codec dialog lists it and any program that uses the codec manager can
// compress and decompress with it.
#pragma once

#include <windows.h>
#include <mmsystem.h>

// The driver procedure (also exported as DriverProc by the driver DLL).
LRESULT CALLBACK ScreenCodecDriverProc(DWORD_PTR driverId, HDRVR driver, UINT msg, LPARAM lParam1, LPARAM lParam2);

// Registers the driver for this process only (ICINSTALL_FUNCTION). Both
// programs call it before any codec call. Returns 1 when registered.
int ScreenCodecInstall();
