#include "common/win/product_folder.h"

#include <cstdio>
#include <cstdlib>

#include "common/core/product_folder_name.h"
#include "common/win/program.h"

char glProductFolder[MAX_PATH];
char glBuhinFolder[MAX_PATH];

void ProductFolderCheck()
{
    const DWORD len = GetCurrentDirectoryA(MAX_PATH, glProductFolder);
    // A directory we cannot read (or one longer than a path buffer) cannot be
    // the product folder either: every later path is built from it.
    const bool readable = len > 0 && len < MAX_PATH;
    if (!readable || !ProductFolderNameAccepted(glProductFolder, glProgram.folderNames, glProgram.folderNameSuu)) {
        MessageBoxA(nullptr, glProgram.wrongFolderText, glProgram.name, MB_TOPMOST);
        std::exit(0);
    }
    ProductPath(glBuhinFolder, "\\部品");
}

void SettingsFolderCreate()
{
    char path[MAX_PATH];
    ProductPath(path, "\\個人設定");
    CreateDirectoryA(path, nullptr);
}

void ProductPath(char* dest, const char* tail)
{
    std::snprintf(dest, MAX_PATH, "%s%s", glProductFolder, tail);
}
