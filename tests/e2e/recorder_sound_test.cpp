// The recorder's sound recording under Wine, driven by WaveRecCheck.exe
// (the recorder's own WaveRec, pause, resume, stop and WaveSaveBufP): a
// tone played into the sink is recorded into a sound buffer and written as
// a WAV file with the right header, frequency and level; two pauses keep
// the file's sound contiguous at the start of its block; without a sound
// server the two device questions appear and each answer does what it says.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

#include <sys/wait.h>

#include "child_process.h"
#include "e2e_test.h"
#include "recorder_ids.h"

using namespace vemtra_e2e;

namespace {


// One WaveRecCheck.exe under Wine, spoken to line by line.
class WaveRecCheck {
 public:
  explicit WaveRecCheck(const std::map<std::string, std::string>& env_changes = {}) {
    const E2eEnv& env = E2eEnv::Get();
    std::map<std::string, std::string> vars = env.vars();
    for (const auto& [k, v] : env_changes) vars[k] = v;
    process_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{env.wine(), env.driverDir() + "/WaveRecCheck.exe"}, vars,
        env.artifactsDir() + "/wave-rec-check.log");
  }
  ~WaveRecCheck() {
    if (process_) {
      process_->write("quit\n");
      int status = 0;
      if (!process_->wait(10000, status)) process_->kill();
    }
  }

  void Send(const std::string& line) {
    if (!process_->write(line + "\n")) throw E2eError("WaveRecCheck: cannot send: " + line);
  }
  std::string Line(int timeout_ms = 60000) {
    std::string reply;
    bool timed_out = false;
    if (!process_->readLine(reply, timeout_ms, timed_out)) {
      throw E2eError(std::string("WaveRecCheck: no answer") + (timed_out ? " (timeout)" : " (ended)"));
    }
    if (!reply.empty() && reply.back() == '\r') reply.pop_back();
    return reply;
  }
  // Sends a command and returns the fields of its "ok" answer.
  std::vector<std::string> Call(const std::string& line, int timeout_ms = 60000) {
    Send(line);
    const std::string reply = Line(timeout_ms);
    if (reply.rfind("ok", 0) != 0) throw E2eError("WaveRecCheck: " + reply + " for \"" + line + "\"");
    std::vector<std::string> fields;
    std::istringstream ss(reply.substr(2));
    std::string f;
    while (ss >> f) fields.push_back(f);
    return fields;
  }
  long long Num(const std::string& line, size_t index) { return std::stoll(Call(line).at(index)); }
  int Exit(int timeout_ms) {
    int status = 0;
    if (!process_->wait(timeout_ms, status)) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  std::unique_ptr<ChildProcess> process_;
};

uint32_t U32(const std::string& b, size_t at) {
  return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 | static_cast<uint8_t>(b[at + 2]) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
uint16_t U16(const std::string& b, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

// A value of sox's "stat" report ("RMS     amplitude:  0.353").
double SoxStat(const std::string& report, const std::string& name) {
  const size_t at = report.find(name);
  if (at == std::string::npos) throw E2eError("sox stat has no \"" + name + "\":\n" + report);
  return std::stod(report.substr(report.find(':', at) + 1));
}

class RecorderSoundTest : public E2eTest {
 protected:
  // The run's bytes grow by at least `bytes` from the current count.
  void WaitRunBytes(WaveRecCheck& check, long long bytes, const std::string& what) {
    WaitUntil([&] { return check.Num("bytes\t0", 1) >= bytes; }, 30000, what);
  }
};

TEST_F(RecorderSoundTest, ToneIsRecordedContiguouslyOverTwoPausesAndSavedAsWav) {
  TempFolder temp;
  const std::string tone = temp.path() + "/tone.wav";
  WriteToneWav(tone, 1000, 120, 2, 44100, 0.5);
  SinkPlayer player(tone);

  WaveRecCheck check;
  check.Call("cd\t" + ToWinPath(temp.path()));
  ASSERT_GE(check.Num("devices", 0), 1) << "no wave-in device";
  check.Call("channels\t2");
  check.Call("buffers\t1");
  check.Call("rec\t0");
  EXPECT_EQ(check.Call("flags"), (std::vector<std::string>{"1", "0", "0", "1"})) << "recording, with the device";

  const long long second = 176400;
  WaitRunBytes(check, second, "the first run records a second");
  check.Call("pause\t0");
  const long long first = check.Num("bytes\t0", 0);
  EXPECT_EQ(check.Num("bytes\t0", 1), 0) << "the run's bytes went to the file";
  EXPECT_GE(first, second);
  EXPECT_EQ(first % 4, 0) << "whole stereo sample frames";
  EXPECT_EQ(check.Call("flags")[3], "0") << "a pause closes the device";

  check.Call("resume\t0");
  WaitRunBytes(check, second, "the second run records a second");
  check.Call("pause\t0");
  const long long two = check.Num("bytes\t0", 0);
  EXPECT_GE(two, first + second);

  check.Call("resume\t0");
  WaitRunBytes(check, second, "the third run records a second");
  check.Call("stop\t0");
  const long long total = check.Num("bytes\t0", 0);
  EXPECT_GE(total, two + second);
  EXPECT_EQ(total % 4, 0);
  // Contiguous at the start of the block: nothing was written past the total.
  EXPECT_EQ(check.Call("zeros\t0\t" + std::to_string(total) + "\t" + std::to_string(4 * second))[0], "1");

  const std::string wav = temp.path() + "/recorded.wav";
  check.Call("save\t0\t" + ToWinPath(wav));
  const std::string bytes = ReadFile(wav);
  ASSERT_EQ(bytes.size(), 44u + static_cast<size_t>(total));
  EXPECT_EQ(bytes.substr(0, 4), "RIFF");
  EXPECT_EQ(U32(bytes, 4), total + 36);
  EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(U32(bytes, 16), 16u);
  EXPECT_EQ(U16(bytes, 20), 1u) << "PCM";
  EXPECT_EQ(U16(bytes, 22), 2u) << "channels";
  EXPECT_EQ(U32(bytes, 24), 44100u);
  EXPECT_EQ(U32(bytes, 28), 176400u);
  EXPECT_EQ(U16(bytes, 32), 4u);
  EXPECT_EQ(U16(bytes, 34), 16u);
  EXPECT_EQ(bytes.substr(36, 4), "data");
  EXPECT_EQ(U32(bytes, 40), total);

  // No hole of silence where the runs meet: every 10 ms of the file (after
  // the device's start) carries the tone.
  const size_t frames = static_cast<size_t>(total / 4);
  int quiet_blocks = 0;
  size_t first_loud = frames;
  for (size_t start = 0; start + 441 <= frames; start += 441) {
    int peak = 0;
    for (size_t i = start; i < start + 441; ++i) {
      const int16_t s = static_cast<int16_t>(U16(bytes, 44 + i * 4));
      peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    if (peak > 8000 && first_loud == frames) first_loud = start;
    if (peak < 8000 && first_loud != frames) ++quiet_blocks;
  }
  EXPECT_LT(first_loud, frames / 3) << "the tone is heard early";
  EXPECT_EQ(quiet_blocks, 0) << "silent 10 ms blocks inside the recorded tone";

  // The tone's frequency and level, measured by sox on the tone part of the
  // left channel (sox counts zero crossings over one channel).
  CommandResult stat = RunCommand(
      {"sox", wav, "-n", "trim", std::to_string(first_loud) + "s", "remix", "1", "stat"}, 60000, false, true);
  ASSERT_EQ(stat.exit_code, 0) << stat.output;
  EXPECT_NEAR(SoxStat(stat.output, "Rough   frequency"), 1000.0, 20.0) << stat.output;
  EXPECT_NEAR(SoxStat(stat.output, "RMS     amplitude"), 0.5 / std::sqrt(2.0), 0.04) << stat.output;
  EXPECT_NEAR(SoxStat(stat.output, "Maximum amplitude"), 0.5, 0.05) << stat.output;
}

TEST_F(RecorderSoundTest, StandbyRestartStopsTheProbeAndRenewsBufferZero) {
  TempFolder temp;
  const std::string tone = temp.path() + "/tone.wav";
  WriteToneWav(tone, 440, 60, 1, 44100, 0.5);
  SinkPlayer player(tone);

  WaveRecCheck check;
  check.Call("cd\t" + ToWinPath(temp.path()));
  check.Call("channels\t1");
  check.Call("buffers\t1");
  check.Call("rec\t0");
  WaitUntil([&] { return check.Call("zeros\t0\t0\t88200")[0] == "0"; }, 30000, "the probe records sound");
  check.Call("restart");
  EXPECT_EQ(check.Call("flags"), (std::vector<std::string>{"0", "0", "0", "0"})) << "closed, flag cleared";
  EXPECT_EQ(check.Call("zeros\t0\t0\t1000000")[0], "1") << "buffer 0 starts empty";
  // Mono: a second has 88200 bytes.
  check.Call("rec\t0");
  WaitRunBytes(check, 88200, "recording again after the restart");
  check.Call("stop\t0");
  const std::string wav = temp.path() + "/mono.wav";
  check.Call("save\t0\t" + ToWinPath(wav));
  const std::string bytes = ReadFile(wav);
  ASSERT_GE(bytes.size(), 44u + 88200u);
  EXPECT_EQ(U16(bytes, 22), 1u) << "channels";
  EXPECT_EQ(U32(bytes, 28), 88200u) << "bytes per second";
  EXPECT_EQ(U16(bytes, 32), 2u) << "block align";
}

class RecorderNoSoundServerTest : public RecorderSoundTest {
 protected:
  void SetUp() override {
    check_ = std::make_unique<WaveRecCheck>(std::map<std::string, std::string>{
        {"PULSE_SERVER", "unix:/nonexistent/vemtra-no-sound-server"}});
    check_->Call("cd\t" + ToWinPath(temp_.path()));
    pid_ = static_cast<int>(check_->Num("pid", 0));
    ASSERT_EQ(check_->Num("devices", 0), 0) << "a wave-in device without a sound server";
    check_->Call("buffers\t1");
  }
  // "rec 0": the device cannot be opened, so the first message comes.
  MessageBoxFacts RecAndAnswerTheFirstMessage() {
    check_->Send("rec\t0");
    MessageBoxFacts box = driver().waitMessageBox(pid_, 30000);
    EXPECT_TEXT_EQ(box.title, "録音の失敗");
    EXPECT_TEXT_EQ(box.text, "録音を開始できません。録音デバイスが無いか、無効になっている可能性があります。");
    driver().answer(box.hwnd, kIdOk);
    driver().waitGone(box.hwnd);
    MessageBoxFacts question = driver().waitMessageBox(pid_, 30000);
    EXPECT_TEXT_EQ(question.title, "waveInOpen");
    EXPECT_TEXT_EQ(question.text, "録音せずに録画しますか？");
    return question;
  }

  TempFolder temp_;
  std::unique_ptr<WaveRecCheck> check_;
  int pid_ = 0;
};

TEST_F(RecorderNoSoundServerTest, YesRecordsWithoutSoundOnTheTickClock) {
  MessageBoxFacts question = RecAndAnswerTheFirstMessage();
  driver().answer(question.hwnd, kIdYes);
  driver().waitGone(question.hwnd);
  EXPECT_EQ(check_->Line(), "ok");
  EXPECT_EQ(check_->Call("flags"), (std::vector<std::string>{"1", "1", "1", "0"}))
      << "recording without a device, sound off";

  // The clock still runs: bytes as the device would have recorded them.
  WaitRunBytes(*check_, 17640, "time gives sound bytes");
  check_->Call("pause\t0");
  const long long paused = check_->Num("bytes\t0", 0);
  EXPECT_GE(paused, 17640);
  EXPECT_EQ(paused % 4, 0);
  EXPECT_EQ(check_->Num("bytes\t0", 1), 0) << "no clock while paused";
  check_->Call("resume\t0");
  WaitRunBytes(*check_, 1764, "the clock runs again after the resume");
  check_->Call("stop\t0");
  EXPECT_GT(check_->Num("bytes\t0", 0), paused);

  // The choice holds: the next recording asks nothing.
  check_->Call("rec\t0");
  EXPECT_EQ(check_->Call("flags"), (std::vector<std::string>{"1", "1", "1", "0"}));
  EXPECT_EQ(driver().findWindow("#32770", "", pid_), 0u) << "asked again";
}

TEST_F(RecorderNoSoundServerTest, NoSavesTheSettingsAndEndsTheProgram) {
  MessageBoxFacts question = RecAndAnswerTheFirstMessage();
  driver().answer(question.hwnd, kIdNo);
  driver().waitGone(question.hwnd);
  MessageBoxFacts last = driver().waitMessageBox(pid_, 30000);
  EXPECT_TEXT_EQ(last.title, "録音の失敗");
  EXPECT_TEXT_EQ(last.text,
                 "録音デバイスがある場合は有効に、無い場合はステレオミキサーをインストールしてください。（‘ v‘）/"
                 "　Vemtraは一旦閉じます。");
  driver().answer(last.hwnd, kIdOk);
  EXPECT_EQ(check_->Line(), "destroyed") << "the main window's WM_DESTROY (the settings) came first";
  EXPECT_EQ(check_->Exit(30000), 0);
}

}  // namespace
