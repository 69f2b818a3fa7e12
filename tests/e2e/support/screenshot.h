// Pictures of the Xvfb screen, for diagnosis and for checks a human looks at.
#pragma once

#include <string>

namespace vemtra_e2e {

// Saves the whole screen as a PNG file; throws E2eError when it fails.
void TakeScreenshot(const std::string& png_path);
// Saves it as <artifacts>/<test name>-<label>.png and returns that path.
std::string SaveScreenshot(const std::string& label);
// Saves only a part of the screen (e.g. a window's rect()) as
// <artifacts>/<test name>-<label>.png and returns that path: for checks a
// human looks at, such as Japanese texts drawn legibly.
std::string SaveScreenshotOf(const std::string& label, int left, int top, int right, int bottom);
// Number of different colours in a picture (1 for a blank screen).
long CountColours(const std::string& picture_path);
// Colour of one pixel as 0xRRGGBB.
unsigned PixelAt(const std::string& picture_path, int x, int y);

}  // namespace vemtra_e2e
