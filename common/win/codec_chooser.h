// The codec dialog. The system's own chooser lists only codecs installed
// for the whole machine, never the built-in screen codec that the programs
// install for themselves, so the programs show this one: the same choices
// (uncompressed, every installed video codec) with the screen codec added.
#pragma once

#include <windows.h>

struct CodecChoice {
    DWORD fccType;
    DWORD fccHandler;
    LONG lKey;      // the codec's default key-frame interval, 0 = its own choice
    LONG lDataRate; // the dialog offers no data rate: 0
    LONG lQ;        // the codec's default quality
};

// Shows the modal dialog titled `title` with `current` preselected (the
// built-in codec when it is not listed). True with the pick in *choice, false
// when cancelled.
bool CodecChooserShow(HWND owner, const char* title, DWORD current, CodecChoice* choice);
