// ZMBV decoder: key frames and motion-block inter frames in the 8, 15, 16,
// 24 and 32-bit formats, delivered as 32-bit bottom-up DIBs.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <vector>

#include "codec/video_codec.h"

namespace vemtra::codec {

class ZmbvDecoder : public VideoDecompressor {
 public:
  ZmbvDecoder();
  ~ZmbvDecoder() override;
  ZmbvDecoder(const ZmbvDecoder&) = delete;
  ZmbvDecoder& operator=(const ZmbvDecoder&) = delete;

  bool Begin(const std::vector<uint8_t>& stream_format) override;
  // The frame size alone (for callers that have no stream format).
  bool Begin(FrameSize size);
  FrameSize Size() const override { return size_; }
  bool Decompress(const uint8_t* data, size_t size, uint8_t* dib) override;

  // The last decoded frame as stored in the stream: top-down rows of
  // width × bytes-per-pixel bytes in the key frame's format.
  const std::vector<uint8_t>& NativeFrame() const { return frame_; }
  int BytesPerPixel() const { return bpp_; }
  const uint8_t* Palette() const { return palette_; }

 private:
  bool DecodeKeyHeader(const uint8_t* data, size_t size);
  bool Inflate(const uint8_t* data, size_t size, size_t limit);
  bool DecodeKey();
  bool DecodeInter(uint8_t flags);
  void ToDib(uint8_t* dib) const;

  FrameSize size_;
  z_stream zs_{};
  bool zs_ready_ = false;
  bool have_key_ = false;
  uint8_t compression_ = 0, format_ = 0;
  int bpp_ = 0, bw_ = 0, bh_ = 0;
  uint8_t palette_[768] = {};
  std::vector<uint8_t> frame_, prev_;
  std::vector<uint8_t> payload_;
  size_t payload_size_ = 0;
};

}  // namespace vemtra::codec
