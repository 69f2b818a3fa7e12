#include "x_input.h"

#include <unistd.h>

#include <vector>

#include "child_process.h"
#include "e2e_error.h"

namespace vemtra_e2e {
namespace {

void Xdotool(std::vector<std::string> args) {
  args.insert(args.begin(), "xdotool");
  CommandResult r = RunCommand(args, 30000, true, true);
  if (r.exit_code != 0) throw E2eError("xdotool failed: " + QuoteArgs(args) + ": " + r.output);
}

}  // namespace

void XKey(const std::string& keysym) { Xdotool({"key", "--delay", "30", keysym}); }
void XKeyDown(const std::string& keysym) { Xdotool({"keydown", keysym}); }
void XKeyUp(const std::string& keysym) { Xdotool({"keyup", keysym}); }
void XType(const std::string& text) { Xdotool({"type", "--delay", "30", text}); }
void XMouseMove(int x, int y) { Xdotool({"mousemove", "--sync", std::to_string(x), std::to_string(y)}); }

void XClick(int x, int y, int button) {
  XMouseMove(x, y);
  Xdotool({"click", std::to_string(button)});
}

void XDrag(int x1, int y1, int x2, int y2, int steps, int button) {
  if (steps < 1) steps = 1;
  XMouseMove(x1, y1);
  Xdotool({"mousedown", std::to_string(button)});
  for (int i = 1; i <= steps; ++i) {
    XMouseMove(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps);
  }
  Xdotool({"mouseup", std::to_string(button)});
}

}  // namespace vemtra_e2e
