#include "recorder/save_folder.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "common/win/program.h"
#include "common/win/settings_file.h"
#include "recorder/core/save_folder_list.h"
#include "recorder/main_controls.h"
#include "recorder/recorder_globals.h"

namespace {

std::vector<std::string> ComboList()
{
    HWND combo = MainItem(kIdSaveFolder);
    std::vector<std::string> list;
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const int len = static_cast<int>(SendMessageA(combo, CB_GETLBTEXTLEN, i, 0));
        if (len < 0) {
            continue;
        }
        std::string item(static_cast<std::size_t>(len) + 1, '\0');
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&item[0]));
        item.resize(std::strlen(item.c_str()));
        list.push_back(item);
    }
    return list;
}

void ComboSet(const std::vector<std::string>& list, const std::string& current)
{
    HWND combo = MainItem(kIdSaveFolder);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : list) {
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    SetWindowTextA(combo, current.c_str());
    lstrcpynA(glSaveFolder, current.c_str(), MAX_PATH);
}

std::string ComboText()
{
    char text[MAX_PATH] = "";
    GetWindowTextA(MainItem(kIdSaveFolder), text, MAX_PATH);
    return text;
}

}  // namespace

bool FolderWritable(const char* folder)
{
    char path[MAX_PATH + 16];
    std::snprintf(path, sizeof path, "%s\\TEST.txt", folder);
    // CREATE_NEW: a file of the user's that happens to have this name is
    // neither overwritten nor deleted.
    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandleRetry(h);
        DeleteFileA(path);
        return true;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) {
        return false;
    }
    char temp[MAX_PATH];
    if (GetTempFileNameA(folder, "VMT", 0, temp) == 0) {
        return false;
    }
    DeleteFileA(temp);
    return true;
}

void SaveFolderLoad(const char* settingsPath)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 3; ++i) {
        char buf[kFileReadLineBytes] = "";
        FileReadLine(buf, settingsPath, i);
        lines.push_back(buf);
    }
    if (glDesktopFolder[0] == '\0') {
        SHGetSpecialFolderPathA(nullptr, glDesktopFolder, CSIDL_DESKTOP, FALSE);
    }
    const SaveFolderChoice choice =
        SaveFolderFromLines(lines, glDesktopFolder, [](const std::string& folder) { return FolderWritable(folder.c_str()); });
    ComboSet(choice.list, choice.current);
}

std::string SaveFolderFileTextNow()
{
    return SaveFolderFileText(ComboText(), ComboList());
}

void SaveFolderDrop(HDROP drop)
{
    char path[MAX_PATH] = "";
    const UINT len = DragQueryFileA(drop, 0, path, MAX_PATH);
    DragFinish(drop);
    if (len == 0) {
        return;
    }
    const std::string folder = FolderOfDroppedPath(path);
    if (folder.empty()) {
        return;
    }
    std::vector<std::string> list = ComboList();
    SaveFolderListDrop(list, folder);
    ComboSet(list, folder);
}

void SaveFolderOpen()
{
    const std::string folder = ComboText();
    ShellExecuteA(glhMainWnd, "open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
