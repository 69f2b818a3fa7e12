// Stream and file information in the shape of the Video for Windows records
// (AVISTREAMINFO, AVIFILEINFO), so a Win32 adapter copies them field by field.
#pragma once

#include <cstdint>
#include <string>

#include "common/avi/riff_bytes.h"

namespace vemtra::avi {

constexpr FourCC kStreamTypeVideo = MakeFourCC("vids");
constexpr FourCC kStreamTypeAudio = MakeFourCC("auds");
constexpr FourCC kHandlerUncompressed = MakeFourCC("DIB ");

// Chunk flags of the index (AVIIF_...).
constexpr uint32_t kAviIfKeyFrame = 0x10;

struct StreamRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct StreamInfo {
  FourCC fccType = 0;
  FourCC fccHandler = 0;
  uint32_t dwFlags = 0;
  uint32_t dwCaps = 0;
  uint16_t wPriority = 0;
  uint16_t wLanguage = 0;
  uint32_t dwScale = 0;
  uint32_t dwRate = 0;
  uint32_t dwStart = 0;
  uint32_t dwLength = 0;
  uint32_t dwInitialFrames = 0;
  uint32_t dwSuggestedBufferSize = 0;
  uint32_t dwQuality = 0;
  uint32_t dwSampleSize = 0;
  StreamRect rcFrame;
  uint32_t dwEditCount = 0;
  uint32_t dwFormatChangeCount = 0;
  std::string szName;
};

struct FileInfo {
  uint32_t dwMaxBytesPerSec = 0;
  uint32_t dwFlags = 0;
  uint32_t dwCaps = 0;
  uint32_t dwStreams = 0;
  uint32_t dwSuggestedBufferSize = 0;
  uint32_t dwWidth = 0;
  uint32_t dwHeight = 0;
  // dwRate / dwScale is the frame rate of the main header.
  uint32_t dwScale = 0;
  uint32_t dwRate = 0;
  uint32_t dwLength = 0;
  uint32_t dwEditCount = 0;
};

}  // namespace vemtra::avi
