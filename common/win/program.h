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
    const char* compChooseTitle;         // title of the codec dialog
    // The editor: memory DCs compatible with its main window (the recorder's
    // with the screen), a message when a picture cannot be created, its own
    // texts and rate rule for compressed streams.
    bool editor;
};

extern const ProgramProfile glProgram;

// Owner of the shared code's message boxes; 0 until the main window exists.
extern HWND glhMainWnd;
