#include "codec/zmbv_decoder.h"

#include <algorithm>
#include <cstring>

#include "codec/zmbv_format.h"

namespace vemtra::codec {

using namespace zmbv;

ZmbvDecoder::ZmbvDecoder() {
  zs_ready_ = inflateInit(&zs_) == Z_OK;
}

ZmbvDecoder::~ZmbvDecoder() {
  if (zs_ready_) inflateEnd(&zs_);
}

bool ZmbvDecoder::Begin(const std::vector<uint8_t>& f) {
  if (f.size() < 40) return false;
  FrameSize s;
  s.width = static_cast<int32_t>(avi::GetU32(&f[4]));
  s.height = static_cast<int32_t>(avi::GetU32(&f[8]));
  if (s.height < 0) s.height = -s.height;
  if (avi::GetU32(&f[16]) != kFourCC) return false;
  return Begin(s);
}

bool ZmbvDecoder::Begin(FrameSize s) {
  if (s.width <= 0 || s.height <= 0 || s.width > kMaxSide || s.height > kMaxSide ||
      int64_t(s.width) * s.height > kMaxPixels)
    return false;
  size_ = s;
  have_key_ = false;
  frame_.clear();
  prev_.clear();
  return zs_ready_;
}

bool ZmbvDecoder::DecodeKeyHeader(const uint8_t* d, size_t size) {
  if (size < kKeyHeaderBytes) return false;
  uint8_t major = d[1], minor = d[2], comp = d[3], fmt = d[4], bw = d[5], bh = d[6];
  if (major != kVersionMajor || minor != kVersionMinor) return false;
  if (comp != kCompressionNone && comp != kCompressionZlib) return false;
  int bpp = zmbv::BytesPerPixel(fmt);
  if (bpp == 0 || bw == 0 || bh == 0) return false;
  compression_ = comp;
  format_ = fmt;
  bpp_ = bpp;
  bw_ = bw;
  bh_ = bh;
  size_t frame_bytes = size_t(size_.width) * size_.height * bpp;
  frame_.assign(frame_bytes, 0);
  prev_.assign(frame_bytes, 0);
  std::memset(palette_, 0, sizeof palette_);
  if (comp == kCompressionZlib && inflateReset(&zs_) != Z_OK) return false;
  return true;
}

// Inflates the frame's bytes, continuing the stream of the last key frame.
// Room beyond `limit` keeps the inflater from stopping for want of space
// before it has read all of the frame's bytes: bytes left unread would be
// lost with this chunk and break the next frame.
bool ZmbvDecoder::Inflate(const uint8_t* data, size_t size, size_t limit) {
  limit += 64;
  if (payload_.size() < limit) payload_.resize(limit);
  if (compression_ == kCompressionNone) {
    payload_size_ = std::min(size, limit);
    if (payload_size_) std::memcpy(payload_.data(), data, payload_size_);
    return true;
  }
  zs_.next_in = const_cast<Bytef*>(data);
  zs_.avail_in = static_cast<uInt>(size);
  zs_.next_out = payload_.data();
  zs_.avail_out = static_cast<uInt>(limit);
  int r = inflate(&zs_, Z_SYNC_FLUSH);
  payload_size_ = limit - zs_.avail_out;
  // Z_BUF_ERROR only says that no progress was possible (an empty frame).
  return r == Z_OK || r == Z_STREAM_END || r == Z_BUF_ERROR;
}

bool ZmbvDecoder::Decompress(const uint8_t* data, size_t size, uint8_t* dib) {
  if (size == 0) {
    // A dropped frame: the picture stays.
    if (!have_key_) return false;
    ToDib(dib);
    return true;
  }
  uint8_t flags = data[0];
  bool ok;
  size_t pixels = size_t(size_.width) * size_.height;
  if (flags & kFlagKeyFrame) {
    have_key_ = false;
    if (!DecodeKeyHeader(data, size)) return false;
    size_t need = (format_ == kFormat8 ? kPaletteBytes : 0) + pixels * bpp_;
    ok = Inflate(data + kKeyHeaderBytes, size - kKeyHeaderBytes, need) && DecodeKey();
    have_key_ = ok;
  } else {
    if (!have_key_) return false;
    size_t blocks = size_t((size_.width + bw_ - 1) / bw_) * ((size_.height + bh_ - 1) / bh_);
    size_t limit = kPaletteBytes + ((blocks * 2 + 3) & ~size_t(3)) + pixels * bpp_;
    ok = Inflate(data + 1, size - 1, limit) && DecodeInter(flags);
    // After a damaged inter frame the following ones would build on garbage.
    if (!ok) have_key_ = false;
  }
  if (!ok) return false;
  ToDib(dib);
  return true;
}

bool ZmbvDecoder::DecodeKey() {
  const uint8_t* p = payload_.data();
  size_t left = payload_size_;
  if (format_ == kFormat8) {
    if (left < kPaletteBytes) return false;
    std::memcpy(palette_, p, kPaletteBytes);
    p += kPaletteBytes;
    left -= kPaletteBytes;
  }
  if (left < frame_.size()) return false;
  std::memcpy(frame_.data(), p, frame_.size());
  return true;
}

bool ZmbvDecoder::DecodeInter(uint8_t flags) {
  const uint8_t* p = payload_.data();
  size_t left = payload_size_;
  if (flags & kFlagDeltaPalette) {
    if (format_ != kFormat8 || left < kPaletteBytes) return false;
    for (int i = 0; i < kPaletteBytes; ++i) palette_[i] ^= p[i];
    p += kPaletteBytes;
    left -= kPaletteBytes;
  }
  const int w = size_.width, h = size_.height, bpp = bpp_;
  const int nbx = (w + bw_ - 1) / bw_, nby = (h + bh_ - 1) / bh_;
  size_t table = (size_t(nbx) * nby * 2 + 3) & ~size_t(3);
  if (left < table) return false;
  const uint8_t* vec = p;
  p += table;
  left -= table;
  frame_.swap(prev_);  // prev_ now holds the reference picture
  const size_t stride = size_t(w) * bpp;
  for (int by = 0; by < nby; ++by) {
    for (int bx = 0; bx < nbx; ++bx, vec += 2) {
      int x0 = bx * bw_, y0 = by * bh_;
      int cw = std::min(bw_, w - x0), ch = std::min(bh_, h - y0);
      bool has_xor = vec[0] & 1;
      int dx = static_cast<int8_t>(vec[0]) >> 1;
      int dy = static_cast<int8_t>(vec[1]) >> 1;
      // Displaced copy; reference pixels outside the frame are 0.
      for (int y = 0; y < ch; ++y) {
        uint8_t* dst = &frame_[(y0 + y) * stride + size_t(x0) * bpp];
        int sy = y0 + y + dy;
        if (sy < 0 || sy >= h) {
          std::memset(dst, 0, size_t(cw) * bpp);
          continue;
        }
        int sx = x0 + dx;
        int a = std::max(0, -sx), b = std::min(cw, w - sx);  // in-frame columns [a, b)
        const uint8_t* src = &prev_[sy * stride];
        if (b <= a) {
          std::memset(dst, 0, size_t(cw) * bpp);
          continue;
        }
        if (a > 0) std::memset(dst, 0, size_t(a) * bpp);
        std::memcpy(dst + size_t(a) * bpp, src + size_t(sx + a) * bpp, size_t(b - a) * bpp);
        if (b < cw) std::memset(dst + size_t(b) * bpp, 0, size_t(cw - b) * bpp);
      }
      if (!has_xor) continue;
      size_t row = size_t(cw) * bpp;
      if (left < row * ch) {
        frame_.swap(prev_);
        return false;
      }
      for (int y = 0; y < ch; ++y) {
        uint8_t* dst = &frame_[(y0 + y) * stride + size_t(x0) * bpp];
        for (size_t i = 0; i < row; ++i) dst[i] ^= p[i];
        p += row;
      }
      left -= row * ch;
    }
  }
  return true;
}

// The native frame as a 32-bit bottom-up DIB.
void ZmbvDecoder::ToDib(uint8_t* dib) const {
  const int w = size_.width, h = size_.height;
  const size_t stride = size_t(w) * bpp_;
  for (int y = 0; y < h; ++y) {
    const uint8_t* s = &frame_[y * stride];
    uint8_t* d = dib + size_t(h - 1 - y) * w * 4;
    switch (format_) {
      case kFormat8:
        for (int x = 0; x < w; ++x, d += 4) {
          const uint8_t* c = &palette_[s[x] * 3];
          d[0] = c[2], d[1] = c[1], d[2] = c[0], d[3] = 0;
        }
        break;
      case kFormat15:
        for (int x = 0; x < w; ++x, d += 4) {
          unsigned v = s[2 * x] | s[2 * x + 1] << 8;
          unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
          d[0] = uint8_t(b << 3 | b >> 2), d[1] = uint8_t(g << 3 | g >> 2);
          d[2] = uint8_t(r << 3 | r >> 2), d[3] = 0;
        }
        break;
      case kFormat16:
        for (int x = 0; x < w; ++x, d += 4) {
          unsigned v = s[2 * x] | s[2 * x + 1] << 8;
          unsigned r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
          d[0] = uint8_t(b << 3 | b >> 2), d[1] = uint8_t(g << 2 | g >> 4);
          d[2] = uint8_t(r << 3 | r >> 2), d[3] = 0;
        }
        break;
      case kFormat24:
        for (int x = 0; x < w; ++x, d += 4) d[0] = s[3 * x], d[1] = s[3 * x + 1], d[2] = s[3 * x + 2], d[3] = 0;
        break;
      default:
        std::memcpy(d, s, size_t(w) * 4);
        break;
    }
  }
}

}  // namespace vemtra::codec
