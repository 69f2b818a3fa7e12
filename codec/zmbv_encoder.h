// ZMBV encoder for 32-bit frames: 16 × 16 blocks, each either unchanged,
// moved (a vector into the previous frame found by a cheap search: the
// neighbours' and last frame's vectors, vertical scrolls, small moves) or
// moved and XOR-corrected; everything after the header through one zlib
// stream per key-frame interval. Key frames, whole pictures, are deflated by
// the picture deflater, which knows where screens repeat themselves (or by
// zlib, when asked); zlib goes on from there with the picture as its window.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <vector>

#include "codec/picture_deflate.h"
#include "codec/video_codec.h"

namespace vemtra::codec {

struct ZmbvOptions {
  int level = 6;         // zlib level of inter frames, 1 (fast) … 9 (small)
  int key_interval = 0;  // a key frame every so many frames; 0: only on request
  // Places with the same pixels the key-frame deflater tries per pixel:
  // 1 (fast) … 64 (small).
  int key_search = 8;
  // Vectors tried around the best one for blocks that need XOR data, in
  // each direction, when such blocks are few: 0 to 6.
  int refine_range = 0;
  // Key frames through zlib at this level instead of the picture deflater:
  // 0 (the picture deflater) or 1 … 9. Slower by far; at 9 a little smaller
  // on text no glyph of which repeats.
  int key_level = 0;

  // Smaller output for more time: no larger than other ZMBV encoders at
  // their best.
  static ZmbvOptions Small(int key_interval) { return ZmbvOptions{9, key_interval, 64, 6, 9}; }
};

class ZmbvEncoder : public VideoCompressor {
 public:
  explicit ZmbvEncoder(ZmbvOptions options = {});
  ~ZmbvEncoder() override;
  ZmbvEncoder(const ZmbvEncoder&) = delete;
  ZmbvEncoder& operator=(const ZmbvEncoder&) = delete;

  FourCC Handler() const override;
  bool Begin(FrameSize size) override;
  std::vector<uint8_t> OutputFormat() const override;
  bool Compress(const uint8_t* dib, bool key, std::vector<uint8_t>* out, bool* made_key) override;

 private:
  struct Vec {
    int8_t dx = 0, dy = 0;
  };
  void LoadFrame(const uint8_t* dib);
  bool CompressKey(std::vector<uint8_t>* out);
  bool CompressInter(std::vector<uint8_t>* out);
  bool Deflate(const uint8_t* data, size_t size, int flush, std::vector<uint8_t>* out);
  bool SetLevel(int level, int strategy, std::vector<uint8_t>* out);
  bool BlockMatches(int x0, int y0, int cw, int ch, int dx, int dy) const;
  float XorCost(int x0, int y0, int cw, int ch, int dx, int dy);
  int ChangedPixels(int x0, int y0, int cw, int ch, int dx, int dy, int limit) const;
  Vec FindVector(int bx, int by, int x0, int y0, int cw, int ch, bool* exact);
  const uint32_t* Row(const uint32_t* frame, int y) const { return frame + ptrdiff_t(y) * stride_; }

  ZmbvOptions options_;
  FrameSize size_;
  int nbx_ = 0, nby_ = 0;
  ptrdiff_t stride_ = 0;  // pixels per row, borders included
  std::vector<uint32_t> buf_a_, buf_b_;
  uint32_t* cur_ = nullptr;  // pixel (0, 0); a zero border of kPad pixels around
  uint32_t* prev_ = nullptr;
  std::vector<Vec> vectors_, last_vectors_;
  std::vector<uint8_t> work_;
  z_stream zs_{};
  bool zs_ready_ = false;
  bool have_prev_ = false;
  int since_key_ = 0;
  int zs_level_ = -1, zs_strategy_ = -1;
  bool incompressible_ = false;  // the last frame barely shrank: noise
  // The last key frame: its picture (top-down rows) and its deflate bytes.
  std::vector<uint8_t> key_pixels_, key_stream_;
  PictureDeflater key_deflater_;
  Vec Dominant(const std::vector<Vec>& vectors);
  Vec last_found_, dominant_;
  std::vector<uint32_t> counts_;
  std::vector<float> c_log_c_;  // c · log2 c for the entropy of a block
  size_t inexact_blocks_ = 0;  // blocks of the last inter frame that needed XOR data
  bool refine_ = false;
};

}  // namespace vemtra::codec
