#include "codec/dib_decoder.h"

#include <cstring>

#include "codec/zmbv_format.h"

namespace vemtra::codec {

bool DibDecoder::Begin(const std::vector<uint8_t>& f) {
  if (f.size() < 40) return false;
  uint32_t header = avi::GetU32(&f[0]);
  int32_t w = static_cast<int32_t>(avi::GetU32(&f[4]));
  int32_t h = static_cast<int32_t>(avi::GetU32(&f[8]));
  int bits = avi::GetU16(&f[14]);
  uint32_t compression = avi::GetU32(&f[16]);
  if (compression != 0 || (bits != 8 && bits != 16 && bits != 24 && bits != 32)) return false;
  top_down_ = h < 0;
  if (h < 0) h = -h;
  if (w <= 0 || h <= 0 || w > zmbv::kMaxSide || h > zmbv::kMaxSide ||
      int64_t(w) * h > zmbv::kMaxPixels)
    return false;
  size_ = {w, h};
  bits_ = bits;
  palette_.assign(1024, 0);
  if (bits == 8 && header >= 40 && header <= f.size()) {
    size_t n = std::min<size_t>(1024, f.size() - header);
    std::memcpy(palette_.data(), &f[header], n);
  }
  return true;
}

bool DibDecoder::Decompress(const uint8_t* data, size_t size, uint8_t* dib) {
  if (bits_ == 0) return false;
  if (size == 0) return true;  // a dropped frame: the picture stays
  const int w = size_.width, h = size_.height;
  size_t stride = (size_t(w) * bits_ / 8 + 3) & ~size_t(3);
  if (size < stride * h) return false;
  for (int y = 0; y < h; ++y) {
    const uint8_t* s = data + size_t(top_down_ ? h - 1 - y : y) * stride;
    uint8_t* d = dib + size_t(y) * w * 4;
    for (int x = 0; x < w; ++x, d += 4) {
      switch (bits_) {
        case 8: std::memcpy(d, &palette_[s[x] * 4], 3); break;
        case 16: {
          unsigned v = s[2 * x] | s[2 * x + 1] << 8;
          unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
          d[0] = uint8_t(b << 3 | b >> 2), d[1] = uint8_t(g << 3 | g >> 2), d[2] = uint8_t(r << 3 | r >> 2);
          break;
        }
        case 24: std::memcpy(d, s + 3 * x, 3); break;
        default: std::memcpy(d, s + 4 * x, 3); break;
      }
      d[3] = 0;
    }
  }
  return true;
}

}  // namespace vemtra::codec
