// Uncompressed DIB frames (BI_RGB, 8 to 32 bits) as a decoder, so streams
// stored without compression read like any other.
#pragma once

#include "codec/video_codec.h"

namespace vemtra::codec {

class DibDecoder : public VideoDecompressor {
 public:
  bool Begin(const std::vector<uint8_t>& stream_format) override;
  FrameSize Size() const override { return size_; }
  bool Decompress(const uint8_t* data, size_t size, uint8_t* dib) override;

 private:
  FrameSize size_;
  int bits_ = 0;
  bool top_down_ = false;
  std::vector<uint8_t> palette_;  // B, G, R, unused per entry
};

}  // namespace vemtra::codec
