// Vemtra.exe at start: the product-folder check, the settings folder and the
// file-map folder, which is cleared of every file that is not in use.
#include <filesystem>

#include "e2e_test.h"

using namespace vemtra_e2e;

namespace {

const char kWrongFolderText[] =
    "VemtraはVemtraのフォルダの中に入れてお使いください。\r\n"
    "フォルダの名前も変えないでください。フォルダ名はVemtraかVemtra_Freeにしてください。一旦終了します。";

constexpr int kStartTimeoutMs = 30000;

class RecorderStartTest : public E2eTest {
 protected:
  int StartRecorder(const ProductFolder& folder) {
    return driver().start(folder.exe("Vemtra.exe"), folder.winPath());
  }
  // The recorder keeps running with its main window; it is not part of these
  // checks, so it is ended once the folders are in place.
  void EndRecorder(int pid) {
    if (driver().running(pid)) driver().kill(pid);
  }
};

class WrongFolderTest : public RecorderStartTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(WrongFolderTest, RecorderShowsTheFolderMessageEndsWithZeroAndCreatesNothing) {
  ProductFolder folder(GetParam());
  std::vector<std::string> before = ListFolder(folder.path());
  int pid = StartRecorder(folder);
  MessageBoxFacts box = driver().waitMessageBox(pid, kStartTimeoutMs);
  EXPECT_TEXT_EQ(box.title, "Vemtra");
  EXPECT_TEXT_EQ(box.text, kWrongFolderText);
  driver().answer(box.hwnd, 1);  // IDOK, the box's only button
  EXPECT_EQ(driver().waitExit(pid), 0);
  EXPECT_EQ(ListFolder(folder.path()), before);
  EXPECT_FALSE(PathExists(folder.file("個人設定")));
  EXPECT_FALSE(PathExists(folder.file("ファイルマップフォルダ")));
}

// Lower case is another name; "Vemtra_Editor" is the editor's folder only;
// a name must end with the accepted name.
INSTANTIATE_TEST_SUITE_P(Names, WrongFolderTest, ::testing::Values("vemtra", "Vemtra_Editor", "VemtraCopy"));

class AcceptedFolderTest : public RecorderStartTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(AcceptedFolderTest, RecorderCreatesTheSettingsAndFileMapFolders) {
  ProductFolder folder(GetParam());
  int pid = StartRecorder(folder);
  WaitForPathWhileRunning(folder.file("個人設定"), pid, kStartTimeoutMs);
  WaitForPathWhileRunning(folder.file("ファイルマップフォルダ"), pid, kStartTimeoutMs);
  EXPECT_TRUE(IsDirectory(folder.file("個人設定")));
  EXPECT_TRUE(IsDirectory(folder.file("ファイルマップフォルダ")));
  EXPECT_EQ(driver().findWindow("#32770", "", pid), 0u) << "a message box appeared";
  EndRecorder(pid);
}

// Only the tail is compared, so a prefix in front of an accepted name passes.
INSTANTIATE_TEST_SUITE_P(Names, AcceptedFolderTest, ::testing::Values("Vemtra", "Vemtra_Free", "MyVemtra"));

TEST_F(RecorderStartTest, ClearingTheFileMapFolderKeepsAFileAnotherProcessHoldsOpen) {
  ProductFolder folder("Vemtra");
  std::string map_dir = folder.file("ファイルマップフォルダ");
  std::filesystem::create_directories(map_dir);
  WriteFile(map_dir + "/古い画像0.txt", std::string(4096, 'a'));
  WriteFile(map_dir + "/glOld1.txt", "b");
  WriteFile(map_dir + "/使用中.txt", "held");
  driver().hold(folder.winFile("ファイルマップフォルダ\\使用中.txt"));

  int pid = StartRecorder(folder);
  WaitUntil([&] { return !PathExists(map_dir + "/古い画像0.txt") && !PathExists(map_dir + "/glOld1.txt"); },
            kStartTimeoutMs, "the recorder deletes the files nobody holds from " + map_dir);
  EXPECT_TRUE(IsDirectory(map_dir));
  EXPECT_TRUE(PathExists(map_dir + "/使用中.txt"));
  EXPECT_EQ(ReadFile(map_dir + "/使用中.txt"), "held");
  EndRecorder(pid);
}

}  // namespace
