// The output folder: the "保存先" combo box, "保存先指定.txt", drops.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

// A folder is writable when a test file can be created in it (and is
// deleted again).
bool FolderWritable(const char* folder);

// Fills the combo list from lines 0 to 2 of "保存先指定.txt".
void SaveFolderLoad(const char* settingsPath);

// The file text written at exit.
std::string SaveFolderFileTextNow();

// WM_DROPFILES: the folder holding the first dropped item becomes the
// output folder.
void SaveFolderDrop(HDROP drop);

// "保存先フォルダを開く(&O)"
void SaveFolderOpen();
