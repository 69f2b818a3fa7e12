#include "codec/compressed_stream.h"

namespace vemtra::codec {

CompressedVideoStream::CompressedVideoStream(avi::AviWriter& writer, int stream,
                                             std::unique_ptr<VideoCompressor> codec, int key_every)
    : writer_(writer), stream_(stream), codec_(std::move(codec)), key_every_(key_every) {}

bool CompressedVideoStream::SetFormat(const uint8_t* header, size_t size) {
  if (!codec_ || !header || size < 40 || ready_) return false;
  FrameSize s{static_cast<int32_t>(avi::GetU32(header + 4)), static_cast<int32_t>(avi::GetU32(header + 8))};
  if (avi::GetU16(header + 14) != 32 || avi::GetU32(header + 16) != 0 || !codec_->Begin(s)) return false;
  std::vector<uint8_t> format = codec_->OutputFormat();
  ready_ = writer_.SetFormat(stream_, format.data(), format.size());
  return ready_;
}

bool CompressedVideoStream::Write(int64_t position, const uint8_t* pixels, uint32_t flags,
                                  int64_t* bytes_written) {
  if (bytes_written) *bytes_written = 0;
  if (!ready_ || !pixels) return false;
  bool key = force_key_ || (flags & avi::kAviIfKeyFrame) || (key_every_ > 0 && since_key_ >= key_every_);
  chunk_.clear();
  bool made_key = false;
  if (!codec_->Compress(pixels, key, &chunk_, &made_key)) return false;
  if (!writer_.Write(stream_, position, 1, chunk_.data(), chunk_.size(),
                     made_key ? avi::kAviIfKeyFrame : 0, nullptr, bytes_written)) {
    // The codec has moved on to this frame; the next chunk must not depend
    // on a frame that is not in the file.
    force_key_ = true;
    return false;
  }
  force_key_ = false;
  since_key_ = made_key ? 1 : since_key_ + 1;
  return true;
}

}  // namespace vemtra::codec
