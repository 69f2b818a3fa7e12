// Which built-in codec serves which four-character code.
#include "codec/dib_decoder.h"
#include "codec/video_codec.h"
#include "codec/zmbv_decoder.h"
#include "codec/zmbv_encoder.h"
#include "codec/zmbv_format.h"

namespace vemtra::codec {

std::unique_ptr<VideoCompressor> CreateBuiltinCompressor(FourCC handler) {
  if (handler == zmbv::kFourCC || handler == avi::MakeFourCC("zmbv"))
    return std::make_unique<ZmbvEncoder>();
  return nullptr;
}

std::unique_ptr<VideoDecompressor> CreateBuiltinDecompressor(const std::vector<uint8_t>& format) {
  if (format.size() < 40) return nullptr;
  std::unique_ptr<VideoDecompressor> d;
  uint32_t compression = avi::GetU32(&format[16]);
  if (compression == zmbv::kFourCC)
    d = std::make_unique<ZmbvDecoder>();
  else if (compression == 0)
    d = std::make_unique<DibDecoder>();
  if (d && !d->Begin(format)) d.reset();
  return d;
}

}  // namespace vemtra::codec
