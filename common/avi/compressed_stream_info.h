// The stream information a new compressed video stream is created with: the
// frame rate as dwRate / dwScale by the recorder's and the editor's rules,
// the provisional length and the frame rectangle.
#pragma once

#include <cstdint>

#include "common/avi/avi_stream_info.h"

namespace vemtra::avi {

struct StreamRate {
  uint32_t dwScale = 0;
  uint32_t dwRate = 0;
};

// Length given to a new compressed stream; the written file carries the
// number of frames really written.
constexpr uint32_t kCompressedStreamLength = 475200;

// Recorder (frame rate in double precision): the largest scale
// 268435455 − 10000·k whose product with the rate does not pass 268435456;
// the rate is that product, truncated. Also the rate the finalisation sets
// on the joined video (with the whole frame rate).
StreamRate RecorderStreamRate(double fps);

// Editor (frame rate in single precision): scale 16777215 and the rate
// fps × 16777215 rounded to single precision, then truncated.
StreamRate EditorStreamRate(float fps);

// AVISTREAMINFO of a compressed video stream: "vids", the codec's code, the
// provisional length, rectangle (0, 0, width, height), all else 0.
StreamInfo CompressedStreamInfo(FourCC handler, int32_t width, int32_t height, StreamRate rate);

}  // namespace vemtra::avi
