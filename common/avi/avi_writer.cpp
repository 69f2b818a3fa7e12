#include "common/avi/avi_writer.h"

#include <algorithm>
#include <cmath>

namespace vemtra::avi {
namespace {

constexpr size_t kMaxStreams = 100;
constexpr uint32_t kAvifHasIndex = 0x10;
constexpr uint32_t kAvifIsInterleaved = 0x100;
constexpr uint64_t kStdIndexHeader = 8 + 24;

FourCC ChunkId(size_t stream, FourCC type) {
  const char* suffix = type == kStreamTypeAudio ? "wb" : type == MakeFourCC("txts") ? "tx" : "dc";
  return static_cast<uint32_t>('0' + stream / 10) | static_cast<uint32_t>('0' + stream % 10) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(suffix[0])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(suffix[1])) << 24;
}

FourCC IndexId(size_t stream) {
  return MakeFourCC("ix00") + (static_cast<uint32_t>(stream / 10) << 16) +
         (static_cast<uint32_t>(stream % 10) << 24);
}

}  // namespace

struct AviWriter::Stream {
  struct Entry {
    uint64_t offset;  // of the chunk data
    uint32_t size;
    bool key;
  };
  struct SuperEntry {
    uint64_t offset;
    uint32_t size, duration;
  };
  StreamInfo info;
  std::vector<uint8_t> format;
  FourCC chunk_id = 0;
  std::vector<Entry> entries;  // of the current RIFF part
  std::vector<SuperEntry> super;
  int64_t samples = 0;
  uint64_t bytes = 0;
  uint64_t part_samples = 0;  // samples in the current RIFF part
  uint32_t max_chunk = 0;
  uint32_t first_riff_chunks = 0;
};

std::unique_ptr<AviWriter> AviWriter::Create(const std::string& path, WriterOptions options) {
  auto sink = FileSink::Create(path);
  if (!sink) return nullptr;
  if (options.super_index_entries == 0) options.super_index_entries = 1;
  return std::unique_ptr<AviWriter>(new AviWriter(std::move(sink), options));
}

AviWriter::AviWriter(std::unique_ptr<FileSink> sink, WriterOptions options)
    : sink_(std::move(sink)), options_(options) {}

AviWriter::~AviWriter() { Close(); }

int AviWriter::CreateStream(const StreamInfo& info) {
  if (begun_ || closed_ || streams_.size() >= kMaxStreams) return -1;
  auto s = std::make_unique<Stream>();
  s->info = info;
  s->chunk_id = ChunkId(streams_.size(), info.fccType);
  streams_.push_back(std::move(s));
  return static_cast<int>(streams_.size() - 1);
}

bool AviWriter::SetFormat(int stream, const void* format, size_t size) {
  if (stream < 0 || static_cast<size_t>(stream) >= streams_.size() || closed_) return false;
  Stream& s = *streams_[stream];
  const uint8_t* p = static_cast<const uint8_t*>(format);
  std::vector<uint8_t> f(p, p + size);
  if (begun_) return f == s.format;  // the header is laid out already
  s.format = std::move(f);
  return true;
}

int64_t AviWriter::Length(int stream) const {
  if (stream < 0 || static_cast<size_t>(stream) >= streams_.size()) return 0;
  return streams_[stream]->samples;
}

const StreamInfo& AviWriter::Info(int stream) const { return streams_.at(stream)->info; }

uint64_t AviWriter::FileBytes() const { return begun_ ? end_ : 0; }

// Fills what the caller left 0 and a reader needs.
static void CompleteInfo(StreamInfo& i, const std::vector<uint8_t>& f) {
  if (i.fccType == kStreamTypeVideo && f.size() >= 12 && i.rcFrame.right == 0 &&
      i.rcFrame.bottom == 0) {
    i.rcFrame.right = static_cast<int32_t>(GetU32(&f[4]));
    i.rcFrame.bottom = std::abs(static_cast<int32_t>(GetU32(&f[8])));
  }
  if (i.fccType == kStreamTypeAudio && f.size() >= 14) {
    uint32_t avg = GetU32(&f[8]);
    uint16_t align = GetU16(&f[12]);
    if (i.dwSampleSize == 0) i.dwSampleSize = align;
    if (i.dwScale == 0 || i.dwRate == 0) {
      i.dwScale = align;
      i.dwRate = avg;
    }
  }
  if (i.dwScale == 0) i.dwScale = 1;
}

std::vector<uint8_t> AviWriter::BuildHeader() const {
  std::vector<uint8_t> h;
  ByteWriter w(h);
  w.U32(MakeFourCC("RIFF"));
  w.U32(first_riff_size_);  // known once the first RIFF part ends
  w.U32(MakeFourCC("AVI "));
  w.U32(MakeFourCC("LIST"));
  size_t hdrl_size_at = h.size();
  w.U32(0);
  w.U32(MakeFourCC("hdrl"));

  const Stream* video = nullptr;
  uint32_t max_chunk = 0;
  uint64_t total_bytes = 0;
  for (const auto& s : streams_) {
    if (!video && s->info.fccType == kStreamTypeVideo) video = s.get();
    max_chunk = std::max(max_chunk, s->max_chunk);
    total_bytes += s->bytes;
  }
  uint32_t usec = 0, width = 0, height = 0, per_sec = 0;
  if (video && video->info.dwRate) {
    double frame = 1e6 * video->info.dwScale / video->info.dwRate;
    usec = static_cast<uint32_t>(std::min(frame + 0.5, 4e9));
    width = static_cast<uint32_t>(video->info.rcFrame.right - video->info.rcFrame.left);
    height = static_cast<uint32_t>(video->info.rcFrame.bottom - video->info.rcFrame.top);
    double seconds = video->samples * frame / 1e6;
    if (seconds > 0) per_sec = static_cast<uint32_t>(std::min(total_bytes / seconds, 4e9));
  }
  w.U32(MakeFourCC("avih"));
  w.U32(56);
  w.U32(usec);
  w.U32(per_sec);
  w.U32(0);  // padding granularity
  w.U32(kAvifHasIndex | kAvifIsInterleaved);
  w.U32(video ? video->first_riff_chunks : 0);
  w.U32(0);  // initial frames
  w.U32(static_cast<uint32_t>(streams_.size()));
  w.U32(max_chunk);
  w.U32(width);
  w.U32(height);
  w.Zeros(16);

  for (size_t n = 0; n < streams_.size(); ++n) {
    const Stream& s = *streams_[n];
    const StreamInfo& i = s.info;
    size_t fmt = s.format.size() + (s.format.size() & 1);
    uint32_t strl = 4 + (8 + 56) + (8 + static_cast<uint32_t>(fmt)) +
                    (8 + 24 + 16 * options_.super_index_entries);
    w.U32(MakeFourCC("LIST"));
    w.U32(strl);
    w.U32(MakeFourCC("strl"));
    w.U32(MakeFourCC("strh"));
    w.U32(56);
    w.U32(i.fccType);
    w.U32(i.fccHandler);
    w.U32(i.dwFlags);
    w.U16(i.wPriority);
    w.U16(i.wLanguage);
    w.U32(i.dwInitialFrames);
    w.U32(i.dwScale);
    w.U32(i.dwRate);
    w.U32(i.dwStart);
    w.U32(static_cast<uint32_t>(std::min<int64_t>(s.samples, UINT32_MAX)));
    w.U32(s.max_chunk);
    w.U32(i.dwQuality);
    w.U32(i.dwSampleSize);
    w.U16(static_cast<uint16_t>(i.rcFrame.left));
    w.U16(static_cast<uint16_t>(i.rcFrame.top));
    w.U16(static_cast<uint16_t>(i.rcFrame.right));
    w.U16(static_cast<uint16_t>(i.rcFrame.bottom));
    w.U32(MakeFourCC("strf"));
    w.U32(static_cast<uint32_t>(s.format.size()));
    w.Bytes(s.format.data(), s.format.size());
    if (s.format.size() & 1) w.U8(0);
    // Super index, reserved at full size and filled in as RIFF parts end.
    w.U32(MakeFourCC("indx"));
    w.U32(24 + 16 * options_.super_index_entries);
    w.U16(4);
    w.U8(0);  // sub type
    w.U8(0);  // AVI_INDEX_OF_INDEXES
    w.U32(static_cast<uint32_t>(s.super.size()));
    w.U32(s.chunk_id);
    w.Zeros(12);
    for (const auto& e : s.super) {
      w.U64(e.offset);
      w.U32(e.size);
      w.U32(e.duration);
    }
    w.Zeros(16 * (options_.super_index_entries - s.super.size()));
  }
  uint32_t all_frames = video ? static_cast<uint32_t>(std::min<int64_t>(video->samples, UINT32_MAX)) : 0;
  w.U32(MakeFourCC("LIST"));
  w.U32(4 + 8 + 248);
  w.U32(MakeFourCC("odml"));
  w.U32(MakeFourCC("dmlh"));
  w.U32(248);
  w.U32(all_frames);
  w.Zeros(244);
  uint32_t hdrl = static_cast<uint32_t>(h.size() - hdrl_size_at - 4);
  h[hdrl_size_at] = static_cast<uint8_t>(hdrl);
  h[hdrl_size_at + 1] = static_cast<uint8_t>(hdrl >> 8);
  h[hdrl_size_at + 2] = static_cast<uint8_t>(hdrl >> 16);
  h[hdrl_size_at + 3] = static_cast<uint8_t>(hdrl >> 24);
  return h;
}

// Lays out the header once the streams are known, then opens the first movi.
bool AviWriter::Begin() {
  if (begun_) return !broken_;
  for (auto& s : streams_) CompleteInfo(s->info, s->format);
  begun_ = true;
  riff_count_ = 1;
  std::vector<uint8_t> h = BuildHeader();
  header_size_ = h.size();
  std::vector<uint8_t> movi;
  ByteWriter w(movi);
  w.U32(MakeFourCC("LIST"));
  w.U32(4);
  w.U32(MakeFourCC("movi"));
  riff_start_ = 0;
  movi_start_ = header_size_;
  end_ = header_size_ + movi.size();
  if (!sink_->Write(h.data(), h.size()) || !sink_->Write(movi.data(), movi.size())) {
    broken_ = true;
    return false;
  }
  return true;
}

// Bytes still to be written to finish the file from here (indexes of the
// current part, idx1 of the first), with one more chunk of `extra_stream`
// when `extra_entry` is set.
uint64_t AviWriter::FinishingBytes(size_t extra_stream, bool extra_entry) const {
  uint64_t n = 0;
  for (size_t k = 0; k < streams_.size(); ++k) {
    uint64_t entries = streams_[k]->entries.size() + (extra_entry && k == extra_stream ? 1 : 0);
    if (entries) n += kStdIndexHeader + 8 * entries;
  }
  if (riff_count_ == 1) n += 8 + 16 * (idx1_.size() + (extra_entry ? 1 : 0));
  return n;
}

bool AviWriter::Write(int stream, int64_t start, int64_t samples, const void* data, size_t size,
                      uint32_t flags, int64_t* samples_written, int64_t* bytes_written) {
  if (samples_written) *samples_written = 0;
  if (bytes_written) *bytes_written = 0;
  if (closed_ || broken_ || stream < 0 || static_cast<size_t>(stream) >= streams_.size()) return false;
  if (size > 0x7FFFFFF0u || (size && !data)) return false;
  if (!Begin()) return false;
  Stream& s = *streams_[stream];
  bool chunked = s.info.dwSampleSize == 0;
  if (chunked) {
    if (start >= 0 && start < s.samples) return false;  // frames are never rewritten
    if (start > s.samples + 100000) return false;
    while (start > s.samples) {
      if (!WriteChunk(stream, nullptr, 0, false)) return false;
    }
  }
  if (!WriteChunk(stream, data, size, (flags & kAviIfKeyFrame) != 0 || !chunked)) return false;
  (void)samples;
  if (samples_written)
    *samples_written = chunked ? 1 : static_cast<int64_t>(size / s.info.dwSampleSize);
  if (bytes_written) *bytes_written = static_cast<int64_t>(size);
  return true;
}

bool AviWriter::WriteChunk(size_t stream, const void* data, size_t size, bool key) {
  Stream& s = *streams_[stream];
  uint64_t chunk = 8 + size + (size & 1);
  bool part_has_data = false;
  for (const auto& t : streams_) part_has_data = part_has_data || !t->entries.empty();
  if (part_has_data &&
      end_ + chunk + FinishingBytes(stream, true) - riff_start_ > options_.riff_limit) {
    // The next part needs a super index entry in every stream that has data.
    for (const auto& t : streams_)
      if (t->super.size() + (t->entries.empty() ? 0 : 1) >= options_.super_index_entries)
        return false;
    if (options_.max_file_bytes && end_ + FinishingBytes(0, false) + 24 + chunk +
                                           kStdIndexHeader + 8 > options_.max_file_bytes)
      return false;
    if (!FinishRiff() || !StartRiff()) return false;
  }
  if (options_.max_file_bytes &&
      end_ + chunk + FinishingBytes(stream, true) > options_.max_file_bytes)
    return false;
  // Keeps the idx1 offsets (32-bit, from the first movi) valid.
  if (riff_count_ == 1 && end_ + chunk - movi_start_ > 0xFFFFFFF0ull) return false;
  uint8_t head[8];
  for (int i = 0; i < 4; ++i) head[i] = static_cast<uint8_t>(s.chunk_id >> (8 * i));
  for (int i = 0; i < 4; ++i) head[4 + i] = static_cast<uint8_t>(size >> (8 * i));
  const uint8_t pad = 0;
  bool ok = sink_->Write(head, 8) && (size == 0 || sink_->Write(data, size)) &&
            ((size & 1) == 0 || sink_->Write(&pad, 1));
  if (!ok) {
    // Drop the part of the chunk that did reach the file.
    if (!sink_->Truncate(end_)) broken_ = true;
    return false;
  }
  s.entries.push_back({end_ + 8, static_cast<uint32_t>(size), key});
  if (riff_count_ == 1) {
    idx1_.push_back({s.chunk_id, key ? kAviIfKeyFrame : 0u,
                     static_cast<uint32_t>(end_ - (movi_start_ + 8)), static_cast<uint32_t>(size)});
    ++s.first_riff_chunks;
  }
  end_ += chunk;
  uint64_t n = s.info.dwSampleSize ? size / s.info.dwSampleSize : 1;
  s.samples += static_cast<int64_t>(n);
  s.part_samples += n;
  s.bytes += size;
  s.max_chunk = std::max<uint32_t>(s.max_chunk, static_cast<uint32_t>(size));
  return true;
}

static void PatchU32(FileSink& sink, uint64_t pos, uint64_t value, bool& ok) {
  uint8_t b[4];
  for (int i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>(value >> (8 * i));
  ok = ok && sink.Seek(pos) && sink.Write(b, 4);
}

// Ends the current RIFF part: its standard indexes go at the end of its movi
// list, and the first part also gets idx1.
bool AviWriter::FinishRiff() {
  std::vector<uint8_t> buf;
  ByteWriter w(buf);
  for (size_t k = 0; k < streams_.size(); ++k) {
    Stream& s = *streams_[k];
    if (s.entries.empty()) continue;
    uint64_t pos = end_ + buf.size();
    uint32_t size = static_cast<uint32_t>(24 + 8 * s.entries.size());
    w.U32(IndexId(k));
    w.U32(size);
    w.U16(2);
    w.U8(0);
    w.U8(1);  // AVI_INDEX_OF_CHUNKS
    w.U32(static_cast<uint32_t>(s.entries.size()));
    w.U32(s.chunk_id);
    w.U64(riff_start_);
    w.U32(0);
    for (const auto& e : s.entries) {
      w.U32(static_cast<uint32_t>(e.offset - riff_start_));
      w.U32(e.size | (e.key ? 0u : 0x80000000u));
    }
    s.super.push_back({pos, size + 8, static_cast<uint32_t>(std::min<uint64_t>(s.part_samples, UINT32_MAX))});
    s.entries.clear();
    s.part_samples = 0;
  }
  uint64_t movi_end = end_ + buf.size();
  if (riff_count_ == 1) {
    w.U32(MakeFourCC("idx1"));
    w.U32(static_cast<uint32_t>(16 * idx1_.size()));
    for (const auto& e : idx1_) {
      w.U32(e.id);
      w.U32(e.flags);
      w.U32(e.offset);
      w.U32(e.size);
    }
    idx1_.clear();
    idx1_.shrink_to_fit();
  }
  bool ok = sink_->Seek(end_) && sink_->Write(buf.data(), buf.size());
  uint64_t riff_end = end_ + buf.size();
  PatchU32(*sink_, movi_start_ + 4, movi_end - movi_start_ - 8, ok);
  PatchU32(*sink_, riff_start_ + 4, riff_end - riff_start_ - 8, ok);
  if (riff_count_ == 1) first_riff_size_ = static_cast<uint32_t>(riff_end - 8);
  end_ = riff_end;
  ok = ok && sink_->Seek(end_);
  if (!ok) broken_ = true;
  return ok;
}

bool AviWriter::StartRiff() {
  std::vector<uint8_t> buf;
  ByteWriter w(buf);
  w.U32(MakeFourCC("RIFF"));
  w.U32(4 + 12);
  w.U32(MakeFourCC("AVIX"));
  w.U32(MakeFourCC("LIST"));
  w.U32(4);
  w.U32(MakeFourCC("movi"));
  if (!sink_->Write(buf.data(), buf.size())) {
    broken_ = true;
    return false;
  }
  riff_start_ = end_;
  movi_start_ = end_ + 12;
  end_ += buf.size();
  ++riff_count_;
  return true;
}

bool AviWriter::Close() {
  if (closed_) return !broken_;
  closed_ = true;
  if (!broken_ && Begin()) FinishRiff();
  bool ok = !broken_;
  if (ok) {
    std::vector<uint8_t> h = BuildHeader();
    ok = h.size() == header_size_ && sink_->Seek(0) && sink_->Write(h.data(), h.size()) &&
         sink_->Truncate(end_);
  }
  ok = sink_->Close() && ok;
  broken_ = !ok;
  return ok;
}

}  // namespace vemtra::avi
