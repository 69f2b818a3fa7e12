// Screen-like test pictures as 32-bit bottom-up DIBs: a still desktop,
// scrolling text, a window moving over the desktop, and full-motion noise.
// Shared by the codec tests and the codec benchmark.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace vemtra::testing {

enum class Scene { kStaticDesktop, kScrollingText, kMovingWindow, kNoise };

inline const char* SceneName(Scene s) {
  switch (s) {
    case Scene::kStaticDesktop: return "static desktop";
    case Scene::kScrollingText: return "scrolling text";
    case Scene::kMovingWindow: return "moving window";
    default: return "noise";
  }
}

inline uint32_t Mix(uint32_t a, uint32_t b) {
  uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  return h ^ (h >> 13);
}

class SceneRenderer {
 public:
  SceneRenderer(Scene scene, int width, int height) : scene_(scene), w_(width), h_(height) {}

  size_t FrameBytes() const { return size_t(w_) * h_ * 4; }

  // Frame n into `dib` (FrameBytes() bytes, rows bottom-up).
  void Render(int n, uint8_t* dib) const {
    std::vector<uint32_t> row(w_);
    for (int y = 0; y < h_; ++y) {
      for (int x = 0; x < w_; ++x) row[x] = Pixel(n, x, y);
      std::memcpy(dib + size_t(h_ - 1 - y) * w_ * 4, row.data(), size_t(w_) * 4);
    }
  }

  std::vector<uint8_t> Frame(int n) const {
    std::vector<uint8_t> f(FrameBytes());
    Render(n, f.data());
    return f;
  }

 private:
  // Top-down pixel (x, y) of frame n as 0x00RRGGBB.
  uint32_t Pixel(int n, int x, int y) const {
    switch (scene_) {
      case Scene::kStaticDesktop: {
        // A small clock that changes every 30 frames.
        if (x >= w_ - 40 && y >= h_ - 14) return Text(x, y + (n / 30) * 14, 0x202020, 0xE0E0E0, 7);
        return Desktop(x, y);
      }
      case Scene::kScrollingText: {
        int top = std::min(24, h_ / 4);
        if (y < top) return 0x3060A0;  // title bar
        return Text(x, y - top + n * 3, 0x101010, 0xFFFFFF, 1);
      }
      case Scene::kMovingWindow: {
        int ww = w_ * 2 / 5, wh = h_ * 2 / 5;
        int wx = Bounce(n * 5, w_ - ww), wy = Bounce(n * 3, h_ - wh);
        if (x >= wx && x < wx + ww && y >= wy && y < wy + wh) {
          int lx = x - wx, ly = y - wy;
          if (ly < 20) return 0x2050C0;
          return Text(lx, ly, 0x000000, 0xF4F4F4, 3);
        }
        return Desktop(x, y);
      }
      default:
        return Mix(uint32_t(n * 7919 + y), uint32_t(x)) & 0xFFFFFF;
    }
  }

  static int Bounce(int t, int range) {
    if (range <= 0) return 0;
    int p = t % (2 * range);
    return p < range ? p : 2 * range - p;
  }

  uint32_t Desktop(int x, int y) const {
    // A gradient with a few flat-coloured windows and icons.
    uint32_t base = 0x004080 + (uint32_t(y * 64 / std::max(1, h_)) << 8);
    if (x % 96 >= 16 && x % 96 < 48 && y % 96 >= 16 && y % 96 < 48 && x < 120)
      return (Mix(uint32_t(x / 96), uint32_t(y / 96)) & 0xFFFFFF) | 0x404040;
    if (x > w_ / 2 && y > h_ / 3 && x < w_ - 20 && y < h_ - 40)
      return y < h_ / 3 + 20 ? 0x808080 : Text(x, y, 0x000000, 0xFFFFFF, 11);
    return base;
  }

  // Text-like rows of glyphs: 8 × 14 cells, words with gaps, blank lines.
  static uint32_t Text(int x, int y, uint32_t ink, uint32_t paper, uint32_t seed) {
    int line = y / 14, col = x / 8, cy = y % 14, cx = x % 8;
    uint32_t line_hash = Mix(uint32_t(line), seed);
    if (line_hash % 7 == 0 || cy < 2 || cy > 11 || cx == 7) return paper;
    if (col > int(40 + line_hash % 80)) return paper;  // ragged line ends
    uint32_t glyph = Mix(uint32_t(line * 1000 + col), seed);
    if (glyph % 6 == 0) return paper;  // spaces
    return (Mix(glyph, uint32_t(cy * 8 + cx)) & 3) == 0 ? ink : paper;
  }

  Scene scene_;
  int w_, h_;
};

}  // namespace vemtra::testing
