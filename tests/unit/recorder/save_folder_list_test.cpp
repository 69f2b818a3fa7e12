#include "recorder/core/save_folder_list.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using List = std::vector<std::string>;

struct FolderCase {
    std::string path;
    std::string folder;
};

TEST(SaveFolderList, DroppedItemSelectsTheFolderThatHoldsIt)
{
    const std::string hyou = "\x95\x5C"; // 表: its second byte is the code of "\"
    const FolderCase cases[] = {
        {"C:\\Users\\me\\Desktop\\memo.txt", "C:\\Users\\me\\Desktop"},
        {"C:\\Users\\me\\Videos", "C:\\Users\\me"},
        {"C:\\memo.txt", "C:"},
        {"D:/work/a.avi", "D:/work"},
        {"C:\\" + hyou + "\\a.avi", "C:\\" + hyou},
        {"C:\\data\\" + hyou, "C:\\data"},
        {"memo.txt", ""},
    };
    for (const FolderCase& c : cases) {
        EXPECT_EQ(FolderOfDroppedPath(c.path), c.folder) << c.path;
    }
}

TEST(SaveFolderList, DropFromAListedFolderAddsNoDuplicate)
{
    List list = {"C:\\A", "C:\\B"};
    SaveFolderListDrop(list, "C:\\B");
    EXPECT_EQ(list, (List{"C:\\A", "C:\\B"}));
    SaveFolderListDrop(list, "c:\\a"); // the file system ignores ASCII case
    EXPECT_EQ(list, (List{"C:\\A", "C:\\B"}));
}

TEST(SaveFolderList, ANewFolderIsAddedLast)
{
    List list = {"C:\\A"};
    SaveFolderListDrop(list, "C:\\B");
    EXPECT_EQ(list, (List{"C:\\A", "C:\\B"}));
}

TEST(SaveFolderList, AFolderThatOnlyStartsLikeAListedOneIsStillAdded)
{
    List list = {"C:\\Videos2"};
    SaveFolderListDrop(list, "C:\\Videos");
    EXPECT_EQ(list, (List{"C:\\Videos2", "C:\\Videos"}));
}

TEST(SaveFolderList, AFourthFolderReplacesEntryTwo)
{
    List list = {"C:\\A", "C:\\B", "C:\\C"};
    SaveFolderListDrop(list, "C:\\D");
    EXPECT_EQ(list, (List{"C:\\A", "C:\\B", "C:\\D"}));
}

TEST(SaveFolderList, StartTakesWritableLinesOfAtLeastTwoBytes)
{
    const std::set<std::string> writable = {"C:\\A", "C:\\B", "C:\\C", "D"};
    const auto canWrite = [&](const std::string& f) { return writable.count(f) > 0; };
    struct Case {
        const char* name;
        List lines;
        List list;
        std::string current;
    };
    const Case cases[] = {
        {"all", {"C:\\A", "C:\\B", "C:\\C"}, {"C:\\A", "C:\\B", "C:\\C"}, "C:\\A"},
        {"oneByteLineIgnored", {"D", "C:\\B", ""}, {"C:\\B"}, "C:\\B"},
        {"goneFirstFolder", {"C:\\Gone", "C:\\B", "C:\\C"}, {"C:\\B", "C:\\C"}, "C:\\B"},
        {"nothingUsable", {"C:\\Gone", "", "X:\\ReadOnly"}, {"DESKTOP"}, "DESKTOP"},
        {"emptyFile", {"", "", ""}, {"DESKTOP"}, "DESKTOP"},
    };
    for (const Case& c : cases) {
        const SaveFolderChoice choice = SaveFolderFromLines(c.lines, "DESKTOP", canWrite);
        EXPECT_EQ(choice.list, c.list) << c.name;
        EXPECT_EQ(choice.current, c.current) << c.name;
    }
}

TEST(SaveFolderList, FileTextStartsWithTheCurrentFolderAndSkipsItInTheList)
{
    EXPECT_EQ(SaveFolderFileText("C:\\B", {"C:\\A", "C:\\B", "C:\\C"}), "C:\\B\r\nC:\\A\r\nC:\\C\r\n");
    EXPECT_EQ(SaveFolderFileText("C:\\X", {"C:\\A", "C:\\B", "C:\\C", "C:\\D"}), "C:\\X\r\nC:\\A\r\nC:\\B\r\nC:\\C\r\n");
    EXPECT_EQ(SaveFolderFileText("C:\\A", {"C:\\A"}), "C:\\A\r\n");
}

}  // namespace
