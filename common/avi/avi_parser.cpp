// Parses the RIFF structure of AVI and WAV files and builds each stream's
// chunk index. Every size read from the file is checked against the bytes
// that are really there: a damaged file yields fewer chunks, never a read
// outside the file.
#include <algorithm>
#include <cstring>

#include "common/avi/avi_reader.h"

namespace vemtra::avi {
namespace {

constexpr FourCC kRiff = MakeFourCC("RIFF");
constexpr FourCC kList = MakeFourCC("LIST");
constexpr size_t kMaxStreams = 100;
constexpr size_t kMaxFormatBytes = 1 << 20;
constexpr int kMaxRiffs = 1 << 16;
constexpr int kMaxListDepth = 4;

struct ChunkHeader {
  FourCC id = 0;
  uint64_t data = 0;  // position of the chunk data
  uint64_t size = 0;  // data bytes present (clamped to the enclosing range)
};

struct StreamDraft {
  StreamInfo header;
  std::vector<uint8_t> format;
  uint64_t indx_pos = 0;
  uint64_t indx_size = 0;
  std::vector<ChunkEntry> chunks;
};

struct MoviList {
  uint64_t fourcc_pos;  // position of the "movi" code; idx1 offsets count from here
  uint64_t end;
};

// Stream number of a chunk id such as "01wb"; -1 when it is not one.
int StreamNumberOf(FourCC id) {
  int a = static_cast<int>(id & 0xFF) - '0';
  int b = static_cast<int>((id >> 8) & 0xFF) - '0';
  if (a < 0 || a > 9 || b < 0 || b > 9) return -1;
  return a * 10 + b;
}

}  // namespace

class AviParser {
 public:
  explicit AviParser(std::shared_ptr<SharedSource> src) : src_(std::move(src)) {}

  std::unique_ptr<AviFile> Parse() {
    uint8_t head[12];
    if (!src_->ReadAt(0, head, 12) || GetU32(head) != kRiff) return nullptr;
    uint64_t riff_end = ClampEnd(8, GetU32(head + 4));
    FourCC form = GetU32(head + 8);
    std::unique_ptr<AviFile> file(new AviFile());
    if (form == MakeFourCC("WAVE")) {
      if (!ParseWave(riff_end)) return nullptr;
      file->is_wave_ = true;
    } else if (form == MakeFourCC("AVI ")) {
      if (!ParseAvi(riff_end)) return nullptr;
    } else {
      return nullptr;
    }
    Finish(*file);
    return file;
  }

 private:
  uint64_t ClampEnd(uint64_t data, uint64_t size) const {
    uint64_t total = src_->Size();
    if (data > total) return total;
    return std::min<uint64_t>(total, data + size);
  }

  bool ReadHeader(uint64_t pos, uint64_t end, ChunkHeader* h) {
    uint8_t b[8];
    if (pos > end || end - pos < 8 || !src_->ReadAt(pos, b, 8)) return false;
    h->id = GetU32(b);
    h->data = pos + 8;
    h->size = std::min<uint64_t>(GetU32(b + 4), end - h->data);
    return true;
  }

  static uint64_t Next(const ChunkHeader& h) { return h.data + h.size + (h.size & 1); }

  bool ReadBlock(uint64_t pos, uint64_t size, size_t cap, std::vector<uint8_t>* out) {
    size_t n = static_cast<size_t>(std::min<uint64_t>(size, cap));
    out->assign(n, 0);
    return src_->ReadAt(pos, out->data(), n);
  }

  // ---- WAV ----
  bool ParseWave(uint64_t riff_end) {
    std::vector<uint8_t> fmt;
    bool have_fmt = false, have_data = false;
    ChunkEntry data;
    ChunkHeader h;
    for (uint64_t pos = 12; ReadHeader(pos, riff_end, &h); pos = Next(h)) {
      if (h.id == MakeFourCC("fmt ") && !have_fmt) {
        have_fmt = ReadBlock(h.data, h.size, kMaxFormatBytes, &fmt) && fmt.size() >= 14;
      } else if (h.id == MakeFourCC("data") && !have_data) {
        data.offset = h.data;
        data.size = static_cast<uint32_t>(h.size);
        have_data = true;
      }
    }
    if (!have_fmt || !have_data) return false;
    uint32_t avg_bytes = GetU32(fmt.data() + 8);
    uint16_t block_align = GetU16(fmt.data() + 12);
    if (block_align == 0) return false;
    StreamDraft s;
    s.header.fccType = kStreamTypeAudio;
    s.header.dwScale = block_align;
    s.header.dwRate = avg_bytes;
    s.header.dwSampleSize = block_align;
    s.header.dwSuggestedBufferSize = data.size;
    s.format = std::move(fmt);
    s.chunks.push_back(data);
    streams_.push_back(std::move(s));
    return true;
  }

  // ---- AVI ----
  bool ParseAvi(uint64_t riff_end) {
    bool have_header = false;
    ChunkHeader h;
    for (uint64_t pos = 12; ReadHeader(pos, riff_end, &h); pos = Next(h)) {
      if (h.id == MakeFourCC("idx1")) {
        idx1_pos_ = h.data;
        idx1_size_ = h.size;
      } else if (h.id == kList && h.size >= 4) {
        FourCC type = ListType(h);
        if (type == MakeFourCC("hdrl")) {
          ParseHeaderList(h.data + 4, h.data + h.size);
          have_header = true;
        } else if (type == MakeFourCC("movi")) {
          movis_.push_back({h.data, h.data + h.size});
        }
      }
    }
    if (!have_header) return false;
    // OpenDML continuations: RIFF AVIX chunks one after another.
    uint64_t pos = riff_end + (riff_end & 1);
    for (int i = 0; i < kMaxRiffs; ++i) {
      uint8_t head[12];
      if (!src_->ReadAt(pos, head, 12) || GetU32(head) != kRiff ||
          GetU32(head + 8) != MakeFourCC("AVIX"))
        break;
      uint64_t end = ClampEnd(pos + 8, GetU32(head + 4));
      for (uint64_t p = pos + 12; ReadHeader(p, end, &h); p = Next(h))
        if (h.id == kList && h.size >= 4 && ListType(h) == MakeFourCC("movi"))
          movis_.push_back({h.data, h.data + h.size});
      pos = end + (end & 1);
    }
    BuildIndexes();
    return true;
  }

  FourCC ListType(const ChunkHeader& h) {
    uint8_t b[4];
    return src_->ReadAt(h.data, b, 4) ? GetU32(b) : 0;
  }

  void ParseHeaderList(uint64_t begin, uint64_t end) {
    ChunkHeader h;
    for (uint64_t pos = begin; ReadHeader(pos, end, &h); pos = Next(h)) {
      if (h.id == MakeFourCC("avih")) {
        std::vector<uint8_t> b;
        if (ReadBlock(h.data, h.size, 56, &b)) {
          b.resize(56, 0);
          micro_sec_per_frame_ = GetU32(b.data());
          info_.dwMaxBytesPerSec = GetU32(b.data() + 4);
          info_.dwFlags = GetU32(b.data() + 12);
          total_frames_ = GetU32(b.data() + 16);
          info_.dwSuggestedBufferSize = GetU32(b.data() + 28);
          info_.dwWidth = GetU32(b.data() + 32);
          info_.dwHeight = GetU32(b.data() + 36);
        }
      } else if (h.id == kList && h.size >= 4 && ListType(h) == MakeFourCC("strl")) {
        if (streams_.size() < kMaxStreams) ParseStreamList(h.data + 4, h.data + h.size);
      }
    }
  }

  void ParseStreamList(uint64_t begin, uint64_t end) {
    StreamDraft s;
    bool have_strh = false;
    ChunkHeader h;
    for (uint64_t pos = begin; ReadHeader(pos, end, &h); pos = Next(h)) {
      if (h.id == MakeFourCC("strh")) {
        std::vector<uint8_t> b;
        if (!ReadBlock(h.data, h.size, 56, &b)) continue;
        b.resize(56, 0);
        StreamInfo& i = s.header;
        i.fccType = GetU32(&b[0]);
        i.fccHandler = GetU32(&b[4]);
        i.dwFlags = GetU32(&b[8]);
        i.wPriority = GetU16(&b[12]);
        i.wLanguage = GetU16(&b[14]);
        i.dwInitialFrames = GetU32(&b[16]);
        i.dwScale = GetU32(&b[20]);
        i.dwRate = GetU32(&b[24]);
        i.dwStart = GetU32(&b[28]);
        i.dwLength = GetU32(&b[32]);
        i.dwSuggestedBufferSize = GetU32(&b[36]);
        i.dwQuality = GetU32(&b[40]);
        i.dwSampleSize = GetU32(&b[44]);
        i.rcFrame.left = static_cast<int16_t>(GetU16(&b[48]));
        i.rcFrame.top = static_cast<int16_t>(GetU16(&b[50]));
        i.rcFrame.right = static_cast<int16_t>(GetU16(&b[52]));
        i.rcFrame.bottom = static_cast<int16_t>(GetU16(&b[54]));
        have_strh = true;
      } else if (h.id == MakeFourCC("strf")) {
        ReadBlock(h.data, h.size, kMaxFormatBytes, &s.format);
      } else if (h.id == MakeFourCC("strn")) {
        std::vector<uint8_t> b;
        if (ReadBlock(h.data, h.size, 256, &b))
          s.header.szName.assign(b.begin(), std::find(b.begin(), b.end(), 0));
      } else if (h.id == MakeFourCC("indx")) {
        s.indx_pos = h.data;
        s.indx_size = h.size;
      }
    }
    // A stream without a header still takes its number, so later streams
    // keep the numbers their chunk ids carry.
    if (!have_strh) s.header.fccType = 0;
    streams_.push_back(std::move(s));
  }

  // ---- indexes ----
  // Each stream takes its OpenDML index when it has a sound one, else its
  // idx1 entries, else the chunks found by walking the movi lists.
  void BuildIndexes() {
    std::vector<bool> done(streams_.size(), false);
    bool all_done = true;
    for (size_t i = 0; i < streams_.size(); ++i) {
      auto& s = streams_[i];
      done[i] = s.indx_size != 0 && ReadOdmlIndex(s);
      if (!done[i]) s.chunks.clear();
      all_done = all_done && done[i];
    }
    if (all_done) return;
    if (idx1_size_ >= 16 && ReadIdx1(done)) return;
    for (size_t i = 0; i < streams_.size(); ++i)
      if (!done[i]) streams_[i].chunks.clear();
    for (const auto& m : movis_) ScanChunks(m.fourcc_pos + 4, m.end, 0, done);
  }

  // indx of a stream: a super index of ix## chunks, or itself a standard index.
  bool ReadOdmlIndex(StreamDraft& s) {
    uint8_t h[24];
    if (s.indx_size < 24 || !src_->ReadAt(s.indx_pos, h, 24)) return false;
    uint16_t longs = GetU16(h);
    uint8_t type = h[3];
    uint32_t used = GetU32(h + 4);
    if (type == 1) return ReadStandardIndex(s.indx_pos - 8, s);
    if (type != 0 || longs != 4) return false;
    if (used > (s.indx_size - 24) / 16) return false;
    std::vector<uint8_t> entries(static_cast<size_t>(used) * 16);
    if (!src_->ReadAt(s.indx_pos + 24, entries.data(), entries.size())) return false;
    for (uint32_t i = 0; i < used; ++i) {
      uint64_t ix_pos = GetU64(&entries[i * 16]);
      if (!ReadStandardIndex(ix_pos, s)) return false;
    }
    return true;
  }

  // A standard index chunk (ix##) at `pos` (its chunk header).
  bool ReadStandardIndex(uint64_t pos, StreamDraft& s) {
    ChunkHeader ck;
    if (!ReadHeader(pos, src_->Size(), &ck) || ck.size < 24) return false;
    uint8_t h[24];
    if (!src_->ReadAt(ck.data, h, 24)) return false;
    uint16_t longs = GetU16(h);
    uint8_t type = h[3];
    uint32_t used = GetU32(h + 4);
    uint64_t base = GetU64(h + 12);
    if (type != 1 || (longs != 2 && longs != 3)) return false;
    uint64_t entry_bytes = 4ull * longs;
    if (used > (ck.size - 24) / entry_bytes) return false;
    std::vector<uint8_t> b(static_cast<size_t>(used * entry_bytes));
    if (!src_->ReadAt(ck.data + 24, b.data(), b.size())) return false;
    uint64_t total = src_->Size();
    // Every real chunk takes at least 8 bytes of the file; more entries than
    // that means index chunks that repeat each other.
    if (s.chunks.size() + used > total / 8 + 16) return false;
    for (uint32_t i = 0; i < used; ++i) {
      const uint8_t* e = &b[i * entry_bytes];
      ChunkEntry c;
      c.offset = base + GetU32(e);
      uint32_t size = GetU32(e + 4);
      c.size = size & 0x7FFFFFFF;
      c.key = (size & 0x80000000u) == 0;
      if (base > total || c.offset > total || c.size > total - c.offset) return false;
      s.chunks.push_back(c);
    }
    return true;
  }

  bool ReadIdx1(const std::vector<bool>& done) {
    if (movis_.empty()) return false;
    uint64_t count = idx1_size_ / 16;
    const uint64_t movi = movis_[0].fourcc_pos;
    const uint64_t total = src_->Size();
    bool decided = false, found = false;
    uint64_t base = movi;
    constexpr uint64_t kBatch = 4096;
    std::vector<uint8_t> b;
    for (uint64_t first = 0; first < count; first += kBatch) {
      uint64_t n = std::min(kBatch, count - first);
      b.resize(static_cast<size_t>(n * 16));
      if (!src_->ReadAt(idx1_pos_ + first * 16, b.data(), b.size())) return false;
      for (uint64_t i = 0; i < n; ++i) {
        const uint8_t* e = &b[i * 16];
        FourCC id = GetU32(e);
        uint32_t flags = GetU32(e + 4);
        uint32_t offset = GetU32(e + 8);
        uint32_t size = GetU32(e + 12);
        int number = StreamNumberOf(id);
        if (number < 0 || static_cast<size_t>(number) >= streams_.size()) continue;
        found = true;
        if (!decided) {
          // Offsets count from the "movi" code in most files, from the start
          // of the file in some old ones: the chunk id found there decides.
          base = ChunkIdAt(movi + offset) == id ? movi : ChunkIdAt(offset) == id ? 0 : movi;
          decided = true;
        }
        ChunkEntry c;
        c.offset = base + offset + 8;
        c.size = size;
        c.key = (flags & kAviIfKeyFrame) != 0;
        if (c.offset > total || c.size > total - c.offset) return true;  // truncated file
        if (!done[number]) streams_[number].chunks.push_back(c);
      }
    }
    return found;
  }

  FourCC ChunkIdAt(uint64_t pos) {
    uint8_t b[4];
    return src_->ReadAt(pos, b, 4) ? GetU32(b) : 0;
  }

  // No usable index: walk the chunks of the movi list.
  void ScanChunks(uint64_t begin, uint64_t end, int depth, const std::vector<bool>& done) {
    ChunkHeader h;
    for (uint64_t pos = begin; ReadHeader(pos, end, &h); pos = Next(h)) {
      if (h.id == kList) {
        if (depth < kMaxListDepth && h.size >= 4) ScanChunks(h.data + 4, h.data + h.size, depth + 1, done);
        continue;
      }
      int number = StreamNumberOf(h.id);
      if (number < 0 || static_cast<size_t>(number) >= streams_.size() || done[number]) continue;
      uint8_t b[4];
      // A chunk cut off by the end of the file is left out.
      if (!src_->ReadAt(pos + 4, b, 4) || GetU32(b) != h.size) continue;
      streams_[number].chunks.push_back({h.data, static_cast<uint32_t>(h.size), true});
    }
  }

  void Finish(AviFile& file) {
    info_.dwStreams = static_cast<uint32_t>(streams_.size());
    if (micro_sec_per_frame_ != 0) {
      info_.dwScale = micro_sec_per_frame_;
      info_.dwRate = 1000000;
    }
    for (auto& s : streams_) {
      if (s.header.fccType == kStreamTypeVideo) {
        info_.dwLength = std::max<uint32_t>(info_.dwLength, static_cast<uint32_t>(s.chunks.size()));
        if (info_.dwScale == 0 && s.header.dwRate != 0) {
          info_.dwScale = s.header.dwScale;
          info_.dwRate = s.header.dwRate;
        }
      }
    }
    if (info_.dwLength == 0) info_.dwLength = total_frames_;
    // The chunks of a stream lie in distinct bytes of the file, so together
    // they cannot be larger than the file; an index that claims more repeats
    // itself and is cut there (which also bounds what a reader allocates).
    for (auto& s : streams_) {
      uint64_t bytes = 0, limit = src_->Size();
      size_t n = 0;
      while (n < s.chunks.size() && s.chunks[n].size <= limit - bytes) bytes += s.chunks[n++].size;
      s.chunks.resize(n);
    }
    file.info_ = info_;
    for (auto& s : streams_)
      file.streams_.push_back(std::make_shared<FileStream>(src_, std::move(s.header),
                                                           std::move(s.format), std::move(s.chunks)));
  }

  std::shared_ptr<SharedSource> src_;
  std::vector<StreamDraft> streams_;
  std::vector<MoviList> movis_;
  uint64_t idx1_pos_ = 0, idx1_size_ = 0;
  uint32_t micro_sec_per_frame_ = 0, total_frames_ = 0;
  FileInfo info_;
};

std::unique_ptr<AviFile> AviFile::Open(std::unique_ptr<ByteSource> source) {
  if (!source) return nullptr;
  AviParser parser(std::make_shared<SharedSource>(std::move(source)));
  return parser.Parse();
}

std::unique_ptr<AviFile> AviFile::Open(const std::string& path) {
  return Open(std::unique_ptr<ByteSource>(FileSource::Open(path)));
}

std::shared_ptr<FileStream> AviFile::GetStream(FourCC type, int index) const {
  if (index < 0) return nullptr;
  for (const auto& s : streams_) {
    if (s->Info().fccType == 0) continue;
    if (type != 0 && s->Info().fccType != type) continue;
    if (index-- == 0) return s;
  }
  return nullptr;
}

std::shared_ptr<FileStream> StreamOpenFromFile(const std::string& path, FourCC type, int index) {
  auto file = AviFile::Open(path);
  return file ? file->GetStream(type, index) : nullptr;
}

}  // namespace vemtra::avi
