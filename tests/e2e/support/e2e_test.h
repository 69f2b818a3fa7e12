// Base fixture of the e2e tests: one driver per test, started on first use
// and ended (with every program it started) when the test ends; on a failure
// a screenshot and the list of windows are saved for diagnosis.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "child_process.h"
#include "driver.h"
#include "e2e_env.h"
#include "e2e_error.h"
#include "media_probe.h"
#include "product_folder.h"
#include "screenshot.h"
#include "sound_helpers.h"
#include "wine_paths.h"
#include "x_input.h"

namespace vemtra_e2e {

class E2eTest : public ::testing::Test {
 protected:
  Driver& driver();
  void TearDown() override;

  // Waits until a Linux path exists; fails early, naming the exit code, when
  // the process `pid` ends before that.
  void WaitForPathWhileRunning(const std::string& path, int pid, int timeout_ms = kDefaultTimeoutMs);

 private:
  std::unique_ptr<Driver> driver_;
};

// "Suite.Name" of the running test, usable in file names.
std::string CurrentTestName();

// Polls `done` every 100 ms until it is true; after timeout_ms throws
// E2eError "timeout: <what>" with a screenshot.
void WaitUntil(const std::function<bool()>& done, int timeout_ms, const std::string& what);

// Compares texts and prints both as UTF-8 when they differ (GoogleTest's
// own output shows non-ASCII bytes as escapes):
//   EXPECT_TEXT_EQ(driver().text(hwnd, 101), "録画！");
::testing::AssertionResult TextEqFormat(const char* actual_expr, const char* expected_expr, const std::string& actual,
                                        const std::string& expected);
#define EXPECT_TEXT_EQ(actual, expected) EXPECT_PRED_FORMAT2(::vemtra_e2e::TextEqFormat, actual, expected)
#define ASSERT_TEXT_EQ(actual, expected) ASSERT_PRED_FORMAT2(::vemtra_e2e::TextEqFormat, actual, expected)

// Waits until a Linux path exists.
void WaitForPath(const std::string& path, int timeout_ms = kDefaultTimeoutMs);

}  // namespace vemtra_e2e
