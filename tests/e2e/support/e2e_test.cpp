#include "e2e_test.h"

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

namespace vemtra_e2e {

std::string CurrentTestName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "no-test";
  for (char& c : name) {
    if (c == '/' || c == ' ') c = '_';
  }
  return name;
}

Driver& E2eTest::driver() {
  if (!driver_) driver_ = std::make_unique<Driver>();
  return *driver_;
}

void E2eTest::WaitForPathWhileRunning(const std::string& path, int pid, int timeout_ms) {
  bool ended = false;
  WaitUntil([&] { return PathExists(path) || (ended = !driver().running(pid)); }, timeout_ms,
            path + " does not appear");
  // The path may have appeared just before the end.
  if (ended && !PathExists(path)) {
    throw E2eError("process " + std::to_string(pid) + " ended with exit code " +
                   std::to_string(driver().waitExit(pid, 1000)) + " before " + path + " appeared");
  }
}

void E2eTest::TearDown() {
  if (HasFailure()) {
    try {
      std::cerr << "[e2e] screenshot at the end: " << SaveScreenshot("end") << "\n";
      if (driver_) {
        for (const WindowFacts& w : driver_->windows()) {
          if (w.visible) {
            std::cerr << "[e2e] window " << w.hwnd << " pid " << w.pid << " class \"" << w.cls << "\" title \""
                      << w.title << "\"\n";
          }
        }
      }
    } catch (const std::exception& e) {
      std::cerr << "[e2e] no diagnosis: " << e.what() << "\n";
    }
  }
  std::string log = driver_ ? driver_->logPath() : std::string();
  driver_.reset();
  if (!HasFailure() && !log.empty()) std::remove(log.c_str());  // only failures need it
}

void WaitUntil(const std::function<bool()>& done, int timeout_ms, const std::string& what) {
  timespec start;
  clock_gettime(CLOCK_MONOTONIC, &start);
  for (;;) {
    if (done()) return;
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    long long elapsed = (now.tv_sec - start.tv_sec) * 1000LL + (now.tv_nsec - start.tv_nsec) / 1000000;
    if (elapsed >= timeout_ms) {
      std::string message = "timeout after " + std::to_string(timeout_ms) + " ms: " + what;
      try {
        message += "\nscreenshot: " + SaveScreenshot("timeout");
      } catch (const std::exception& e) {
        message += "\n(no screenshot: " + std::string(e.what()) + ")";
      }
      throw E2eError(message);
    }
    usleep(100000);
  }
}

::testing::AssertionResult TextEqFormat(const char* actual_expr, const char* expected_expr, const std::string& actual,
                                        const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  // Line breaks shown as \r \n, so that "\r\n" and "\n" differ visibly.
  auto visible = [](const std::string& s) {
    std::string out;
    for (char c : s) out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
  };
  return ::testing::AssertionFailure() << actual_expr << " is not " << expected_expr << "\n  actual:   \""
                                       << visible(actual) << "\"\n  expected: \"" << visible(expected) << "\"";
}

void WaitForPath(const std::string& path, int timeout_ms) {
  WaitUntil([&] { return PathExists(path); }, timeout_ms, path + " does not appear");
}

}  // namespace vemtra_e2e
