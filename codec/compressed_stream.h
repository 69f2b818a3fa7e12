// A video stream of an AVI file being written that compresses the frames
// given to it (AVIMakeCompressedStream, AVIStreamSetFormat, AVIStreamWrite).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "codec/video_codec.h"
#include "common/avi/avi_writer.h"

namespace vemtra::codec {

class CompressedVideoStream {
 public:
  // Over stream `stream` of `writer` (which must outlive this object);
  // `key_every` frames make a key frame on top of those asked for (0: only
  // those).
  CompressedVideoStream(avi::AviWriter& writer, int stream,
                        std::unique_ptr<VideoCompressor> codec, int key_every);

  // AVIStreamSetFormat: the BITMAPINFOHEADER of the frames that will be
  // written (32 bits per pixel, width, height). Prepares the codec and gives
  // the stream its compressed format; false when the codec refuses.
  bool SetFormat(const uint8_t* header, size_t size);

  // AVIStreamWrite of one frame (bottom-up 32-bit DIB) at `position`;
  // AVIIF_KEYFRAME in `flags` asks for a key frame. False when the frame
  // cannot be compressed or the file cannot take it (then nothing of it is
  // in the file).
  bool Write(int64_t position, const uint8_t* pixels, uint32_t flags,
             int64_t* bytes_written = nullptr);

  int64_t Length() const { return writer_.Length(stream_); }

 private:
  avi::AviWriter& writer_;
  int stream_;
  std::unique_ptr<VideoCompressor> codec_;
  int key_every_;
  int64_t since_key_ = 0;
  bool ready_ = false;
  bool force_key_ = true;
  std::vector<uint8_t> chunk_;
};

}  // namespace vemtra::codec
