// The output-folder list behind the "保存先" combo box: at most three
// folders kept in "保存先指定.txt", the current one first.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Lead byte of a Shift-JIS double-byte character. Its second byte may be
// 0x5C, the code of the path separator, so paths are walked by characters.
bool ShiftJisLeadByte(unsigned char c);

// The folder that holds a dropped file or folder: everything before the
// last path separator ("\" or "/"). Empty when the path has none.
std::string FolderOfDroppedPath(const std::string& path);

// Index of the entry equal to `folder` (paths compare without regard to
// ASCII case, as the file system does), or -1.
int SaveFolderListFind(const std::vector<std::string>& list, const std::string& folder);

// A dropped folder joins the list unless it is already there; with three
// or more entries, entry 2 makes room first. The folder becomes current
// either way (the caller sets the combo text).
void SaveFolderListDrop(std::vector<std::string>& list, const std::string& folder);

// What the settings file gives at start: lines of at least 2 bytes whose
// folder is writable, in file order. The current folder is line 0 when it
// was taken, else the first folder taken (a vanished first folder must not
// leave an empty output folder); when none was taken, `desktop` is the only
// entry and current.
struct SaveFolderChoice {
    std::vector<std::string> list;
    std::string current;
};
SaveFolderChoice SaveFolderFromLines(const std::vector<std::string>& lines, const std::string& desktop,
                                     const std::function<bool(const std::string&)>& writable);

// The file text: the current folder, then each of the first three list
// entries that differs from it, every one followed by CR LF.
std::string SaveFolderFileText(const std::string& current, const std::vector<std::string>& list);
