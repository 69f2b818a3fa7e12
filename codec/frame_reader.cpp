#include "codec/frame_reader.h"

namespace vemtra::codec {

std::unique_ptr<FrameReader> FrameReader::Open(std::shared_ptr<avi::MediaStream> stream) {
  if (!stream) return nullptr;
  return Open(stream, CreateBuiltinDecompressor(stream->Format()));
}

std::unique_ptr<FrameReader> FrameReader::Open(std::shared_ptr<avi::MediaStream> stream,
                                               std::unique_ptr<VideoDecompressor> decoder) {
  if (!stream || !decoder || decoder->Size().width <= 0) return nullptr;
  return std::unique_ptr<FrameReader>(new FrameReader(std::move(stream), std::move(decoder)));
}

FrameReader::FrameReader(std::shared_ptr<avi::MediaStream> stream,
                         std::unique_ptr<VideoDecompressor> decoder)
    : stream_(std::move(stream)), decoder_(std::move(decoder)) {
  FrameSize s = decoder_->Size();
  picture_.assign(size_t(s.width) * s.height * 4, 0);
}

bool FrameReader::DecodeOne(int64_t n) {
  chunk_.clear();
  int64_t got = 0;
  if (!stream_->Read(n, 1, &chunk_, &got) || got != 1) return false;
  return decoder_->Decompress(chunk_.data(), chunk_.size(), picture_.data());
}

const uint8_t* FrameReader::GetFrame(int64_t n) {
  if (n < 0 || n >= stream_->Length()) return nullptr;
  if (n == current_) return picture_.data();
  int64_t from = (current_ >= 0 && n > current_ && stream_->PrevKeyFrame(n) <= current_)
                     ? current_ + 1
                     : stream_->PrevKeyFrame(n);
  for (int64_t i = from; i <= n; ++i) {
    if (!DecodeOne(i)) {
      current_ = -1;
      return nullptr;
    }
    current_ = i;
  }
  return picture_.data();
}

}  // namespace vemtra::codec
