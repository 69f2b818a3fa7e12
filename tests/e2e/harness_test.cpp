// Tests of the e2e harness itself, with VemtraTestWindow.exe standing in for
// a product program: each driver command against a window whose controls
// report what happened.
#include <filesystem>

#include "e2e_test.h"
#include "line_protocol.h"

using namespace vemtra_e2e;

namespace {

// Control ids of VemtraTestWindow.exe.
enum {
  kLabel = 101, kAskButton = 102, kEdit = 103, kCheck = 104, kDisabled = 105,
  kAnswer = 106, kDrag = 107, kKey = 108, kFolder = 109, kChars = 110, kMenuExit7 = 201,
};

class HarnessTest : public E2eTest {
 protected:
  // A copy of the folder holding the test program, under the chosen name;
  // the program accepts only names ending in "VemtraTest".
  static ProductFolder TestFolder(const std::string& name) {
    return ProductFolder(name, E2eEnv::Get().driverDir());
  }
  int StartTestWindow(const ProductFolder& folder) {
    return driver().start(folder.exe("VemtraTestWindow.exe"), folder.winPath());
  }
  Hwnd OpenTestWindow(const ProductFolder& folder) {
    return driver().waitWindow("VemtraTestWindow", "テスト窓　日本語", StartTestWindow(folder));
  }
  void ExpectTextSoon(Hwnd hwnd, int id, const std::string& expected) {
    std::string last;
    WaitUntil([&] { return (last = driver().text(hwnd, id)) == expected; }, 5000,
              "control " + std::to_string(id) + " shows \"" + last + "\", not \"" + expected + "\"");
  }
};

TEST(LineProtocol, FieldsKeepTabsLineBreaksAndBackslashes) {
  std::vector<std::string> fields = {"text", "a\tb", "行1\r\n行2", "Z:\\tmp\\x", "", "end\\"};
  EXPECT_EQ(SplitFields(JoinFields(fields)), fields);
  EXPECT_EQ(JoinFields(fields).find('\n'), std::string::npos);
}

TEST(WinePaths, LinuxAndWinePathsNameTheSameFile) {
  EXPECT_EQ(ToWinPath("/tmp/a b/Vemtra"), "Z:\\tmp\\a b\\Vemtra");
  EXPECT_EQ(FromWinPath("Z:\\tmp\\個人設定"), "/tmp/個人設定");
  EXPECT_THROW(ToWinPath("relative/path"), E2eError);
  EXPECT_THROW(FromWinPath("C:\\windows"), E2eError);
}

TEST(MediaProbe, ReportsStreamsFramesAndSoundOfAnAvi) {
  TempFolder temp;
  std::string avi = temp.path() + "/probe.avi";
  CommandResult made = RunCommand({"ffmpeg", "-v", "error", "-f", "lavfi", "-i", "testsrc=size=64x48:rate=30",
                                   "-f", "lavfi", "-i", "sine=frequency=1000:sample_rate=44100", "-t", "1",
                                   "-pix_fmt", "bgr0", "-c:v", "zmbv", "-c:a", "pcm_s16le", "-ac", "2", avi},
                                  120000, false, true);
  ASSERT_EQ(made.exit_code, 0) << made.output;
  MediaFacts facts = ProbeMedia(avi, true);
  EXPECT_EQ(facts.format, "avi");
  EXPECT_EQ(facts.count("video"), 1);
  EXPECT_EQ(facts.count("audio"), 1);
  const StreamFacts& video = facts.first("video");
  EXPECT_EQ(video.codec, "zmbv");
  EXPECT_EQ(video.width, 64);
  EXPECT_EQ(video.height, 48);
  EXPECT_EQ(video.frames, 30);
  EXPECT_EQ(video.read_frames, 30);
  const StreamFacts& audio = facts.first("audio");
  EXPECT_EQ(audio.codec, "pcm_s16le");
  EXPECT_EQ(audio.sample_rate, 44100);
  EXPECT_EQ(audio.channels, 2);
  EXPECT_NEAR(audio.duration, 1.0, 0.05);
  EXPECT_EQ(FrameMd5s(avi).size(), 30u);
  EXPECT_THROW(ProbeMedia(temp.path() + "/missing.avi"), E2eError);
}

TEST_F(HarnessTest, WrongFolderMessageIsReadAndAnsweredAndTheExitCodeReported) {
  ProductFolder folder = TestFolder("VemtraTestX");
  int pid = StartTestWindow(folder);
  MessageBoxFacts box = driver().waitMessageBox(pid);
  EXPECT_TEXT_EQ(box.title, "VemtraTest");
  EXPECT_TEXT_EQ(box.text, "フォルダが違います。\r\n一旦終了します。");
  ASSERT_EQ(box.buttons.size(), 1u);
  EXPECT_EQ(box.buttons[0].first, 1);  // IDOK
  driver().answer(box.hwnd, 1);
  EXPECT_EQ(driver().waitExit(pid), 0);
  EXPECT_FALSE(PathExists(folder.file("作成フォルダ")));
}

TEST_F(HarnessTest, ProgramRunsInTheChosenFolderAndItsTextsReadBackAsUtf8) {
  ProductFolder folder = TestFolder("VemtraTest");
  Hwnd hwnd = OpenTestWindow(folder);
  EXPECT_TEXT_EQ(driver().text(hwnd), "テスト窓　日本語");
  EXPECT_EQ(driver().className(hwnd), "VemtraTestWindow");
  EXPECT_TEXT_EQ(driver().text(hwnd, kLabel), "日本語の表示テスト：録画！範囲指定　ソ表能");
  EXPECT_EQ(driver().text(hwnd, kFolder), folder.winPath());
  EXPECT_TRUE(IsDirectory(folder.file("作成フォルダ")));
  Rect r = driver().rect(hwnd);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.width(), 660);
  EXPECT_EQ(driver().screenSize(), std::make_pair(1920, 1080));
}

TEST_F(HarnessTest, ControlStatesFollowClicks) {
  ProductFolder folder = TestFolder("VemtraTest");
  Hwnd hwnd = OpenTestWindow(folder);
  ControlState disabled = driver().state(hwnd, kDisabled);
  EXPECT_FALSE(disabled.enabled);
  EXPECT_TRUE(disabled.visible);
  EXPECT_THROW(driver().click(hwnd, kDisabled), E2eError);
  EXPECT_EQ(driver().state(hwnd, kCheck).checked, 0);
  driver().click(hwnd, kCheck);
  WaitUntil([&] { return driver().state(hwnd, kCheck).checked == 1; }, 5000, "the box is checked");
  EXPECT_THROW(driver().text(hwnd, 999), E2eError);
}

TEST_F(HarnessTest, MessageBoxOfAButtonIsAnsweredByItsText) {
  ProductFolder folder = TestFolder("VemtraTest");
  Hwnd hwnd = OpenTestWindow(folder);
  driver().click(hwnd, kAskButton);
  MessageBoxFacts box = driver().waitMessageBox(0, kDefaultTimeoutMs, "確認");
  EXPECT_TEXT_EQ(box.title, "確認");
  EXPECT_TEXT_EQ(box.text, "続けますか？\r\n二行目です。");
  std::vector<std::pair<int, std::string>> buttons = {{6, "はい(&Y)"}, {7, "いいえ(&N)"}};
  EXPECT_EQ(box.buttons, buttons);
  driver().answer(box.hwnd, "いいえ(N)");
  driver().waitGone(box.hwnd);
  ExpectTextSoon(hwnd, kAnswer, "いいえ");
}

TEST_F(HarnessTest, EditsTakeSetAndTypedTexts) {
  ProductFolder folder = TestFolder("VemtraTest");
  Hwnd hwnd = OpenTestWindow(folder);
  driver().setText(hwnd, kEdit, "入力テキスト");
  EXPECT_TEXT_EQ(driver().text(hwnd, kEdit), "入力テキスト");
  driver().focus(hwnd);
  EXPECT_EQ(driver().foreground(), hwnd);
  driver().type("abc日本");
  ExpectTextSoon(hwnd, kChars, "abc日本");
}

TEST_F(HarnessTest, MouseDragAndKeysArriveAsRealInput) {
  ProductFolder folder = TestFolder("VemtraTest");
  Hwnd hwnd = OpenTestWindow(folder);
  Rect client = driver().clientRect(hwnd);
  driver().drag(client.left + 50, client.top + 180, client.left + 300, client.top + 200, 5);
  ExpectTextSoon(hwnd, kDrag, "50,180-300,200");
  EXPECT_EQ(driver().cursor(), std::make_pair(client.left + 300, client.top + 200));
  driver().focus(hwnd);
  driver().key("ESC");
  ExpectTextSoon(hwnd, kKey, "27");
  driver().key("F5");
  ExpectTextSoon(hwnd, kKey, "116");
}

TEST_F(HarnessTest, XEventsReachWineWindowsToo) {
  ProductFolder folder = TestFolder("VemtraTest");
  Hwnd hwnd = OpenTestWindow(folder);
  Rect client = driver().clientRect(hwnd);
  XDrag(client.left + 20, client.top + 170, client.left + 200, client.top + 190, 4);
  ExpectTextSoon(hwnd, kDrag, "20,170-200,190");
  XKey("Escape");
  ExpectTextSoon(hwnd, kKey, "27");
}

TEST_F(HarnessTest, MenuCommandEndsTheProgramWithItsExitCode) {
  ProductFolder folder = TestFolder("VemtraTest");
  int pid = StartTestWindow(folder);
  Hwnd hwnd = driver().waitWindow("VemtraTestWindow", "", pid);
  EXPECT_TRUE(driver().running(pid));
  driver().command(hwnd, kMenuExit7);
  EXPECT_EQ(driver().waitExit(pid), 7);
  EXPECT_FALSE(driver().running(pid));
  EXPECT_EQ(driver().findWindow("VemtraTestWindow", "", pid), 0u);
}

TEST_F(HarnessTest, WhatAStartedProgramPrintsDoesNotDisturbTheReplies) {
  TempFolder temp;
  int pid = driver().start("C:\\windows\\system32\\hostname.exe", ToWinPath(temp.path()));
  EXPECT_EQ(driver().waitExit(pid), 0);
  EXPECT_EQ(driver().call({"ping"}), std::vector<std::string>{"pong"});
}

TEST_F(HarnessTest, KillEndsARunningProgram) {
  ProductFolder folder = TestFolder("VemtraTest");
  int pid = StartTestWindow(folder);
  driver().waitWindow("VemtraTestWindow", "", pid);
  driver().kill(pid);
  EXPECT_FALSE(driver().running(pid));
  EXPECT_EQ(driver().waitExit(pid, 1000), 1);
}

TEST_F(HarnessTest, ANewDriverEndsWhatATimedOutTestLeftRunning) {
  ProductFolder folder = TestFolder("VemtraTest");
  auto stale = std::make_unique<Driver>();
  int pid = stale->start(folder.exe("VemtraTestWindow.exe"), folder.winPath());
  Hwnd hwnd = stale->waitWindow("VemtraTestWindow", "", pid);
  Driver fresh;  // what the next test starts with
  fresh.waitGone(hwnd, 5000);
  EXPECT_EQ(fresh.findWindow("VemtraTestWindow", ""), 0u);
  EXPECT_THROW(stale->call({"ping"}, 5000), E2eError);  // the old driver is gone too
}

TEST_F(HarnessTest, HeldFileCannotBeOpenedAgainUntilReleased) {
  TempFolder temp;
  std::string path = temp.path() + "/保持.txt";
  WriteFile(path, "x");
  int held = driver().hold(ToWinPath(path));
  EXPECT_THROW(driver().hold(ToWinPath(path)), E2eError);
  driver().release(held);
  driver().release(driver().hold(ToWinPath(path)));
  EXPECT_EQ(driver().waitFile(ToWinPath(path), 1000), 1);
  EXPECT_TRUE(driver().exists(ToWinPath(temp.path())));
}

TEST_F(HarnessTest, TimeoutFailsWithItsReasonAndAScreenshot) {
  try {
    driver().waitWindow("NoSuchClass", "", 0, 300);
    FAIL() << "waitWindow returned";
  } catch (const E2eError& e) {
    std::string what = e.what();
    EXPECT_NE(what.find("timeout: no visible window of class \"NoSuchClass\""), std::string::npos) << what;
    size_t at = what.find("screenshot: ");
    ASSERT_NE(at, std::string::npos) << what;
    std::string png = what.substr(at + 12, what.find('\n', at) - at - 12);
    EXPECT_TRUE(PathExists(png)) << png;
    std::filesystem::remove(png);  // an expected failure leaves nothing behind
  }
}

TEST_F(HarnessTest, WaveInDeviceZeroHearsWhatIsPlayedIntoTheSink) {
  std::vector<std::string> devices = driver().call({"sound_devices"});
  ASSERT_GE(devices.size(), 3u);
  EXPECT_GE(std::stoi(devices[0]), 1) << "no wave-in device";
  EXPECT_GE(std::stoi(devices[1]), 1) << "no wave-out device";

  // The first recording of a fresh prefix may deliver nothing while the
  // sound path starts, so short recordings are repeated until one has data.
  auto record = [&](const std::string& what) {
    std::vector<std::string> result;
    WaitUntil([&] {
      result = driver().call({"wave_in_peak", "0", "1500"});
      return std::stoll(result.at(0)) > 0;
    }, 30000, "wave-in device 0 records something (" + what + ")");
    return std::stoi(result.at(1));
  };
  EXPECT_LT(record("silence"), 300);

  TempFolder temp;
  std::string wav = temp.path() + "/tone.wav";
  WriteToneWav(wav, 1000, 60, 2, 44100, 0.5);
  SinkPlayer player(wav);
  int peak = 0;
  // A half-scale tone arrives near 16384; only its presence matters here.
  WaitUntil([&] { return (peak = record("tone")) > 8000; }, 30000,
            "the tone played into vsink is heard (last peak " + std::to_string(peak) + ")");
}

TEST_F(HarnessTest, ScreenshotShowsAJapaneseWindow) {
  ProductFolder folder = TestFolder("VemtraTest");
  Hwnd hwnd = OpenTestWindow(folder);
  Rect label = driver().rect(hwnd, kLabel);
  std::string png = SaveScreenshot("japanese");
  // Drawn text gives many shades; a blank or boxes-only area gives a few.
  EXPECT_GT(CountColours(png), 10);
  EXPECT_EQ(PixelAt(png, 5, 5), 0x000000u);  // outside every window: the empty screen
  EXPECT_NE(PixelAt(png, label.left + 2, label.top + 1), 0x000000u);
  Rect window = driver().rect(hwnd);
  std::string part = SaveScreenshotOf("japanese-window", window.left, window.top, window.right, window.bottom);
  EXPECT_EQ(PixelAt(part, label.left - window.left + 2, label.top - window.top + 1),
            PixelAt(png, label.left + 2, label.top + 1));
  std::cerr << "[e2e] Japanese texts for the eye: " << part << "\n";
}

}  // namespace
