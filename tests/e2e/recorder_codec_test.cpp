// "圧縮設定" in the recorder: the codec dialog offers the built-in screen
// codec, refuses uncompressed frames and asks again, and stores the pick as
// the 64-byte record whose code the main window shows.
#include "recorder_e2e.h"

using namespace vemtra_e2e;

namespace {

constexpr int kIdCodecList = 100;
constexpr unsigned kCbGetCount = 0x0146;
constexpr unsigned kCbSetCurSel = 0x014E;
const char kChooserTitle[] = " XviDがおすすめ(圧縮設定の説明をご覧下さい)";
const char kScreenCodec[] = "Vemtra 画面ロスレス (ZMBV)";

class RecorderCodecTest : public RecorderE2eTest {
 protected:
  Hwnd WaitChooser(const Recorder& run) { return driver().waitWindow("#32770", kChooserTitle, run.pid); }
  // Picks list entry `index` and presses OK.
  void Pick(Hwnd chooser, int index) {
    driver().send(Child(chooser, kIdCodecList), kCbSetCurSel, index, 0);
    driver().click(chooser, 1);  // IDOK
    driver().waitGone(chooser);
  }
};

TEST_F(RecorderCodecTest, UncompressedIsRefusedUntilTheScreenCodecIsPicked) {
  ProductFolder folder("Vemtra");
  Recorder run = Start(folder);
  driver().click(run.main, 1033);

  Hwnd chooser = WaitChooser(run);
  EXPECT_TEXT_EQ(driver().text(chooser, kIdCodecList), kScreenCodec);  // offered first when nothing is chosen
  EXPECT_GE(driver().send(Child(chooser, kIdCodecList), kCbGetCount, 0, 0), 2);

  Pick(chooser, 0);  // "フル フレーム (無圧縮)"
  MessageBoxFacts refusal = driver().waitMessageBox(run.pid);
  EXPECT_EQ(refusal.title, "<(;_ _)>");
  EXPECT_TEXT_EQ(refusal.text, "すみません。無圧縮はできません。");
  // The refused pick is stored all the same, until a later pick replaces it.
  EXPECT_EQ(Setting(folder, "CompData.txt").substr(16, 4), "DIB ");
  driver().answer(refusal.hwnd, 1);

  chooser = WaitChooser(run);  // asked again
  Pick(chooser, 1);
  WaitUntil([&] { return driver().text(run.main, 1011) == "ZMBV"; }, 10000, "the code ZMBV beside the button");
  const std::string record = Setting(folder, "CompData.txt");
  ASSERT_EQ(record.size(), 64u);
  EXPECT_EQ(record.substr(16, 4), "ZMBV");
  EXPECT_EQ(static_cast<unsigned char>(record[0]), 64);
  Close(run);
  EXPECT_EQ(Setting(folder, "CompData.txt"), record);
}

TEST_F(RecorderCodecTest, TheStoredChoiceIsPreselectedNextTime) {
  ProductFolder folder("Vemtra");
  Recorder run = Start(folder);
  driver().click(run.main, 1033);
  Pick(WaitChooser(run), 1);
  WaitUntil([&] { return driver().text(run.main, 1011) == "ZMBV"; }, 10000, "the code ZMBV beside the button");
  Close(run);

  run = Start(folder);
  EXPECT_TEXT_EQ(driver().text(run.main, 1011), "ZMBV");
  driver().click(run.main, 1033);
  Hwnd chooser = WaitChooser(run);
  EXPECT_TEXT_EQ(driver().text(chooser, kIdCodecList), kScreenCodec);
  driver().answer(chooser, 2);  // IDCANCEL keeps the record
  driver().waitGone(chooser);
  Close(run);
  EXPECT_EQ(Setting(folder, "CompData.txt").substr(16, 4), "ZMBV");
}

}  // namespace
