#include "screenshot.h"

#include <filesystem>

#include "child_process.h"
#include "e2e_env.h"
#include "e2e_error.h"

namespace vemtra_e2e {

std::string CurrentTestName();  // e2e_test.cpp

void TakeScreenshot(const std::string& png_path) {
  std::vector<std::string> argv = {"import", "-display", E2eEnv::Get().display(), "-window", "root", png_path};
  CommandResult r = RunCommand(argv, 30000, true, true);
  if (r.exit_code != 0) throw E2eError("screenshot failed: " + QuoteArgs(argv) + ": " + r.output);
}

std::string SaveScreenshot(const std::string& label) {
  std::filesystem::create_directories(E2eEnv::Get().artifactsDir());
  std::string path = E2eEnv::Get().artifactsDir() + "/" + CurrentTestName() + "-" + label + ".png";
  TakeScreenshot(path);
  return path;
}

std::string SaveScreenshotOf(const std::string& label, int left, int top, int right, int bottom) {
  std::string path = SaveScreenshot(label);
  std::string geometry = std::to_string(right - left) + "x" + std::to_string(bottom - top) + "+" +
                         std::to_string(left) + "+" + std::to_string(top);
  std::vector<std::string> argv = {"convert", path, "-crop", geometry, "+repage", path};
  CommandResult r = RunCommand(argv, 60000, false, true);
  if (r.exit_code != 0) throw E2eError("cannot crop " + path + ": " + r.output);
  return path;
}

long CountColours(const std::string& picture_path) {
  std::vector<std::string> argv = {"identify", "-format", "%k", picture_path};
  CommandResult r = RunCommand(argv, 60000, false);
  if (r.exit_code != 0) throw E2eError("cannot read " + picture_path + ": " + QuoteArgs(argv));
  return std::stol(r.output);
}

unsigned PixelAt(const std::string& picture_path, int x, int y) {
  std::vector<std::string> argv = {"convert", picture_path, "-format",
                                   "%[fx:int(255*p{" + std::to_string(x) + "," + std::to_string(y) +
                                       "}.r)] %[fx:int(255*p{" + std::to_string(x) + "," + std::to_string(y) +
                                       "}.g)] %[fx:int(255*p{" + std::to_string(x) + "," + std::to_string(y) +
                                       "}.b)]",
                                   "info:"};
  CommandResult r = RunCommand(argv, 60000, false);
  unsigned red, green, blue;
  if (r.exit_code != 0 || sscanf(r.output.c_str(), "%u %u %u", &red, &green, &blue) != 3) {
    throw E2eError("cannot read a pixel of " + picture_path + ": " + r.output);
  }
  return red << 16 | green << 8 | blue;
}

}  // namespace vemtra_e2e
