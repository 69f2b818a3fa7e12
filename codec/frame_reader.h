// Decoded frames of a video stream by number (AVIStreamGetFrameOpen,
// AVIStreamGetFrame): decodes forward from the key frame before the wanted
// frame, and just one frame when reading in order.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "codec/video_codec.h"
#include "common/avi/media_stream.h"

namespace vemtra::codec {

class FrameReader {
 public:
  // With the built-in decoder for the stream's format; null when there is
  // none (the codec is missing).
  static std::unique_ptr<FrameReader> Open(std::shared_ptr<avi::MediaStream> stream);
  // With a given decoder (already begun with the stream's format).
  static std::unique_ptr<FrameReader> Open(std::shared_ptr<avi::MediaStream> stream,
                                           std::unique_ptr<VideoDecompressor> decoder);

  FrameSize Size() const { return decoder_->Size(); }
  // Frame n as a 32-bit bottom-up DIB (valid until the next call); null
  // when it cannot be read or decoded.
  const uint8_t* GetFrame(int64_t n);

 private:
  FrameReader(std::shared_ptr<avi::MediaStream> stream, std::unique_ptr<VideoDecompressor> decoder);
  bool DecodeOne(int64_t n);

  std::shared_ptr<avi::MediaStream> stream_;
  std::unique_ptr<VideoDecompressor> decoder_;
  std::vector<uint8_t> picture_, chunk_;
  int64_t current_ = -1;
};

}  // namespace vemtra::codec
