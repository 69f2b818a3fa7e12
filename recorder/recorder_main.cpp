// Entry routine of the recorder: prepares the program-wide state, checks
// the product folder and makes the folders ready.
#include <windows.h>

#include "common/win/file_map.h"
#include "common/win/product_folder.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
    ProductFolderCheck();

    // Scratch files of an earlier run that ended abnormally are removed
    // (those still open by the editor stay), then the folders are ready.
    FileMapFolderCreate();
    FileMapFolderClear(glFileMapFolder, 0);
    FileMapFolderCreate();
    SettingsFolderCreate();

    FileMapFolderClear(glFileMapFolder, 0);
    return 0;
}
