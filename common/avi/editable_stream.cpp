#include "common/avi/editable_stream.h"

#include <algorithm>
#include <cstring>

namespace vemtra::avi {
namespace {

// Whether data of format `b` may stand in a stream of format `a`.
bool SameFormat(FourCC type, const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  if (type == kStreamTypeVideo) {
    // BITMAPINFOHEADER: width, height, planes, bit count, compression.
    if (a.size() < 20 || b.size() < 20) return a == b;
    return std::memcmp(a.data() + 4, b.data() + 4, 16) == 0;
  }
  if (type == kStreamTypeAudio) {
    // WAVEFORMAT: tag, channels, rate, bytes per second, block align, bits.
    if (a.size() < 16 || b.size() < 16) return a == b;
    return std::memcmp(a.data(), b.data(), 16) == 0;
  }
  return a == b;
}

}  // namespace

std::shared_ptr<EditableStream> CreateEditableStream(std::shared_ptr<MediaStream> source) {
  if (!source) return nullptr;
  std::shared_ptr<EditableStream> e(new EditableStream());
  e->info_ = source->Info();
  e->format_ = source->Format();
  e->sample_size_ = source->SampleSize();
  if (auto* inner = dynamic_cast<EditableStream*>(source.get())) {
    e->ranges_ = inner->ranges_;
  } else if (source->Length() > 0) {
    e->ranges_.push_back({source, 0, source->Length()});
  }
  e->Recount();
  return e;
}

void EditableStream::Recount() {
  range_begin_.clear();
  length_ = 0;
  for (const auto& r : ranges_) {
    range_begin_.push_back(length_);
    length_ += r.length;
  }
}

StreamInfo EditableStream::Info() const {
  StreamInfo i = info_;
  i.dwLength = static_cast<uint32_t>(std::min<int64_t>(length_, UINT32_MAX));
  return i;
}

size_t EditableStream::Find(int64_t n, int64_t* offset) const {
  auto it = std::upper_bound(range_begin_.begin(), range_begin_.end(), n);
  size_t k = static_cast<size_t>(it - range_begin_.begin()) - 1;
  *offset = n - range_begin_[k];
  return k;
}

void EditableStream::SplitAt(int64_t n) {
  if (n <= 0 || n >= length_) return;
  int64_t off;
  size_t k = Find(n, &off);
  if (off == 0) return;
  Range tail = ranges_[k];
  tail.start += off;
  tail.length -= off;
  ranges_[k].length = off;
  ranges_.insert(ranges_.begin() + static_cast<std::ptrdiff_t>(k) + 1, tail);
  Recount();
}

bool EditableStream::IsKeyFrame(int64_t n) const {
  if (n < 0 || n >= length_) return false;
  int64_t off;
  const Range& r = ranges_[Find(n, &off)];
  return r.source->IsKeyFrame(r.start + off);
}

bool EditableStream::Read(int64_t start, int64_t count, std::vector<uint8_t>* out,
                          int64_t* samples_read) {
  if (samples_read) *samples_read = 0;
  if (start < 0 || count < 0) return false;
  if (start >= length_ || count == 0) return true;
  if (sample_size_ == 0) count = 1;
  count = std::min(count, length_ - start);
  int64_t done = 0;
  while (done < count) {
    int64_t off;
    const Range& r = ranges_[Find(start + done, &off)];
    int64_t n = std::min(count - done, r.length - off);
    int64_t got = 0;
    if (!r.source->Read(r.start + off, n, out, &got) || got <= 0) return false;
    done += got;
  }
  if (samples_read) *samples_read = done;
  return true;
}

bool EditStreamPaste(EditableStream& dest, int64_t position,
                     const std::shared_ptr<MediaStream>& source, int64_t start, int64_t length,
                     int64_t* pasted) {
  if (pasted) *pasted = 0;
  if (!source || position < 0 || position > dest.length_ || start < 0) return false;
  int64_t available = source->Length() - start;
  if (available < 0) return false;
  if (length < 0 || length > available) length = available;
  StreamInfo si = source->Info();
  if (si.fccType != dest.info_.fccType || source->SampleSize() != dest.sample_size_ ||
      !SameFormat(si.fccType, dest.format_, source->Format()))
    return false;
  if (length == 0) return true;
  if (dest.sample_size_ == 0) {
    if (!source->IsKeyFrame(start)) return false;
    if (position < dest.length_ && !dest.IsKeyFrame(position)) return false;
  }
  // Take the source's ranges as they are, so pasting an editable stream
  // (even into itself) never nests one in the other.
  std::vector<EditableStream::Range> add;
  if (auto* inner = dynamic_cast<EditableStream*>(source.get())) {
    int64_t pos = start, left = length;
    while (left > 0) {
      int64_t off;
      const auto& r = inner->ranges_[inner->Find(pos, &off)];
      int64_t n = std::min(left, r.length - off);
      add.push_back({r.source, r.start + off, n});
      pos += n;
      left -= n;
    }
  } else {
    add.push_back({source, start, length});
  }
  dest.SplitAt(position);
  size_t at = dest.ranges_.size();
  for (size_t k = 0; k < dest.ranges_.size(); ++k)
    if (dest.range_begin_[k] >= position) {
      at = k;
      break;
    }
  dest.ranges_.insert(dest.ranges_.begin() + static_cast<std::ptrdiff_t>(at), add.begin(), add.end());
  dest.Recount();
  ++dest.info_.dwEditCount;
  if (pasted) *pasted = length;
  return true;
}

bool EditStreamCut(EditableStream& stream, int64_t start, int64_t length) {
  if (start < 0 || start > stream.length_) return false;
  if (length < 0 || length > stream.length_ - start) length = stream.length_ - start;
  if (length == 0) return true;
  int64_t end = start + length;
  if (stream.sample_size_ == 0 && end < stream.length_ && !stream.IsKeyFrame(end)) return false;
  stream.SplitAt(start);
  stream.SplitAt(end);
  std::vector<EditableStream::Range> kept;
  for (size_t k = 0; k < stream.ranges_.size(); ++k) {
    int64_t b = stream.range_begin_[k];
    if (b >= start && b < end) continue;
    kept.push_back(stream.ranges_[k]);
  }
  stream.ranges_ = std::move(kept);
  stream.Recount();
  ++stream.info_.dwEditCount;
  return true;
}

bool EditStreamSetStreamInfo(EditableStream& stream, const StreamInfo& info) {
  if (info.dwScale == 0 || info.dwRate == 0) return false;
  StreamInfo& i = stream.info_;
  i.wPriority = info.wPriority;
  i.wLanguage = info.wLanguage;
  i.dwScale = info.dwScale;
  i.dwRate = info.dwRate;
  i.dwStart = info.dwStart;
  i.dwQuality = info.dwQuality;
  i.rcFrame = info.rcFrame;
  i.szName = info.szName;
  return true;
}

}  // namespace vemtra::avi
