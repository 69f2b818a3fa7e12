// Where the e2e tests find things: the environment file written by
// tools/e2e/env.sh (DISPLAY, PULSE_SERVER, WINEPREFIX, ...) and the folders
// of the builds, fixed when the tests are configured.
#pragma once

#include <map>
#include <string>

namespace vemtra_e2e {

class E2eEnv {
 public:
  // The run's environment; throws E2eError when the setup has not run.
  static const E2eEnv& Get();

  // A variable of the env file ("DISPLAY", "WINEPREFIX", ...); "" if absent.
  std::string var(const std::string& name) const;
  const std::map<std::string, std::string>& vars() const { return vars_; }

  std::string wine() const;            // the wine launcher
  std::string display() const { return var("DISPLAY"); }
  std::string productDir() const;      // <win build>/Vemtra, as built
  std::string driverDir() const;       // <win build>/e2e-driver
  std::string driverExe() const;       // VemtraDriver.exe
  std::string testWindowExe() const;   // VemtraTestWindow.exe
  std::string workDir() const;         // temp copies of product folders (short path below /tmp)
  std::string artifactsDir() const;    // screenshots and logs kept for diagnosis

 private:
  std::map<std::string, std::string> vars_;
};

}  // namespace vemtra_e2e
