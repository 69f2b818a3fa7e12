// Codecs installed on the machine, reached through the Video for Windows
// codec manager, behind the programs' codec interface; and the choice
// between them and the built-in codecs.
#pragma once

#include <memory>
#include <vector>

#include "codec/video_codec.h"

namespace vemtra::codec {

// The compressor for a four-character code: the built-in one when there is
// one, otherwise the installed codec (null when none opens). `quality` is
// the chosen quality (0 to 10000; -1 for the codec's default).
std::unique_ptr<VideoCompressor> CompressorForHandler(FourCC handler, int quality);

// The installed codec alone, through the codec manager (ICOpen), even where
// a built-in one exists: how any other program reaches the screen codec.
std::unique_ptr<VideoCompressor> CompressorThroughCodecManager(FourCC handler, int quality);
std::unique_ptr<VideoDecompressor> DecompressorThroughCodecManager(const std::vector<uint8_t>& streamFormat);

// The decompressor for a stream format: built-in, otherwise any installed
// codec that can turn it into 32-bit frames (null when none can).
std::unique_ptr<VideoDecompressor> DecompressorForFormat(const std::vector<uint8_t>& streamFormat);

}  // namespace vemtra::codec
