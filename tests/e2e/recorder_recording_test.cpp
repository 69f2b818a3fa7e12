// Recording under Wine: a moving scene and a tone played into the sink are
// recorded through the real controls ("範囲指定", a drag, "録画！", Esc, the
// split and cancel menu items), and the files in the output folder are
// checked with ffprobe: names, codec, frame rate, sound format and lengths.
#include <chrono>
#include <cmath>
#include <regex>
#include <set>
#include <thread>

#include "recorder_e2e.h"
#include "media_probe.h"
#include "sound_helpers.h"
#include "e2e_env.h"

using namespace vemtra_e2e;

namespace {

constexpr int kLongMs = 120000;

// The scene window's place (tests/scene).
constexpr int kSceneX = 100, kSceneY = 100, kSceneW = 480, kSceneH = 300;

std::string CompRecord(const std::string& code) {
  std::string record(64, '\0');
  record[0] = 64;
  record.replace(16, 4, code);
  return record;
}

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  for (const std::string& n : ListFolder(folder)) names.insert(n);
  return names;
}

class RecorderRecordingTest : public RecorderE2eTest {
 protected:
  ProductFolder folder{"Vemtra"};
  TempFolder out;
  Recorder run;

  // Starts the scene and the recorder, sets the output folder and selects
  // the scene's rectangle; returns when the standby capture writes file 0.
  void Ready(const std::string& typedName = "", int x1 = kSceneX, int y1 = kSceneY, int x2 = kSceneX + kSceneW,
             int y2 = kSceneY + kSceneH) {
    WriteSetting(folder, "CompData.txt", CompRecord("ZMBV"));
    const std::string scene = E2eEnv::Get().driverDir() + "/VemtraScene.exe";
    driver().start(ToWinPath(scene), folder.winPath());
    driver().waitWindow("VemtraScene", "VemtraScene", 0, 30000);
    run = Start(folder);
    driver().setText(run.main, kIdSaveFolder, ToWinPath(out.path()));
    if (!typedName.empty()) driver().setText(run.main, kIdFileName, typedName);
    driver().click(run.main, kIdHanniShitei);
    Hwnd hanni = driver().waitWindow("NORMAL1", "Vemtra", run.pid, 30000);
    driver().drag(x1, y1, x2, y2, 12);
    MessageBoxFacts box = driver().waitMessageBox(run.pid, 30000);
    EXPECT_TEXT_EQ(box.title, "変更の保存");
    driver().answer(box.hwnd, kIdNo);
    driver().waitGone(hanni, 30000);
    WaitForPathWhileRunning(folder.file("Video0.avi"), run.pid, kLongMs);
  }

  void Record() {
    PressRecord(driver(), run.main, folder.path(), kLongMs);
    EXPECT_FALSE(PathExists(folder.file("Video0.avi"))) << "the standby's scratch file gives its room to the recording";
  }

  // Records three files of `ms` milliseconds each: two splits by the menu.
  void RecordThreeFiles(int ms) {
    Record();
    Pause(ms);
    driver().command(run.main, kMenuSplit);
    WaitForPathWhileRunning(folder.file("Video2.avi"), run.pid, kLongMs);
    Pause(ms);
    driver().command(run.main, kMenuSplit);
    WaitForPathWhileRunning(folder.file("Video3.avi"), run.pid, kLongMs);
    Pause(ms);
  }

  // Esc stops; returns when the finalisation has ended (the standby runs
  // again and the scratch files of the recording are gone).
  void StopByEsc() {
    driver().key("ESC");
    Finished();
  }

  void Finished() {
    WaitUntil([&] { return !PathExists(folder.file("Video1.avi")) && !PathExists(folder.file("Audio1.wav")); },
              kLongMs, "the finalisation to delete the scratch files");
    WaitForPathWhileRunning(folder.file("Video0.avi"), run.pid, kLongMs);
    WaitUntil([&] { return driver().state(run.main, kIdRokuga).visible; }, kLongMs, "録画！ again");
  }

  std::string Out(const std::string& name) const { return out.path() + "/" + name; }

  // Video and sound of a delivered file: ZMBV at 30 frames per second,
  // PCM of `channels` channels, lengths equal within one frame.
  void ExpectJoined(const std::string& path, int channels) {
    MediaFacts m = ProbeMedia(path, true);
    ASSERT_EQ(m.count("video"), 1);
    ASSERT_EQ(m.count("audio"), 1);
    const StreamFacts& v = m.first("video");
    const StreamFacts& a = m.first("audio");
    EXPECT_EQ(v.codec, "zmbv");
    // The 480 x 300 range in a 16:9 frame of even sides: k = 300 / 9 + 1.
    EXPECT_EQ(v.width, 544);
    EXPECT_EQ(v.height, 306);
    EXPECT_GT(v.read_frames, 30) << path;
    EXPECT_NEAR(v.duration, v.read_frames / 30.0, 0.001) << "30 frames per second";
    EXPECT_EQ(a.codec, "pcm_s16le");
    EXPECT_EQ(a.sample_rate, 44100);
    EXPECT_EQ(a.channels, channels);
    EXPECT_NEAR(a.duration, v.duration, 1.0 / 30) << "video and sound last equally long";
  }
};

TEST_F(RecorderRecordingTest, TenSecondsWithSoundGiveOneTimeNamedAviAndItsWav) {
  const std::string tone = out.path() + "/../tone-" + std::to_string(::getpid()) + ".wav";
  WriteToneWav(tone, 1000, 30, 2);
  SinkPlayer player(tone);
  Ready();
  Record();
  Pause(10000);
  StopByEsc();
  const std::set<std::string> names = Names(out.path());
  ASSERT_EQ(names.size(), 2u) << "one AVI and its WAV";
  const std::string avi = *names.begin();
  const std::regex pattern(R"((\d\dm\d\dd \d\dh\d\dm\d\ds\d\d+)\.avi)");
  std::smatch match;
  ASSERT_TRUE(std::regex_match(avi, match, pattern)) << avi;
  EXPECT_EQ(names.count(match[1].str() + "s1.wav"), 1u);
  ExpectJoined(Out(avi), 2);
  MediaFacts m = ProbeMedia(Out(avi));
  EXPECT_GT(m.first("video").duration, 8.0) << "about ten seconds were recorded";
  MediaFacts w = ProbeMedia(Out(match[1].str() + "s1.wav"));
  EXPECT_NEAR(w.duration, m.first("video").duration, 1.0 / 30);
  std::remove(tone.c_str());
  Close(run);
}

TEST_F(RecorderRecordingTest, TwoSplitsGiveThreeFilesWithZerosAndNumberedWavs) {
  Ready("base");
  RecordThreeFiles(3000);
  StopByEsc();
  EXPECT_EQ(Names(out.path()), (std::set<std::string>{"base.avi", "base0.avi", "base00.avi", "bases1.wav",
                                                      "bases2.wav", "bases3.wav"}));
  for (const char* name : {"base.avi", "base0.avi", "base00.avi"}) ExpectJoined(Out(name), 2);
  Close(run);
}

TEST_F(RecorderRecordingTest, AnExistingNameMakesTheFirstFileEndInZero) {
  WriteFile(Out("take.avi"), "earlier");
  Ready("take");
  Record();
  Pause(3000);
  StopByEsc();
  EXPECT_EQ(ReadFile(Out("take.avi")), "earlier");
  EXPECT_EQ(Names(out.path()), (std::set<std::string>{"take.avi", "take0.avi", "takes1.wav"}));
  ExpectJoined(Out("take0.avi"), 2);
  Close(run);
}

TEST_F(RecorderRecordingTest, TypedNameIsCleaned) {
  Ready("a:b?c");
  Record();
  Pause(3000);
  StopByEsc();
  EXPECT_EQ(Names(out.path()), (std::set<std::string>{"a：b？c.avi", "a：b？cs1.wav"}));
  Close(run);
}

// A name typed while the finalisation runs holds it before the files are
// named, until "ファイル名決定" is pressed; then every file takes that name.
// Three files give the finalisation their sound to write first, so the name
// is in before it is needed.
TEST_F(RecorderRecordingTest, ANameTypedDuringTheFinalisationWaitsForFileNameDecide) {
  Ready();
  RecordThreeFiles(2000);
  driver().key("ESC");
  WaitUntil([&] { return driver().state(run.main, kIdFileName).visible; }, kLongMs, "the file-name box");
  driver().setText(run.main, kIdFileName, "later");
  WaitUntil([&] { return driver().state(run.main, kIdFileNameDecide).visible; }, kLongMs, "ファイル名決定");
  Pause(3000);
  EXPECT_EQ(Names(out.path()), std::set<std::string>{}) << "nothing is named before the name is decided";
  driver().click(run.main, kIdFileNameDecide);
  Finished();
  EXPECT_FALSE(driver().state(run.main, kIdFileNameDecide).visible);
  EXPECT_EQ(Names(out.path()), (std::set<std::string>{"later.avi", "later0.avi", "later00.avi", "laters1.wav",
                                                      "laters2.wav", "laters3.wav"}));
  Close(run);
}

TEST_F(RecorderRecordingTest, NoSoundFileWhenNotWanted) {
  Ready("nowav");
  driver().command(run.main, kMenuOnseiIranai);
  Record();
  Pause(3000);
  StopByEsc();
  EXPECT_EQ(Names(out.path()), (std::set<std::string>{"nowav.avi"}));
  ExpectJoined(Out("nowav.avi"), 2);
  Close(run);
}

TEST_F(RecorderRecordingTest, WithoutSoundTheAviHasNoSoundStreamAndTheRecordedLength) {
  Ready("mute");
  driver().command(run.main, kMenuOtoNashi);
  Record();
  const auto begin = std::chrono::steady_clock::now();
  Pause(4000);
  driver().key("ESC");
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  Finished();
  EXPECT_EQ(Names(out.path()), (std::set<std::string>{"mute.avi"}));
  MediaFacts m = ProbeMedia(Out("mute.avi"), true);
  EXPECT_EQ(m.count("audio"), 0);
  ASSERT_EQ(m.count("video"), 1);
  // The sound clock still ran: the video lasts as long as the recording,
  // which lies between the pause before Esc and the time until Esc.
  EXPECT_GT(m.first("video").duration, 1.0);
  EXPECT_LT(m.first("video").duration, wall + 1.0);
  Close(run);
}

TEST_F(RecorderRecordingTest, ThePauseKeyTogglesOncePerPressAndThePauseIsLeftOut) {
  Ready("paused");
  Record();
  const auto begin = std::chrono::steady_clock::now();
  Pause(2000);
  driver().key("PAUSE");
  WaitUntil([&] { return driver().state(run.main, kIdPause).checked; }, kLongMs, "paused");
  Pause(1000);
  EXPECT_TRUE(driver().state(run.main, kIdPause).checked) << "one press pauses once, it does not toggle back";
  const auto pauseBegin = std::chrono::steady_clock::now();
  Pause(3000);
  driver().key("PAUSE");
  WaitUntil([&] { return !driver().state(run.main, kIdPause).checked; }, kLongMs, "resumed");
  const double paused = std::chrono::duration<double>(std::chrono::steady_clock::now() - pauseBegin).count();
  Pause(2000);
  driver().key("ESC");
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  Finished();
  ExpectJoined(Out("paused.avi"), 2);
  EXPECT_LT(ProbeMedia(Out("paused.avi")).first("video").duration, wall - paused + 1.0)
      << "the paused seconds are not in the file";
  Close(run);
}

TEST_F(RecorderRecordingTest, TheStopTimerEndsTheRecordingAfterItsSeconds) {
  Ready("timed");
  driver().setText(run.main, 1003, "0");
  driver().setText(run.main, 1000, "0");
  driver().setText(run.main, 1005, "4");
  driver().click(run.main, 1002);
  WaitUntil([&] { return driver().state(run.main, 1002).checked == 1; }, 30000, "the stop timer armed");
  Record();
  // Nothing but the timer stops this recording.
  Finished();
  ExpectJoined(Out("timed.avi"), 2);
  const double seconds = ProbeMedia(Out("timed.avi")).first("video").duration;
  EXPECT_GT(seconds, 3.9) << "the recording lasts the timer's seconds of sound";
  EXPECT_LT(seconds, 8.0);
  Close(run);
}

TEST_F(RecorderRecordingTest, PauseAndEscEndTheWaitForAFirstChangedPicture) {
  // A range where nothing moves: the first pictures of a file are taken
  // only when they change, so the capture waits; the keys must still work.
  Ready("still", 900, 600, 1200, 800);
  Record();
  Pause(1000);
  driver().key("PAUSE");
  WaitUntil([&] { return driver().state(run.main, kIdPause).checked; }, kLongMs, "paused during the wait");
  driver().key("PAUSE");
  WaitUntil([&] { return !driver().state(run.main, kIdPause).checked; }, kLongMs, "resumed");
  driver().key("ESC");
  Finished();
  EXPECT_TRUE(Names(out.path()).empty()) << "no picture changed, so no frame was recorded";
  Close(run);
}

TEST_F(RecorderRecordingTest, CancelDeliversNothing) {
  Ready("cancelled");
  Record();
  Pause(3000);
  driver().command(run.main, kMenuRecCancel);
  Finished();
  EXPECT_TRUE(Names(out.path()).empty());
  Close(run);
}

TEST_F(RecorderRecordingTest, StoppingInStandbyDeliversNothing) {
  Ready("standby");
  Pause(2000);
  driver().key("ESC");
  // The standby restarts: file 0 is made anew.
  WaitUntil([&] { return driver().state(run.main, kIdRokuga).visible; }, kLongMs, "録画！");
  Pause(2000);
  WaitForPathWhileRunning(folder.file("Video0.avi"), run.pid, kLongMs);
  EXPECT_TRUE(Names(out.path()).empty());
  Close(run);
}

}  // namespace
