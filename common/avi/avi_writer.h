// Writing AVI files. Files stay AVI 1.0 compatible (idx1 over the first RIFF)
// and continue as OpenDML (RIFF AVIX parts with indx/ix## indexes) past about
// 1 GB, so a long recording or a join never hits the 2 GB and 4 GB limits of
// the old format.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/avi/avi_stream_info.h"
#include "common/avi/binary_file.h"

namespace vemtra::avi {

struct WriterOptions {
  // Size at which a RIFF part is closed and the next one begun.
  uint64_t riff_limit = 1000ull * 1000 * 1000;
  // Whole-file limit; 0 for none. A write that would pass it fails and
  // leaves the file complete and readable up to the previous write.
  uint64_t max_file_bytes = 0;
  // Entries reserved in each stream's super index: one per RIFF part.
  uint32_t super_index_entries = 256;
};

class AviWriter {
 public:
  // AVIFileOpen with OF_WRITE | OF_CREATE. Null when the file cannot be
  // created.
  static std::unique_ptr<AviWriter> Create(const std::string& path, WriterOptions options = {});
  ~AviWriter();

  // AVIFileCreateStream: the stream number, or -1 once data has been
  // written (the header layout is fixed by then) or at 100 streams.
  int CreateStream(const StreamInfo& info);
  // AVIStreamSetFormat (at position 0). Fails after the stream's first write
  // when the format differs.
  bool SetFormat(int stream, const void* format, size_t size);
  // AVIStreamWrite: appends `size` bytes as `samples` samples at `start`
  // (-1: at the end). A video frame is one sample; sound counts samples of
  // dwSampleSize bytes and ignores `samples`. A start beyond the end of a
  // video stream inserts empty (repeat) frames. On failure nothing of this
  // write stays in the file.
  bool Write(int stream, int64_t start, int64_t samples, const void* data, size_t size,
             uint32_t flags, int64_t* samples_written = nullptr, int64_t* bytes_written = nullptr);
  int64_t Length(int stream) const;
  const StreamInfo& Info(int stream) const;
  // Bytes written so far (the file size once closed).
  uint64_t FileBytes() const;

  // AVIFileRelease: writes the indexes and final headers. Also done by the
  // destructor; false when the file could not be completed.
  bool Close();

 private:
  struct Stream;
  struct Idx1Entry {
    FourCC id;
    uint32_t flags, offset, size;
  };
  AviWriter(std::unique_ptr<FileSink> sink, WriterOptions options);
  bool Begin();
  bool WriteChunk(size_t stream, const void* data, size_t size, bool key);
  bool FinishRiff();
  bool StartRiff();
  uint64_t FinishingBytes(size_t extra_stream, bool extra_entry) const;
  std::vector<uint8_t> BuildHeader() const;

  std::unique_ptr<FileSink> sink_;
  WriterOptions options_;
  std::vector<std::unique_ptr<Stream>> streams_;
  std::vector<Idx1Entry> idx1_;
  bool begun_ = false, closed_ = false, broken_ = false;
  uint64_t header_size_ = 0;
  uint64_t riff_start_ = 0, movi_start_ = 0, end_ = 0;
  int riff_count_ = 0;
  uint32_t first_riff_size_ = 0;
};

}  // namespace vemtra::avi
