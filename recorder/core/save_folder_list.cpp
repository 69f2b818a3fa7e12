#include "recorder/core/save_folder_list.h"

#include <cstddef>

bool ShiftJisLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

std::string FolderOfDroppedPath(const std::string& path)
{
    std::size_t cut = std::string::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (ShiftJisLeadByte(c) && i + 1 < path.size()) {
            ++i; // the trail byte is never a separator
            continue;
        }
        if (c == '\\' || c == '/') {
            cut = i;
        }
    }
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

namespace {

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameFolder(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(a[i]);
        if (ShiftJisLeadByte(c) && i + 1 < a.size()) {
            // Both bytes of a double-byte character compare exactly.
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) {
                return false;
            }
            ++i;
            continue;
        }
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

int SaveFolderListFind(const std::vector<std::string>& list, const std::string& folder)
{
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (SameFolder(list[i], folder)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void SaveFolderListDrop(std::vector<std::string>& list, const std::string& folder)
{
    if (SaveFolderListFind(list, folder) >= 0) {
        return;
    }
    if (list.size() >= 3) {
        list.erase(list.begin() + 2);
    }
    list.push_back(folder);
}

SaveFolderChoice SaveFolderFromLines(const std::vector<std::string>& lines, const std::string& desktop,
                                     const std::function<bool(const std::string&)>& writable)
{
    SaveFolderChoice choice;
    for (std::size_t i = 0; i < lines.size() && i < 3; ++i) {
        if (lines[i].size() >= 2 && writable(lines[i])) {
            choice.list.push_back(lines[i]);
            if (choice.current.empty()) {
                choice.current = lines[i];
            }
        }
    }
    if (choice.list.empty()) {
        choice.list.push_back(desktop);
        choice.current = desktop;
    }
    return choice;
}

std::string SaveFolderFileText(const std::string& current, const std::vector<std::string>& list)
{
    std::string text = current + "\r\n";
    for (std::size_t i = 0; i < list.size() && i < 3; ++i) {
        if (list[i] != current) {
            text += list[i] + "\r\n";
        }
    }
    return text;
}
