// Sample access to one stream of an opened file.
#include <algorithm>

#include "common/avi/avi_reader.h"

namespace vemtra::avi {

FileStream::FileStream(std::shared_ptr<SharedSource> source, StreamInfo header,
                       std::vector<uint8_t> format, std::vector<ChunkEntry> chunks)
    : source_(std::move(source)),
      header_(std::move(header)),
      format_(std::move(format)),
      chunks_(std::move(chunks)) {
  uint64_t bytes = 0;
  chunk_begin_.reserve(chunks_.size());
  for (const auto& c : chunks_) {
    chunk_begin_.push_back(bytes);
    bytes += c.size;
  }
  // The length comes from the index, not from the header: a header written
  // before the end of the recording may hold a provisional value.
  length_ = header_.dwSampleSize ? static_cast<int64_t>(bytes / header_.dwSampleSize)
                                 : static_cast<int64_t>(chunks_.size());
}

StreamInfo FileStream::Info() const {
  StreamInfo info = header_;
  info.dwLength = static_cast<uint32_t>(std::min<int64_t>(length_, UINT32_MAX));
  return info;
}

bool FileStream::IsKeyFrame(int64_t n) const {
  if (n < 0 || n >= length_) return false;
  if (header_.dwSampleSize) return true;
  return chunks_[static_cast<size_t>(n)].key;
}

bool FileStream::Read(int64_t start, int64_t count, std::vector<uint8_t>* out,
                      int64_t* samples_read) {
  if (samples_read) *samples_read = 0;
  if (start < 0 || count < 0) return false;
  if (start >= length_ || count == 0) return true;
  if (header_.dwSampleSize == 0) {
    const ChunkEntry& c = chunks_[static_cast<size_t>(start)];
    size_t old = out->size();
    out->resize(old + c.size);
    if (!source_->ReadAt(c.offset, out->data() + old, c.size)) {
      out->resize(old);
      return false;
    }
    if (samples_read) *samples_read = 1;
    return true;
  }
  count = std::min(count, length_ - start);
  uint64_t size = header_.dwSampleSize;
  if (!ReadBytes(static_cast<uint64_t>(start) * size, static_cast<uint64_t>(count) * size, out))
    return false;
  if (samples_read) *samples_read = count;
  return true;
}

// Bytes [first, first + size) of the stream's data, across chunks.
bool FileStream::ReadBytes(uint64_t first, uint64_t size, std::vector<uint8_t>* out) {
  size_t old = out->size();
  if (size > SIZE_MAX - old) return false;
  out->resize(old + static_cast<size_t>(size));
  uint8_t* dst = out->data() + old;
  auto it = std::upper_bound(chunk_begin_.begin(), chunk_begin_.end(), first);
  size_t k = static_cast<size_t>(it - chunk_begin_.begin()) - 1;
  while (size > 0 && k < chunks_.size()) {
    uint64_t inside = first - chunk_begin_[k];
    uint64_t n = std::min<uint64_t>(chunks_[k].size - inside, size);
    if (!source_->ReadAt(chunks_[k].offset + inside, dst, static_cast<size_t>(n))) {
      out->resize(old);
      return false;
    }
    dst += n;
    first += n;
    size -= n;
    ++k;
  }
  if (size != 0) {
    out->resize(old);
    return false;
  }
  return true;
}

}  // namespace vemtra::avi
