// Base of the recorder's end-to-end tests: start Vemtra.exe in a product
// folder and wait until its start-up work is done, close it like a user,
// read and write its settings files.
#pragma once

#include <filesystem>
#include <string>

#include "e2e_test.h"
#include "recorder_ids.h"
#include "recorder_steps.h"

namespace vemtra_e2e {

struct Recorder {
  int pid = 0;
  Hwnd main = 0;
};

class RecorderE2eTest : public E2eTest {
 protected:
  static constexpr int kStartTimeoutMs = 60000;
  static constexpr unsigned kWmClose = 0x0010;

  // Starts the recorder and waits until its one-shot start-up work (sound
  // buffers, then the busy faces) is done.
  Recorder Start(const ProductFolder& folder) {
    Recorder run;
    run.pid = driver().start(folder.exe("Vemtra.exe"), folder.winPath());
    run.main = driver().waitWindow("NORMAL0", "Vemtra_Free", run.pid, kStartTimeoutMs);
    WaitForPathWhileRunning(folder.file("ファイルマップフォルダ/BusyMeterBmpCreate11.txt"), run.pid, kStartTimeoutMs);
    return run;
  }
  // Closes the main window as the user does; the settings are saved.
  void Close(const Recorder& run) {
    driver().post(run.main, kWmClose, 0, 0);
    ASSERT_EQ(driver().waitExit(run.pid, 30000), 0);
  }
  static std::string Setting(const ProductFolder& folder, const std::string& name) {
    const std::string path = folder.file("個人設定/" + name);
    return PathExists(path) ? ReadFile(path) : "<missing>";
  }
  static void WriteSetting(const ProductFolder& folder, const std::string& name, const std::string& content) {
    std::filesystem::create_directories(folder.file("個人設定"));
    WriteFile(folder.file("個人設定/" + name), content);
  }
  Hwnd Child(Hwnd parent, int id) {
    for (const ControlFacts& c : driver().children(parent)) {
      if (c.id == id) return c.hwnd;
    }
    ADD_FAILURE() << "no control " << id;
    return 0;
  }
};

}  // namespace vemtra_e2e
