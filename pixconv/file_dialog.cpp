// The open and save dialogs shown on a client's behalf.
#include <windows.h>
#include <commdlg.h>

#include <cstring>

#include "pixconv/pixconv.h"

void FileDialogShow(HWND self, const char* requestText)
{
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = glDialogFilter[0] ? glDialogFilter : nullptr;
    ofn.lpstrFile = glDialogFileName;
    ofn.nMaxFile = kPathBytes;
    ofn.lpstrInitialDir = glDialogFolder[0] ? glDialogFolder : nullptr;
    ofn.lpstrTitle = glDialogTitle[0] ? glDialogTitle : nullptr;
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (glMultiSelect) {
        ofn.Flags |= OFN_ALLOWMULTISELECT;
    }
    const BOOL chosen = std::strcmp(requestText, "0") == 0 ? GetOpenFileNameA(&ofn) : GetSaveFileNameA(&ofn);
    if (chosen != 1) {
        glDialogFileName[0] = '\0';
    }

    COPYDATASTRUCT reply = {};
    reply.dwData = 1;
    reply.cbData = kPathBytes;
    reply.lpData = glDialogFileName;
    if (glReplyWnd != nullptr) {
        SendMessageA(glReplyWnd, WM_COPYDATA, reinterpret_cast<WPARAM>(self), reinterpret_cast<LPARAM>(&reply));
    }
}
