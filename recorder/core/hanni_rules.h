// Rules of the capture-range selection that need no window: the range from
// a drag, the size check, where the range window and its buttons go, the
// dashes of the rubber band and the frame drawn around the range.
#pragma once

#include <cstdint>
#include <vector>

struct HanniRect {
    int32_t left, top, right, bottom;  // right and bottom exclusive
};

// The range of a drag from (startX, startY) to (endX, endY), whichever
// corner the drag started at.
HanniRect HanniFromDrag(int32_t startX, int32_t startY, int32_t endX, int32_t endY);

constexpr int32_t kHanniMinSide = 100;
// Ranges narrower or lower than 100 pixels are refused.
bool HanniTooSmall(const HanniRect& r);

// Border sizes measured on the range window: glBorderX is one side's frame,
// glBorderY the caption plus the top frame.
void HanniBorderCal(int32_t windowW, int32_t windowH, int32_t clientW, int32_t clientH, int32_t* borderX,
                    int32_t* borderY);

// The range window covers the virtual screen with its client area starting
// at screen (0, 0), so that client and screen coordinates agree.
HanniRect HanniWindowRect(int32_t virtualW, int32_t virtualH, int32_t borderX, int32_t borderY);

struct HanniPoint {
    int32_t x, y;
};

// Where the three buttons go ("画面の更新", "←じゃま！！", "キャンセル")
// for the position (x, y) from "HanniBTPt.txt".
void HanniButtonPlace(int32_t x, int32_t y, HanniPoint out[3]);

// "←じゃま！！": the buttons jump to r1, r2 (uniform in [0, 1)) of the
// virtual screen less 200 x 100.
HanniPoint JamaPosCal(float r1, float r2, int32_t virtualW, int32_t virtualH);

struct DashLine {
    int32_t x0, y0, x1, y1;  // a 1-pixel line between two points
    int colour;              // 0: first frame colour, 1: second
};

// The rubber band around r: each side is walked pixel by pixel and every
// run of 8 points becomes one line, the colours alternating along the side.
std::vector<DashLine> RubberBandDashes(const HanniRect& r);

// The four frame windows around the range, in the order of glhFrameWnd:
// top bar (with its caption), left edge, right edge, bottom edge.
void FrameWindowRects(const HanniRect& range, int32_t borderX, int32_t borderY, HanniRect out[4]);

// The range after its top bar was moved from (oldX, oldY) to (newX, newY).
HanniRect HanniShift(const HanniRect& range, int32_t oldX, int32_t oldY, int32_t newX, int32_t newY);
