// Vemtra.exe from start to close: the windows and controls it creates, the
// defaults of a first start, the settings files written at close and read
// at the next start, the stop timer, the help windows, the start-up files.
#include <filesystem>
#include <iostream>
#include <map>

#include "recorder_e2e.h"

using namespace vemtra_e2e;

namespace {

constexpr unsigned kCbGetCount = 0x0146;
constexpr unsigned kUdmGetPos32 = 0x0400 + 114;
constexpr unsigned kIdleGreen = 0x07DA9B;

class RecorderSpineTest : public RecorderE2eTest {
 protected:
  // Every settings file after a close, by name.
  static std::map<std::string, std::string> AllSettings(const ProductFolder& folder) {
    std::map<std::string, std::string> files;
    for (const char* name : {"MainWnd.txt", "Smoothing.txt", "Saizenmen.txt", "fps.txt", "ＲＥＣタイマー.txt",
                             "保存先指定.txt", "音声ファイルいらない.txt", "ＳＳ秒数.txt", "横切れ防止.txt",
                             "MonoStereo.txt", "簡単操作モード.txt", "glRecDoujiDougaClickFlag.txt"}) {
      files[name] = Setting(folder, name);
    }
    return files;
  }
};

TEST_F(RecorderSpineTest, FirstStartWithAnEmptySettingsFolderGivesTheDefaults) {
  ProductFolder folder("Vemtra");
  Recorder run = Start(folder);

  Rect rect = driver().rect(run.main);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.width(), 375);
  EXPECT_EQ(rect.height(), 106);
  EXPECT_EQ(driver().state(run.main, 1022).checked, 1) << "easy mode";
  EXPECT_EQ(driver().state(run.main, 1002).checked, 0) << "stop timer";
  EXPECT_TEXT_EQ(driver().text(run.main, 1002), "停止タイマーOFF状態");
  EXPECT_EQ(driver().state(run.main, 1029).checked, 0) << "always on top";
  EXPECT_TEXT_EQ(driver().text(run.main, 1010), "00:00:00");
  EXPECT_TEXT_EQ(driver().text(run.main, 1011), "");
  EXPECT_EQ(driver().send(Child(run.main, 1018), kUdmGetPos32, 0, 0), 10) << "slideshow seconds";
  const std::string desktop = driver().text(run.main, 1030);
  EXPECT_NE(desktop.find("Desktop"), std::string::npos) << desktop;
  EXPECT_TRUE(driver().exists(desktop)) << desktop;
  EXPECT_EQ(driver().findWindow("#32770", "", run.pid), 0u) << "a message box appeared";
  Close(run);

  std::map<std::string, std::string> expected = {
      {"MainWnd.txt", "0\r\n0\r\n375\r\n106\r\n"},
      {"Smoothing.txt", "1"},
      {"Saizenmen.txt", "0"},
      {"fps.txt", "30\r\n"},
      {"ＲＥＣタイマー.txt", "0\r\n"},
      {"保存先指定.txt", desktop + "\r\n"},
      {"音声ファイルいらない.txt", "0"},
      {"ＳＳ秒数.txt", "10"},
      {"横切れ防止.txt", "0"},
      {"MonoStereo.txt", "2"},
      {"簡単操作モード.txt", "1"},
      {"glRecDoujiDougaClickFlag.txt", "0"},
  };
  EXPECT_EQ(AllSettings(folder), expected);
}

struct ControlRow {
  int id;
  const char* cls;
  const char* text;
  int x, y, w, h;
  bool visible;
};

TEST_F(RecorderSpineTest, MainWindowHasEveryControlWithItsClassTextPlaceAndVisibility) {
  const ControlRow rows[] = {
      {1000, "Edit", "", 418, 16, 27, 16, true},
      {1001, "Static", "分", 445, 18, 12, 14, true},
      {1002, "Button", "停止タイマーOFF状態", 369, 33, 133, 17, true},
      {1003, "Edit", "", 370, 16, 20, 16, true},
      {1004, "Static", "時間", 390, 18, 24, 14, true},
      {1005, "Edit", "", 461, 16, 27, 16, true},
      {1006, "Static", "秒", 488, 18, 13, 14, true},
      {1007, "Button", "一時停止 ||　(pauseキー(キーボード右上))", 197, 5, 85, 45, false},
      {1008, "Button", "停止■　（escキー(キーボード左上)）", 283, 5, 85, 45, false},
      {1009, "Static", "録画時間", 100, 2, 48, 12, false},
      {1010, "Edit", "00:00:00", 149, 0, 46, 17, false},
      {1011, "Edit", "", 215, 1, 37, 15, true},
      {1012, "Static", "―― 停止タイマー　――", 370, 1, 129, 15, true},
      {1013, "Edit", "", 59, 37, 141, 16, false},
      {1014, "Static", "ファイル名", 3, 39, 54, 12, true},
      {1015, "Button", "スライドショー自動", 764, 42, 119, 13, false},
      {1016, "Static", "秒", 917, 46, 12, 11, false},
      {1017, "Edit", "10", 886, 42, 28, 15, false},
      {1018, "msctls_updown32", "", -1, -1, -1, -1, false},  // moved next to its buddy
      {1019, "Button", "範囲指定", 203, 22, 64, 28, true},
      {1020, "Button", "録画！", 273, 21, 90, 29, false},
      {1021, "Button", "同じ範囲を録画", 270, 24, 87, 22, false},
      {1022, "Button", "簡単操作モード", 256, 4, 100, 13, true},
      {1023, "Button", "スライドショーを付ける", 773, 22, 121, 18, false},
      {1024, "Edit", "", 80, 21, 38, 15, false},
      {1025, "Static", "録画タイマー", 12, 24, 67, 11, false},
      {1026, "Static", "秒", 118, 24, 14, 13, false},
      {1027, "Button", "静止画(残り?枚)", 959, 24, 107, 30, false},
      {1028, "Button", "最新版?", 10, 2, 52, 18, true},
      {1029, "Button", "常に手前に表示", 992, 2, 103, 16, true},
      {1030, "ComboBox", "", 546, 0, 372, -1, true},  // the closed box is one line high
      {1031, "Static", "←ここを押す", 918, 2, 67, 13, true},
      {1032, "Static", "保存先", 510, 2, 36, 12, true},
      {1033, "Button", "圧縮設定", 156, 0, 58, 18, true},
      {1034, "Button", "プチ巻き戻し <<", 77, 32, 120, 25, false},
      {1035, "Button", "ファイル名決定", 205, 39, 84, 18, false},
      {1036, "Static", "ファイル番号", 103, 19, 86, 13, false},
  };
  ProductFolder folder("Vemtra");
  Recorder run = Start(folder);
  const Rect client = driver().clientRect(run.main);
  for (const ControlRow& row : rows) {
    SCOPED_TRACE("control " + std::to_string(row.id));
    EXPECT_STRCASEEQ(driver().className(run.main, row.id).c_str(), row.cls);
    if (row.id != 1030) {
      EXPECT_TEXT_EQ(driver().text(run.main, row.id), row.text);
    }
    EXPECT_EQ(driver().state(run.main, row.id).visible, row.visible);
    if (row.x < 0) continue;
    const Rect r = driver().rect(run.main, row.id);
    EXPECT_EQ(r.left - client.left, row.x);
    EXPECT_EQ(r.top - client.top, row.y);
    EXPECT_EQ(r.width(), row.w);
    if (row.h >= 0) {
      EXPECT_EQ(r.height(), row.h);
    }
  }
  EXPECT_FALSE(driver().state(run.main, 1007).enabled);
  EXPECT_FALSE(driver().state(run.main, 1008).enabled);
  EXPECT_FALSE(driver().state(run.main, 1027).enabled);
  EXPECT_TRUE(driver().state(run.main, 1019).enabled);

  // The other windows exist from the start, hidden.
  const std::map<std::string, std::string> titles = {
      {"NORMAL1", "Vemtra"},         {"NORMAL2", "Vemtra ヘルプ"},
      {"NORMAL3", "SlideShow1"},     {"NORMAL5", "圧縮設定の説明"},
      {"NORMAL8", "（‘ v‘）/Vemtra_Freeの枠（動かせます）"},
      {"NORMAL9", ""},               {"NORMAL10", ""},
      {"NORMAL11", ""},
  };
  // The range window covers the screen with its client area at (0, 0); the
  // frame's top bar is as wide as the provisional range (720).
  const auto [sw, sh] = driver().screenSize();
  std::map<std::string, std::pair<int, int>> sizes = {
      {"NORMAL2", {245, 360}}, {"NORMAL3", {150, 289}}, {"NORMAL5", {480, 69}},
      {"NORMAL8", {720, 44}},  {"NORMAL9", {480, 360}}, {"NORMAL10", {480, 360}}, {"NORMAL11", {480, 360}},
  };
  std::map<std::string, std::string> seen;
  for (const WindowFacts& w : driver().windows(run.pid)) {
    if (titles.count(w.cls)) {
      seen[w.cls] = w.title;
      EXPECT_FALSE(w.visible) << w.cls;
      const Rect r = driver().rect(w.hwnd);
      if (w.cls == "NORMAL1") {
        const Rect c = driver().clientRect(w.hwnd);
        EXPECT_EQ(std::make_pair(c.left, c.top), std::make_pair(0, 0));
        EXPECT_EQ(std::make_pair(r.width(), r.height()),
                  std::make_pair(sw - 2 * r.left + 100, sh - 2 * r.top + 300));
        continue;
      }
      EXPECT_EQ(std::make_pair(r.width(), r.height()), sizes.at(w.cls)) << w.cls;
    }
  }
  EXPECT_EQ(seen, titles);
  Close(run);
}

TEST_F(RecorderSpineTest, SettingsChangedInTheWindowAreWrittenAtCloseAndReadBack) {
  ProductFolder folder("Vemtra");
  Recorder run = Start(folder);
  driver().click(run.main, 1022);  // easy mode off: full width
  WaitUntil([&] { return driver().rect(run.main).width() == 1100; }, 5000, "the window becomes 1100 wide");
  driver().click(run.main, 1029);  // always on top
  driver().command(run.main, 1053);  // smooth mode off
  driver().command(run.main, 1055);  // prevent side clipping on
  driver().command(run.main, 1056);  // mono
  driver().command(run.main, 1059);  // no separate sound file
  driver().command(run.main, 1062);  // click at recording start
  WaitUntil([&] { return driver().state(run.main, 1029).checked == 1; }, 5000, "always on top is checked");
  const std::string desktop = driver().text(run.main, 1030);
  Close(run);

  std::map<std::string, std::string> expected = {
      {"MainWnd.txt", "0\r\n0\r\n1100\r\n106\r\n"},
      {"Smoothing.txt", "0"},
      {"Saizenmen.txt", "1"},
      {"fps.txt", "30\r\n"},
      {"ＲＥＣタイマー.txt", "0\r\n"},
      {"保存先指定.txt", desktop + "\r\n"},
      {"音声ファイルいらない.txt", "1"},
      {"ＳＳ秒数.txt", "10"},
      {"横切れ防止.txt", "1"},
      {"MonoStereo.txt", "1"},
      {"簡単操作モード.txt", "0"},
      {"glRecDoujiDougaClickFlag.txt", "1"},
  };
  const std::map<std::string, std::string> written = AllSettings(folder);
  EXPECT_EQ(written, expected);

  // The next start reads every value back, and closing again writes the same bytes.
  run = Start(folder);
  EXPECT_EQ(driver().rect(run.main).width(), 1100);
  EXPECT_EQ(driver().state(run.main, 1022).checked, 0);
  EXPECT_EQ(driver().state(run.main, 1029).checked, 1);
  Close(run);
  EXPECT_EQ(AllSettings(folder), written);
}

struct WindowPlaceCase {
  const char* name;
  const char* file;
  int left, top;
};

void PrintTo(const WindowPlaceCase& c, std::ostream* os) { *os << c.name; }

class MainWndPlaceTest : public RecorderSpineTest, public ::testing::WithParamInterface<WindowPlaceCase> {};

TEST_P(MainWndPlaceTest, WindowGoesWhereMainWndTxtSaysUnlessThatIsOffScreen) {
  ProductFolder folder("Vemtra");
  WriteSetting(folder, "MainWnd.txt", GetParam().file);
  Recorder run = Start(folder);
  Rect rect = driver().rect(run.main);
  EXPECT_EQ(rect.left, GetParam().left);
  EXPECT_EQ(rect.top, GetParam().top);
  EXPECT_EQ(rect.width(), 375);
  EXPECT_EQ(rect.height(), 106);
  Close(run);
}

INSTANTIATE_TEST_SUITE_P(
    Places, MainWndPlaceTest,
    ::testing::Values(WindowPlaceCase{"OnScreen", "300\r\n400\r\n675\r\n506\r\n", 300, 400},
                      WindowPlaceCase{"RightEdgeLeftOf200", "-900\r\n300\r\n150\r\n406\r\n", 0, 0},
                      WindowPlaceCase{"BelowTheScreen", "100\r\n5000\r\n475\r\n5106", 0, 0}),
    [](const ::testing::TestParamInfo<WindowPlaceCase>& info) { return std::string(info.param.name); });

struct ValueFilesCase {
  const char* name;
  const char* monoStereo;
  const char* smoothing;
  const char* ssByou;
  const char* monoStereoAfter;
  const char* smoothingAfter;
  int ssByouAfter;
};

void PrintTo(const ValueFilesCase& c, std::ostream* os) { *os << c.name; }

class ValueFilesTest : public RecorderSpineTest, public ::testing::WithParamInterface<ValueFilesCase> {};

TEST_P(ValueFilesTest, ValuesOutsideTheirRangeFallBackToTheDefaults) {
  const ValueFilesCase& c = GetParam();
  ProductFolder folder("Vemtra");
  WriteSetting(folder, "MonoStereo.txt", c.monoStereo);
  WriteSetting(folder, "Smoothing.txt", c.smoothing);
  WriteSetting(folder, "ＳＳ秒数.txt", c.ssByou);
  Recorder run = Start(folder);
  EXPECT_EQ(driver().send(Child(run.main, 1018), kUdmGetPos32, 0, 0), c.ssByouAfter);
  Close(run);
  EXPECT_EQ(Setting(folder, "MonoStereo.txt"), c.monoStereoAfter);
  EXPECT_EQ(Setting(folder, "Smoothing.txt"), c.smoothingAfter);
  EXPECT_EQ(Setting(folder, "ＳＳ秒数.txt"), std::to_string(c.ssByouAfter));
}

INSTANTIATE_TEST_SUITE_P(
    Files, ValueFilesTest,
    ::testing::Values(ValueFilesCase{"ThreeTwoMinusFive", "3", "2", "-5", "2", "0", 10},
                      ValueFilesCase{"ZeroOneZero", "0", "1", "0", "2", "1", 10},
                      ValueFilesCase{"MonoOffTwentyFive", "1\r\n", "0", "25", "1", "0", 25}),
    [](const ::testing::TestParamInfo<ValueFilesCase>& info) { return std::string(info.param.name); });

struct FileRoundTripCase {
  const char* name;
  const char* file;
  const char* before;
  const char* after;
};

void PrintTo(const FileRoundTripCase& c, std::ostream* os) { *os << c.name; }

class FileRoundTripTest : public RecorderSpineTest, public ::testing::WithParamInterface<FileRoundTripCase> {};

TEST_P(FileRoundTripTest, ASettingsFileReadAtStartIsWrittenBackAtClose) {
  const FileRoundTripCase& c = GetParam();
  ProductFolder folder("Vemtra");
  WriteSetting(folder, c.file, c.before);
  Recorder run = Start(folder);
  Close(run);
  EXPECT_EQ(Setting(folder, c.file), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FileRoundTripTest,
    ::testing::Values(FileRoundTripCase{"Fps15", "fps.txt", "15\r\n", "15\r\n"},
                      FileRoundTripCase{"Fps7KeepsItsRate", "fps.txt", "7", "7\r\n"},
                      FileRoundTripCase{"Fps0", "fps.txt", "0", "30\r\n"},
                      FileRoundTripCase{"Fps120", "fps.txt", "120\r\n", "30\r\n"},
                      FileRoundTripCase{"RecTimerSecondLine", "ＲＥＣタイマー.txt", "0\r\n5\r\n", "5\r\n"},
                      FileRoundTripCase{"RecTimerOwnFile", "ＲＥＣタイマー.txt", "5\r\n", "0\r\n"},
                      FileRoundTripCase{"YokogireOn", "横切れ防止.txt", "1", "1"},
                      FileRoundTripCase{"YokogireSeven", "横切れ防止.txt", "7", "0"},
                      FileRoundTripCase{"OnseiIranaiWithLineEnd", "音声ファイルいらない.txt", "1\r\n", "1"},
                      FileRoundTripCase{"ClickThree", "glRecDoujiDougaClickFlag.txt", "3", "1"},
                      FileRoundTripCase{"EasyModeFive", "簡単操作モード.txt", "5", "1"},
                      FileRoundTripCase{"SaizenmenTwo", "Saizenmen.txt", "2", "0"}),
    [](const ::testing::TestParamInfo<FileRoundTripCase>& info) { return std::string(info.param.name); });

TEST_F(RecorderSpineTest, OutputFolderFileKeepsWritableFoldersAndFallsBackToTheDesktop) {
  ProductFolder folder("Vemtra");
  const std::string outA = folder.path() + "/../outA";
  const std::string outC = folder.path() + "/../outC";
  std::filesystem::create_directories(outA);
  std::filesystem::create_directories(outC);
  WriteFile(outA + "/TEST.txt", "mine");  // a user's file of the name the test file would take
  const std::string winA = ToWinPath(std::filesystem::weakly_canonical(outA).string());
  const std::string winC = ToWinPath(std::filesystem::weakly_canonical(outC).string());

  // A one-byte line is skipped; writable folders are kept in their order.
  WriteSetting(folder, "保存先指定.txt", winA + "\r\nB\r\n" + winC + "\r\n");
  Recorder run = Start(folder);
  EXPECT_TEXT_EQ(driver().text(run.main, 1030), winA);
  EXPECT_EQ(driver().send(Child(run.main, 1030), kCbGetCount, 0, 0), 2);
  Close(run);
  EXPECT_EQ(Setting(folder, "保存先指定.txt"), winA + "\r\n" + winC + "\r\n");
  EXPECT_EQ(ReadFile(outA + "/TEST.txt"), "mine");

  // Folders that are gone fall back to the desktop.
  WriteSetting(folder, "保存先指定.txt", "Z:\\no\\such\\folder\r\nQ\r\nZ:\\gone\\too\r\n");
  run = Start(folder);
  const std::string text = driver().text(run.main, 1030);
  EXPECT_NE(text.find("Desktop"), std::string::npos) << text;
  EXPECT_EQ(driver().send(Child(run.main, 1030), kCbGetCount, 0, 0), 1);
  Close(run);
  EXPECT_EQ(Setting(folder, "保存先指定.txt"), text + "\r\n");
}

struct CodecCodeCase {
  const char* name;
  std::string record;
  const char* shown;
};

void PrintTo(const CodecCodeCase& c, std::ostream* os) { *os << c.name; }

// A 64-byte compressor record whose codec code (offset 16) is `code`.
std::string CompRecord(const std::string& code) {
  std::string record(64, '\0');
  record[0] = 64;
  record.replace(16, 4, code);
  return record;
}

class CodecCodeTest : public RecorderSpineTest, public ::testing::WithParamInterface<CodecCodeCase> {};

TEST_P(CodecCodeTest, CompDataTxtShowsTheCodecsCodeBesideTheButton) {
  ProductFolder folder("Vemtra");
  WriteSetting(folder, "CompData.txt", GetParam().record);
  Recorder run = Start(folder);
  EXPECT_TEXT_EQ(driver().text(run.main, 1011), GetParam().shown);
  Close(run);
  EXPECT_EQ(Setting(folder, "CompData.txt"), GetParam().record) << "the record is only read";
}

INSTANTIATE_TEST_SUITE_P(
    Records, CodecCodeTest,
    ::testing::Values(CodecCodeCase{"FourLetters", CompRecord("ZMBV"), "ZMBV"},
                      CodecCodeCase{"NulEndsTheCode", CompRecord(std::string("AB\0D", 4)), "AB"},
                      CodecCodeCase{"LongerFile", CompRecord("XVID") + "extra", "XVID"},
                      CodecCodeCase{"ShorterThanARecord", CompRecord("ZMBV").substr(0, 40), ""}),
    [](const ::testing::TestParamInfo<CodecCodeCase>& info) { return std::string(info.param.name); });

TEST_F(RecorderSpineTest, CodecButtonOpensTheChooserAndCancellingChangesNothing) {
  ProductFolder folder("Vemtra");
  WriteSetting(folder, "CompData.txt", CompRecord("ZMBV"));
  Recorder run = Start(folder);
  driver().click(run.main, 1033);
  const Hwnd chooser = driver().waitWindow("#32770", " XviDがおすすめ(圧縮設定の説明をご覧下さい)", run.pid);
  driver().answer(chooser, 2);  // IDCANCEL
  driver().waitGone(chooser);
  EXPECT_TEXT_EQ(driver().text(run.main, 1011), "ZMBV");
  Close(run);
  EXPECT_EQ(Setting(folder, "CompData.txt"), CompRecord("ZMBV"));
}

TEST_F(RecorderSpineTest, StopTimerArmsOnlyWithATimeAndAnyFieldChangeDisarmsIt) {
  ProductFolder folder("Vemtra");
  Recorder run = Start(folder);
  auto expectTimer = [&](int checked, const char* text) {
    std::string last;
    WaitUntil([&] { return (last = driver().text(run.main, 1002)) == text; }, 5000,
              std::string("stop-timer text \"") + text + "\", seen \"" + last + "\"");
    EXPECT_EQ(driver().state(run.main, 1002).checked, checked);
  };
  driver().setText(run.main, 1003, "0");
  driver().setText(run.main, 1000, "0");
  driver().setText(run.main, 1005, "0");
  driver().click(run.main, 1002);
  expectTimer(0, "停止タイマー OFF状態");

  driver().setText(run.main, 1003, "1");
  driver().setText(run.main, 1000, "30");
  driver().click(run.main, 1002);
  expectTimer(1, "停止タイマー ON ●");

  driver().setText(run.main, 1005, "5");
  expectTimer(0, "停止タイマー OFF状態");
  Close(run);
}

TEST_F(RecorderSpineTest, HelpCodecAdviceAndOutputFolderExplanation) {
  ProductFolder folder("Vemtra");
  Recorder run = Start(folder);

  driver().command(run.main, 1050);  // 使い方(&T)
  Hwnd help = driver().waitWindow("NORMAL2", "Vemtra ヘルプ", run.pid);
  const Rect mainRect = driver().rect(run.main);
  const Rect helpRect = driver().rect(help);
  EXPECT_EQ(helpRect.left, mainRect.left + 2);
  EXPECT_EQ(helpRect.top, mainRect.top + 8);
  EXPECT_EQ(helpRect.width(), 245);
  EXPECT_EQ(helpRect.height(), 360);
  const std::string usage = "（‘ v‘）/●● 使い方 ●● このウィンドウは動画の上にかぶらない位置に移動させて形を調節して使えます。\r\n";
  EXPECT_EQ(driver().text(help, 1010).substr(0, usage.size()), usage);
  std::cout << "help window: " << SaveScreenshot("help-window") << std::endl;
  driver().command(help, 1067);  // 音(&O)
  const std::string sound = "<(;_ _)>●● 音が無い！ ●● \r\n";
  WaitUntil([&] { return driver().text(help, 1010).substr(0, sound.size()) == sound; }, 5000, "the sound topic");
  driver().command(help, 1071);  // 閉じる
  driver().waitGone(help);
  driver().command(run.main, 1050);  // shows the topic last chosen
  help = driver().waitWindow("NORMAL2", "Vemtra ヘルプ", run.pid);
  EXPECT_EQ(driver().text(help, 1010).substr(0, sound.size()), sound);

  driver().command(run.main, 1049);  // 圧縮設定の説明(&A)
  Hwnd advice = driver().waitWindow("NORMAL5", "圧縮設定の説明", run.pid);
  bool found = false;
  for (const ControlFacts& c : driver().children(advice)) {
    found = found || c.text == "（‘ v‘）/　コーデック　Xvid (uManiac) のインストールをお勧めします。（無料）";
  }
  EXPECT_TRUE(found);

  driver().command(run.main, 1051);  // 保存先指定(&H)
  MessageBoxFacts box = driver().waitMessageBox(run.pid);
  EXPECT_TEXT_EQ(box.title, "保存先のかえ方");
  EXPECT_TEXT_EQ(box.text,
                 "（‘ v‘）/保存先を変えたいときは、保存したいフォルダの『中』にあるファイルかフォルダをどれでもいいから"
                 "メインウィンドウにドロップしてください。\r\nデスクトップならデスクトップ上にあるファイルかフォルダでOKです。");
  driver().answer(box.hwnd, 1);
  driver().waitGone(box.hwnd);
  Close(run);
}

TEST_F(RecorderSpineTest, StartMakesFiftySoundBufferFilesAndCloseRemovesTheScratchFiles) {
  ProductFolder folder("Vemtra");
  for (const char* name : {"Audio0.wav", "Audio50.wav", "Video.avi", "vs.avi", "CAviTest2.avi", "Video3.avi", "ForLumask.txt"}) {
    WriteFile(folder.file(name), "old");
  }
  Recorder run = Start(folder);
  for (const char* name : {"Audio0.wav", "Audio50.wav", "Video.avi", "vs.avi", "CAviTest2.avi"}) {
    EXPECT_FALSE(PathExists(folder.file(name))) << name << " is a leftover of an earlier run";
  }
  for (int n = 0; n < 50; ++n) {
    const std::string path = folder.file("ファイルマップフォルダ/Vemtra_Free_glWaveP" + std::to_string(n) + ".txt");
    ASSERT_TRUE(PathExists(path)) << path;
    EXPECT_EQ(std::filesystem::file_size(path), 328104000u) << path;
  }
  EXPECT_TRUE(PathExists(folder.file("ファイルマップフォルダ/AlphaBlendBBTableC0.txt")));
  EXPECT_TRUE(PathExists(folder.file("ファイルマップフォルダ/Vemtra_glMainWndMemDC0.txt")));
  Close(run);
  EXPECT_FALSE(PathExists(folder.file("Video3.avi")));
  EXPECT_FALSE(PathExists(folder.file("ForLumask.txt")));
  EXPECT_FALSE(PathExists(folder.file("ファイルマップフォルダ")));
}

TEST_F(RecorderSpineTest, ScreenshotsOfEasyAndNormalMode) {
  ProductFolder folder("Vemtra");
  Recorder run = Start(folder);
  const Rect client = driver().clientRect(run.main);
  // Below the buttons the window shows its off-screen picture: idle green.
  const std::string easy = SaveScreenshot("easy-mode");
  EXPECT_EQ(PixelAt(easy, client.left + 150, client.top + 56), kIdleGreen) << easy;

  driver().click(run.main, 1022);
  WaitUntil([&] { return driver().rect(run.main).width() == 1100; }, 5000, "the window becomes 1100 wide");
  const std::string normal = SaveScreenshot("normal-mode");
  EXPECT_EQ(PixelAt(normal, client.left + 700, client.top + 56), kIdleGreen) << normal;
  std::cout << "screenshots: " << easy << " " << normal << std::endl;
  Close(run);
}

}  // namespace
