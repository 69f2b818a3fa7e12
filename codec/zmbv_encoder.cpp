#include "codec/zmbv_encoder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "codec/zmbv_format.h"

namespace vemtra::codec {

using namespace zmbv;

namespace {
// Vectors reach −64 … 63; a zero border that wide makes every displaced
// read land in memory whose pixels count as 0, with no clipping per pixel.
constexpr int kPad = 64;
constexpr int kScrollRange = 63;
constexpr int kSmallRange = 6;
}  // namespace

ZmbvEncoder::ZmbvEncoder(ZmbvOptions options)
    : options_(options), key_deflater_(std::clamp(options.key_search, 1, 64)) {
  options_.level = std::clamp(options_.level, 0, 9);
  options_.refine_range = std::clamp(options_.refine_range, 0, kSmallRange);
  options_.key_level = std::clamp(options_.key_level, 0, 9);
  // Raw deflate with the zlib header written here: a key frame's deflate
  // data comes from the picture deflater (or repeats an identical earlier
  // key frame's), and zlib takes the picture as its window
  // (deflateSetDictionary), as if it had compressed it itself.
  zs_ready_ = deflateInit2(&zs_, options_.level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) == Z_OK;
  zs_level_ = options_.level;
  zs_strategy_ = Z_DEFAULT_STRATEGY;
}

ZmbvEncoder::~ZmbvEncoder() {
  if (zs_ready_) deflateEnd(&zs_);
}

FourCC ZmbvEncoder::Handler() const { return kFourCC; }

bool ZmbvEncoder::Begin(FrameSize s) {
  if (!zs_ready_ || s.width <= 0 || s.height <= 0 || s.width > kMaxSide || s.height > kMaxSide ||
      int64_t(s.width) * s.height > kMaxPixels)
    return false;
  size_ = s;
  nbx_ = (s.width + kBlockSize - 1) / kBlockSize;
  nby_ = (s.height + kBlockSize - 1) / kBlockSize;
  stride_ = s.width + 2 * kPad;
  size_t total = size_t(stride_) * (s.height + 2 * kPad);
  buf_a_.assign(total, 0);
  buf_b_.assign(total, 0);
  cur_ = buf_a_.data() + kPad * stride_ + kPad;
  prev_ = buf_b_.data() + kPad * stride_ + kPad;
  vectors_.assign(size_t(nbx_) * nby_, Vec{});
  if (c_log_c_.empty()) {
    c_log_c_.resize(kBlockSize * kBlockSize * 3 + 1, 0.0);
    for (size_t c = 1; c < c_log_c_.size(); ++c) c_log_c_[c] = float(double(c) * std::log2(double(c)));
  }
  last_vectors_ = vectors_;
  have_prev_ = false;
  since_key_ = 0;
  key_stream_.clear();
  return true;
}

std::vector<uint8_t> ZmbvEncoder::OutputFormat() const {
  std::vector<uint8_t> f;
  avi::ByteWriter w(f);
  w.U32(40);
  w.U32(static_cast<uint32_t>(size_.width));
  w.U32(static_cast<uint32_t>(size_.height));
  w.U16(1);
  // Readers take the real format from the key frames; 24 is what other
  // ZMBV writers put here.
  w.U16(24);
  w.U32(kFourCC);
  w.U32(static_cast<uint32_t>(size_t(size_.width) * size_.height * 4));
  w.Zeros(16);
  return f;
}

// Bottom-up DIB to top-down rows, the unused fourth byte cleared as the
// format stores it.
void ZmbvEncoder::LoadFrame(const uint8_t* dib) {
  const int w = size_.width, h = size_.height;
  for (int y = 0; y < h; ++y) {
    uint32_t* d = cur_ + ptrdiff_t(y) * stride_;
    std::memcpy(d, dib + size_t(h - 1 - y) * w * 4, size_t(w) * 4);
    for (int x = 0; x < w; ++x) d[x] &= 0x00FFFFFFu;  // little-endian: bytes B, G, R, 0
  }
}

bool ZmbvEncoder::Deflate(const uint8_t* data, size_t size, int flush, std::vector<uint8_t>* out) {
  zs_.next_in = const_cast<Bytef*>(data);
  zs_.avail_in = static_cast<uInt>(size);
  for (;;) {
    size_t old = out->size();
    size_t room = std::max<size_t>(size / 2 + 1024, 64 * 1024);
    out->resize(old + room);
    zs_.next_out = out->data() + old;
    zs_.avail_out = static_cast<uInt>(room);
    int r = deflate(&zs_, flush);
    out->resize(old + room - zs_.avail_out);
    if (r != Z_OK && r != Z_BUF_ERROR) return false;
    if (zs_.avail_in == 0 && zs_.avail_out != 0) return true;
  }
}

// Level and strategy for the next frame; the stream stays one stream (every
// frame ends on a sync flush, so nothing is pending here).
bool ZmbvEncoder::SetLevel(int level, int strategy, std::vector<uint8_t>* out) {
  if (level == zs_level_ && strategy == zs_strategy_) return true;
  // deflateParams may end the current block: give it room of its own.
  uint8_t room[64];
  zs_.next_in = nullptr;
  zs_.avail_in = 0;
  zs_.next_out = room;
  zs_.avail_out = sizeof room;
  if (deflateParams(&zs_, level, strategy) != Z_OK) return false;
  out->insert(out->end(), room, room + (sizeof room - zs_.avail_out));
  zs_level_ = level;
  zs_strategy_ = strategy;
  return true;
}

bool ZmbvEncoder::Compress(const uint8_t* dib, bool key, std::vector<uint8_t>* out, bool* made_key) {
  if (!cur_ || !dib || !out) return false;
  LoadFrame(dib);
  key = key || !have_prev_ ||
        (options_.key_interval > 0 && since_key_ >= options_.key_interval);
  size_t before = out->size();
  bool ok = key ? CompressKey(out) : CompressInter(out);
  // Noise does not shrink by matching, only by the byte statistics: Huffman
  // coding alone gives the same size several times faster. Each frame
  // decides for the next.
  incompressible_ = ok && (out->size() - before) * 10 > size_t(size_.width) * size_.height * 4 * 7;
  if (!ok) {
    have_prev_ = false;  // the zlib stream is broken: restart with a key frame
    key_stream_.clear();
    return false;
  }
  since_key_ = key ? 1 : since_key_ + 1;
  std::swap(cur_, prev_);
  have_prev_ = true;
  if (made_key) *made_key = key;
  return true;
}

bool ZmbvEncoder::CompressKey(std::vector<uint8_t>* out) {
  const uint8_t head[kKeyHeaderBytes] = {kFlagKeyFrame, kVersionMajor, kVersionMinor, kCompressionZlib,
                                         kFormat32,     kBlockSize,    kBlockSize};
  out->insert(out->end(), head, head + kKeyHeaderBytes);
  // zlib header: deflate with a 32 KB window, no dictionary, check bits.
  const uint8_t zlib_head[2] = {0x78, 0xDA};
  out->insert(out->end(), zlib_head, zlib_head + 2);
  std::fill(vectors_.begin(), vectors_.end(), Vec{});

  const int h = size_.height;
  const size_t row = size_t(size_.width) * 4, total = row * h;
  bool same = !key_stream_.empty();
  for (int y = 0; y < h && same; ++y) same = std::memcmp(Row(cur_, y), &key_pixels_[y * row], row) == 0;
  if (same) {
    // A still screen: the same picture, the same bytes.
    out->insert(out->end(), key_stream_.begin(), key_stream_.end());
  } else {
    key_pixels_.resize(total);
    for (int y = 0; y < h; ++y) std::memcpy(&key_pixels_[y * row], Row(cur_, y), row);
    if (options_.key_level > 0) {
      // zlib compresses the picture itself and keeps it as its window.
      const int strategy = incompressible_ ? Z_HUFFMAN_ONLY : Z_DEFAULT_STRATEGY;
      if (deflateReset(&zs_) != Z_OK || !SetLevel(options_.key_level, strategy, out)) return false;
      const size_t start = out->size();
      if (!Deflate(key_pixels_.data(), total, Z_SYNC_FLUSH, out)) return false;
      key_stream_.assign(out->begin() + static_cast<std::ptrdiff_t>(start), out->end());
      return true;
    }
    const size_t start = out->size();
    // Noise does not shrink: stored as it is.
    if (incompressible_) key_deflater_.Store(key_pixels_.data(), total, out);
    else key_deflater_.Deflate(key_pixels_.data(), total, row, out);
    key_stream_.assign(out->begin() + static_cast<std::ptrdiff_t>(start), out->end());
  }
  const size_t window = std::min<size_t>(total, 32768);
  return deflateReset(&zs_) == Z_OK &&
         deflateSetDictionary(&zs_, &key_pixels_[total - window], static_cast<uInt>(window)) == Z_OK;
}

bool ZmbvEncoder::BlockMatches(int x0, int y0, int cw, int ch, int dx, int dy) const {
  for (int y = 0; y < ch; ++y)
    if (std::memcmp(Row(cur_, y0 + y) + x0, Row(prev_, y0 + y + dy) + x0 + dx, size_t(cw) * 4) != 0)
      return false;
  return true;
}

// Pixels that differ from the reference, counted until `limit` is passed.
int ZmbvEncoder::ChangedPixels(int x0, int y0, int cw, int ch, int dx, int dy, int limit) const {
  int n = 0;
  for (int y = 0; y < ch && n <= limit; ++y) {
    const uint32_t* a = Row(cur_, y0 + y) + x0;
    const uint32_t* b = Row(prev_, y0 + y + dy) + x0 + dx;
    for (int x = 0; x < cw; ++x) n += a[x] != b[x];
  }
  return n;
}

// Estimated compressed size of a block's XOR data: the entropy of its
// bytes, which rewards both zeros and repeated differences (a coloured
// area moved over another).
float ZmbvEncoder::XorCost(int x0, int y0, int cw, int ch, int dx, int dy) {
  uint16_t counts[256];
  uint8_t seen[256];
  int distinct = 0;
  std::memset(counts, 0, sizeof counts);
  auto count = [&](uint32_t v) {
    if (counts[v]++ == 0) seen[distinct++] = static_cast<uint8_t>(v);
  };
  for (int y = 0; y < ch; ++y) {
    const uint32_t* a = Row(cur_, y0 + y) + x0;
    const uint32_t* b = Row(prev_, y0 + y + dy) + x0 + dx;
    for (int x = 0; x < cw; ++x) {
      uint32_t d = a[x] ^ b[x];
      if (d == 0) {
        counts[0] += 3;
        if (counts[0] == 3) seen[distinct++] = 0;
        continue;
      }
      count(d & 0xFF);
      count((d >> 8) & 0xFF);
      count((d >> 16) & 0xFF);
    }
  }
  // bits = N log N − Σ c log c, with the fourth byte (always 0) left out
  float sum = 0;
  for (int i = 0; i < distinct; ++i) sum += c_log_c_[counts[seen[i]]];
  return c_log_c_[size_t(cw) * ch * 3] - sum;
}

// The vector for a block that changed at (0, 0): an exact match when one of
// the tried vectors has it, else the tried vector with the fewest changed
// pixels.
ZmbvEncoder::Vec ZmbvEncoder::FindVector(int bx, int by, int x0, int y0, int cw, int ch, bool* exact) {
  *exact = true;
  Vec tried[6];
  int n = 0;
  auto add = [&](Vec v) {
    if (v.dx == 0 && v.dy == 0) return;
    for (int i = 0; i < n; ++i)
      if (tried[i].dx == v.dx && tried[i].dy == v.dy) return;
    tried[n++] = v;
  };
  if (bx > 0) add(vectors_[size_t(by) * nbx_ + bx - 1]);
  if (by > 0) add(vectors_[size_t(by - 1) * nbx_ + bx]);
  add(last_vectors_[size_t(by) * nbx_ + bx]);
  add(last_found_);
  add(dominant_);
  for (int i = 0; i < n; ++i)
    if (BlockMatches(x0, y0, cw, ch, tried[i].dx, tried[i].dy)) return tried[i];

  // A first-row check rejects nearly every wrong vector at its first pixels.
  const uint32_t* first = Row(cur_, y0) + x0;
  const size_t row_bytes = size_t(cw) * 4;
  auto probe = [&](int dx, int dy) {
    return std::memcmp(first, Row(prev_, y0 + dy) + x0 + dx, row_bytes) == 0 &&
           BlockMatches(x0, y0, cw, ch, dx, dy);
  };
  // A flat block matches many vectors, and says nothing about the motion
  // of its neighbours.
  bool flat = true;
  for (int y = 0; y < ch && flat; ++y) {
    const uint32_t* r = Row(cur_, y0 + y) + x0;
    for (int x = 0; x < cw; ++x) flat = flat && r[x] == first[0];
  }
  auto found = [&](Vec v) {
    if (!flat) last_found_ = v;
    return v;
  };
  for (int d = 1; d <= kScrollRange; ++d) {  // scrolling: nearest first
    if (probe(0, -d)) return found(Vec{0, int8_t(-d)});
    if (probe(0, d)) return found(Vec{0, int8_t(d)});
  }
  for (int dy = -kSmallRange; dy <= kSmallRange; ++dy)
    for (int dx = -kSmallRange; dx <= kSmallRange; ++dx)
      if (dx != 0 && probe(dx, dy)) return found(Vec{int8_t(dx), int8_t(dy)});

  *exact = false;
  ++inexact_blocks_;
  Vec best{};
  float best_cost = XorCost(x0, y0, cw, ch, 0, 0);
  for (int i = 0; i < n; ++i) {
    float c = XorCost(x0, y0, cw, ch, tried[i].dx, tried[i].dy);
    if (c < best_cost) best_cost = c, best = tried[i];
  }
  // When few blocks need XOR data (edges of moved things rather than new
  // pictures), a search for the most compressible XOR near the best vector
  // pays.
  if (refine_ && options_.refine_range > 0) {
    const Vec centre = best;
    const int r = options_.refine_range;
    // Counting changed pixels is cheap and stops early: a vector with far
    // more of them than the best is not worth its entropy.
    int best_changed = ChangedPixels(x0, y0, cw, ch, best.dx, best.dy, cw * ch);
    for (int dy = -r; dy <= r; ++dy)
      for (int dx = -r; dx <= r; ++dx) {
        int vx = centre.dx + dx, vy = centre.dy + dy;
        if ((dx == 0 && dy == 0) || vx < -kPad || vx >= kPad || vy < -kPad || vy >= kPad) continue;
        int limit = best_changed + best_changed / 4 + 4;
        int changed = ChangedPixels(x0, y0, cw, ch, vx, vy, limit);
        if (changed > limit) continue;
        float c = XorCost(x0, y0, cw, ch, vx, vy);
        if (c < best_cost) best_cost = c, best = Vec{int8_t(vx), int8_t(vy)}, best_changed = changed;
      }
  }
  return best;
}

// The most frequent vector other than (0, 0), (0, 0) when there is none.
ZmbvEncoder::Vec ZmbvEncoder::Dominant(const std::vector<Vec>& vectors) {
  counts_.assign(128 * 128, 0);
  Vec best{};
  uint32_t best_count = 0;
  for (const Vec& v : vectors) {
    if (v.dx == 0 && v.dy == 0) continue;
    uint32_t& c = counts_[size_t(v.dy + 64) * 128 + size_t(v.dx + 64)];
    if (++c > best_count) best_count = c, best = v;
  }
  return best;
}

bool ZmbvEncoder::CompressInter(std::vector<uint8_t>* out) {
  const int w = size_.width, h = size_.height;
  size_t table = (size_t(nbx_) * nby_ * 2 + 3) & ~size_t(3);
  work_.reserve(table + size_t(w) * h * 4);
  work_.assign(table, 0);
  std::swap(vectors_, last_vectors_);
  dominant_ = Dominant(last_vectors_);
  last_found_ = Vec{};
  refine_ = !incompressible_ && inexact_blocks_ * 8 < size_t(nbx_) * nby_;
  inexact_blocks_ = 0;
  uint8_t* vec = nullptr;
  for (int by = 0; by < nby_; ++by) {
    for (int bx = 0; bx < nbx_; ++bx) {
      int x0 = bx * kBlockSize, y0 = by * kBlockSize;
      int cw = std::min(kBlockSize, w - x0), ch = std::min(kBlockSize, h - y0);
      size_t k = size_t(by) * nbx_ + bx;
      Vec v{};
      bool exact = BlockMatches(x0, y0, cw, ch, 0, 0);
      if (!exact) v = FindVector(bx, by, x0, y0, cw, ch, &exact);
      vectors_[k] = v;
      vec = &work_[k * 2];
      vec[0] = static_cast<uint8_t>(v.dx * 2) | (exact ? 0 : 1);
      vec[1] = static_cast<uint8_t>(v.dy * 2);
      if (exact) continue;
      size_t at = work_.size();
      work_.resize(at + size_t(cw) * ch * 4);
      uint8_t* x = &work_[at];
      for (int y = 0; y < ch; ++y) {
        const uint32_t* a = Row(cur_, y0 + y) + x0;
        const uint32_t* b = Row(prev_, y0 + y + v.dy) + x0 + v.dx;
        for (int i = 0; i < cw; ++i) {
          uint32_t d = a[i] ^ b[i];
          std::memcpy(x + size_t(i) * 4, &d, 4);
        }
        x += size_t(cw) * 4;
      }
    }
  }
  out->push_back(0);
  return SetLevel(options_.level, incompressible_ ? Z_HUFFMAN_ONLY : Z_DEFAULT_STRATEGY, out) &&
         Deflate(work_.data(), work_.size(), Z_SYNC_FLUSH, out);
}

}  // namespace vemtra::codec
