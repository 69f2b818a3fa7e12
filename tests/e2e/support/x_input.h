// Input made as X events by xdotool, from outside Wine: the path a real
// keyboard and mouse take. The driver's SendInput commands are the usual
// way; these are for checks that must not depend on Wine's own input path.
#pragma once

#include <string>

namespace vemtra_e2e {

// A key by its X name: "Escape", "Return", "Pause", "a", "ctrl+s".
void XKey(const std::string& keysym);
void XKeyDown(const std::string& keysym);
void XKeyUp(const std::string& keysym);
void XType(const std::string& text);
void XMouseMove(int x, int y);
// button: 1 left, 2 middle, 3 right.
void XClick(int x, int y, int button = 1);
// Press at the first point, move in steps, release at the second.
void XDrag(int x1, int y1, int x2, int y2, int steps = 10, int button = 1);

}  // namespace vemtra_e2e
