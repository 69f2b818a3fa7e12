#include "e2e_env.h"

#include <fstream>

#include "e2e_error.h"

namespace vemtra_e2e {

const E2eEnv& E2eEnv::Get() {
  static E2eEnv env = [] {
    E2eEnv e;
    std::ifstream in(VEMTRA_E2E_ENV_FILE);
    if (!in) {
      throw E2eError(std::string("no e2e environment: ") + VEMTRA_E2E_ENV_FILE +
                     " is missing (run the tests through ctest, which starts the environment first)");
    }
    std::string line;
    while (std::getline(in, line)) {
      size_t eq = line.find('=');
      if (eq == std::string::npos) continue;
      std::string value = line.substr(eq + 1);
      // Values are single-quoted so that the file can also be sourced by a shell.
      if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'') value = value.substr(1, value.size() - 2);
      e.vars_[line.substr(0, eq)] = value;
    }
    return e;
  }();
  return env;
}

std::string E2eEnv::var(const std::string& name) const {
  auto it = vars_.find(name);
  return it == vars_.end() ? std::string() : it->second;
}

std::string E2eEnv::wine() const {
  std::string w = var("WINE");
  return w.empty() ? "wine" : w;
}

std::string E2eEnv::productDir() const { return VEMTRA_E2E_PRODUCT_DIR; }
std::string E2eEnv::driverDir() const { return VEMTRA_E2E_DRIVER_DIR; }
std::string E2eEnv::driverExe() const { return driverDir() + "/VemtraDriver.exe"; }
std::string E2eEnv::testWindowExe() const { return driverDir() + "/VemtraTestWindow.exe"; }
std::string E2eEnv::workDir() const { return VEMTRA_E2E_WORK_DIR; }
std::string E2eEnv::artifactsDir() const { return VEMTRA_E2E_ARTIFACTS_DIR; }

}  // namespace vemtra_e2e
