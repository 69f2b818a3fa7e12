// Constants of the ZMBV bitstream.
#pragma once

#include <cstdint>

#include "common/avi/riff_bytes.h"

namespace vemtra::codec::zmbv {

constexpr avi::FourCC kFourCC = avi::MakeFourCC("ZMBV");

constexpr uint8_t kFlagKeyFrame = 0x01;
constexpr uint8_t kFlagDeltaPalette = 0x02;
constexpr uint8_t kVersionMajor = 0;
constexpr uint8_t kVersionMinor = 1;
constexpr uint8_t kCompressionNone = 0;
constexpr uint8_t kCompressionZlib = 1;
constexpr int kKeyHeaderBytes = 7;  // flags + six header bytes

enum Format : uint8_t {
  kFormat8 = 4,
  kFormat15 = 5,
  kFormat16 = 6,
  kFormat24 = 7,
  kFormat32 = 8,
};

// Bytes per pixel of a format, 0 when unknown.
constexpr int BytesPerPixel(uint8_t format) {
  switch (format) {
    case kFormat8: return 1;
    case kFormat15:
    case kFormat16: return 2;
    case kFormat24: return 3;
    case kFormat32: return 4;
    default: return 0;
  }
}

constexpr int kPaletteBytes = 768;
constexpr int kBlockSize = 16;

// Largest frame the decoder accepts (a 8K screen has 33 million pixels).
constexpr int64_t kMaxPixels = int64_t(1) << 26;
constexpr int32_t kMaxSide = 1 << 15;

}  // namespace vemtra::codec::zmbv
