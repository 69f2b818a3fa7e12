#include "recorder/core/hanni_rules.h"

#include <algorithm>
#include <cstdlib>

HanniRect HanniFromDrag(int32_t startX, int32_t startY, int32_t endX, int32_t endY)
{
    return HanniRect{std::min(startX, endX), std::min(startY, endY), std::max(startX, endX), std::max(startY, endY)};
}

bool HanniTooSmall(const HanniRect& r)
{
    return r.right - r.left < kHanniMinSide || r.bottom - r.top < kHanniMinSide;
}

void HanniBorderCal(int32_t windowW, int32_t windowH, int32_t clientW, int32_t clientH, int32_t* borderX,
                    int32_t* borderY)
{
    *borderX = (windowW - clientW) / 2;
    *borderY = (windowH - clientH) - *borderX;
}

HanniRect HanniWindowRect(int32_t virtualW, int32_t virtualH, int32_t borderX, int32_t borderY)
{
    const int32_t left = -borderX;
    const int32_t top = -borderY;
    return HanniRect{left, top, left + virtualW + 2 * borderX + 100, top + virtualH + 2 * borderY + 300};
}

void HanniButtonPlace(int32_t x, int32_t y, HanniPoint out[3])
{
    out[0] = HanniPoint{x, y};
    out[1] = HanniPoint{x + 150, y + 15};
    out[2] = HanniPoint{x, y + 31};
}

HanniPoint JamaPosCal(float r1, float r2, int32_t virtualW, int32_t virtualH)
{
    return HanniPoint{static_cast<int32_t>(r1 * static_cast<float>(virtualW - 200)),
                      static_cast<int32_t>(r2 * static_cast<float>(virtualH - 100))};
}

namespace {

// One side from (x0, y0) to (x1, y1), one axis fixed.
void SideDashes(int32_t x0, int32_t y0, int32_t x1, int32_t y1, std::vector<DashLine>* out)
{
    const int32_t steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    const int32_t dx = x1 > x0 ? 1 : (x1 < x0 ? -1 : 0);
    const int32_t dy = y1 > y0 ? 1 : (y1 < y0 ? -1 : 0);
    int colour = 0;
    for (int32_t i = 0; i <= steps; i += 8) {
        const int32_t last = std::min(i + 8, steps);
        out->push_back(DashLine{x0 + dx * i, y0 + dy * i, x0 + dx * last, y0 + dy * last, colour});
        colour ^= 1;
        if (last == steps) {
            break;
        }
    }
}

}  // namespace

std::vector<DashLine> RubberBandDashes(const HanniRect& r)
{
    std::vector<DashLine> out;
    SideDashes(r.left, r.top, r.right, r.top, &out);
    SideDashes(r.right, r.top, r.right, r.bottom, &out);
    SideDashes(r.left, r.bottom, r.right, r.bottom, &out);
    SideDashes(r.left, r.top, r.left, r.bottom, &out);
    return out;
}

void FrameWindowRects(const HanniRect& range, int32_t borderX, int32_t borderY, HanniRect out[4])
{
    const int32_t width = range.right - range.left;
    const int32_t height = range.bottom - range.top;
    const int32_t top = range.top - borderY - borderX;
    const int32_t edgeHeight = height + borderY + 2 * borderX;
    out[0] = HanniRect{range.left - borderX, top, range.left - borderX + width + 2 * borderX, top + borderY + borderX};
    out[1] = HanniRect{range.left - borderX, top, range.left, top + edgeHeight};
    out[2] = HanniRect{range.right, top, range.right + borderX, top + edgeHeight};
    out[3] = HanniRect{range.left - borderX, range.bottom, range.left - borderX + width + 2 * borderX,
                       range.bottom + borderX};
}

HanniRect HanniShift(const HanniRect& range, int32_t oldX, int32_t oldY, int32_t newX, int32_t newY)
{
    const int32_t dx = newX - oldX;
    const int32_t dy = newY - oldY;
    return HanniRect{range.left + dx, range.top + dy, range.right + dx, range.bottom + dy};
}
