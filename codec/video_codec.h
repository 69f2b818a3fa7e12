// The codec interface of the recorder and the editor: one frame in, one
// chunk out, and back. Frames are 32-bit DIBs (blue, green, red, unused),
// rows bottom-up, stride width × 4. The built-in screen codec implements it
// portably; installed Video for Windows codecs fit behind it on Windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/avi/riff_bytes.h"

namespace vemtra::codec {

using avi::FourCC;

struct FrameSize {
  int32_t width = 0;
  int32_t height = 0;
};

class VideoCompressor {
 public:
  virtual ~VideoCompressor() = default;
  virtual FourCC Handler() const = 0;
  // ICCompressBegin: prepares for frames of this size; false when the codec
  // cannot take them.
  virtual bool Begin(FrameSize size) = 0;
  // The stream format of the compressed frames (a BITMAPINFOHEADER).
  virtual std::vector<uint8_t> OutputFormat() const = 0;
  // ICCompress: appends the chunk of one frame to `out`. A key frame is made
  // when `key` is set, at the codec's own interval, or when the codec needs
  // one; `made_key` tells which it was.
  virtual bool Compress(const uint8_t* dib, bool key, std::vector<uint8_t>* out,
                        bool* made_key) = 0;
};

class VideoDecompressor {
 public:
  virtual ~VideoDecompressor() = default;
  // ICDecompressBegin with the stream format (BITMAPINFOHEADER and what
  // follows it); false when the codec cannot decode that format.
  virtual bool Begin(const std::vector<uint8_t>& stream_format) = 0;
  virtual FrameSize Size() const = 0;
  // ICDecompress: decodes one chunk onto `dib` (width × height × 4 bytes).
  // An empty chunk repeats the previous frame. False for a chunk that cannot
  // be decoded (then `dib` keeps the last good frame).
  virtual bool Decompress(const uint8_t* data, size_t size, uint8_t* dib) = 0;
};

// The built-in codec for a four-character code, or null.
std::unique_ptr<VideoCompressor> CreateBuiltinCompressor(FourCC handler);
// A decoder for the stream: by the codec of its format (ZMBV, uncompressed
// 8/16/24/32-bit DIB), or null when no built-in codec reads it.
std::unique_ptr<VideoDecompressor> CreateBuiltinDecompressor(const std::vector<uint8_t>& stream_format);

}  // namespace vemtra::codec
