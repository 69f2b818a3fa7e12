#include "common/avi/compressed_stream_info.h"

namespace vemtra::avi {

StreamRate RecorderStreamRate(double fps) {
  StreamRate r;
  if (!(fps > 0) || fps > 1e6) return r;  // no rate can be expressed
  double scale = 268435455;
  // Stop above one step so that the scale stays positive for any rate.
  while (scale * fps > 268435456.0 && scale > 10000) scale -= 10000;
  r.dwScale = static_cast<uint32_t>(scale);
  r.dwRate = static_cast<uint32_t>(scale * fps);
  return r;
}

StreamRate EditorStreamRate(float fps) {
  StreamRate r;
  if (!(fps > 0) || fps > 255.0f) return r;  // the product must fit 32 bits
  volatile float rate = fps * 16777215.0f;  // kept in single precision
  r.dwScale = 16777215;
  r.dwRate = static_cast<uint32_t>(rate);
  return r;
}

StreamInfo CompressedStreamInfo(FourCC handler, int32_t width, int32_t height, StreamRate rate) {
  StreamInfo si;
  si.fccType = kStreamTypeVideo;
  si.fccHandler = handler;
  si.dwLength = kCompressedStreamLength;
  si.rcFrame = {0, 0, width, height};
  si.dwScale = rate.dwScale;
  si.dwRate = rate.dwRate;
  return si;
}

}  // namespace vemtra::avi
