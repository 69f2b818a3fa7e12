// What each program tells the shared code about itself. Every program that
// links the shared code defines glProgram once, and sets glhMainWnd as soon
// as its main window exists.
#pragma once

#include <windows.h>

struct ProgramProfile {
    const char* name;                    // message-box title of the folder check
    const char* const* folderNames;      // accepted product folder names
    int folderNameSuu;
    const char* wrongFolderText;         // the folder check's message
    bool fsfmScreenDC;                   // memory DCs compatible with the screen (recorder) or the main window (editor)
    bool fsfmMemoryMessage;              // show the memory message when a DIB section fails (editor)
    const char* compChooseTitle;         // title of the codec dialog
};

extern const ProgramProfile glProgram;

// Owner of the shared code's message boxes; 0 until the main window exists.
extern HWND glhMainWnd;
