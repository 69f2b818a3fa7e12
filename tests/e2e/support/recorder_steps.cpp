#include "recorder_steps.h"

#include <chrono>
#include <thread>

#include "e2e_error.h"
#include "product_folder.h"
#include "recorder_ids.h"

namespace vemtra_e2e {

void PressRecord(Driver& driver, Hwnd main, const std::string& product_dir, int timeout_ms) {
  using Clock = std::chrono::steady_clock;
  const std::string first = product_dir + "/Video1.avi";
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  auto pressed = Clock::time_point();
  int presses = 0;
  while (!PathExists(first)) {
    if (Clock::now() > deadline)
      throw E2eError("録画！ pressed " + std::to_string(presses) + " times, no recording started");
    if (Clock::now() - pressed > std::chrono::seconds(5) && driver.state(main, kIdRokuga).visible) {
      driver.click(main, kIdRokuga);
      pressed = Clock::now();
      ++presses;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

}  // namespace vemtra_e2e
