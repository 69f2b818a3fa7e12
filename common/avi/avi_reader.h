// Reading AVI files: AVI 1.0 with idx1, OpenDML (indx super indexes, ix##
// standard indexes, RIFF AVIX continuations) and, like the platform's AVI
// library, WAV files as a file with one sound stream.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/avi/avi_stream_info.h"
#include "common/avi/binary_file.h"
#include "common/avi/media_stream.h"

namespace vemtra::avi {

// Where one chunk's data lies in the file.
struct ChunkEntry {
  uint64_t offset = 0;
  uint32_t size = 0;
  bool key = true;
};

// Reads of one file shared by its streams; the streams may be read from
// several threads.
class SharedSource {
 public:
  explicit SharedSource(std::unique_ptr<ByteSource> source) : source_(std::move(source)) {}
  uint64_t Size() const { return source_->Size(); }
  bool ReadAt(uint64_t offset, void* out, size_t size) {
    std::lock_guard<std::mutex> lock(mutex_);
    return source_->ReadAt(offset, out, size);
  }

 private:
  std::mutex mutex_;
  std::unique_ptr<ByteSource> source_;
};

// A stream of an opened file, with its index in memory.
class FileStream : public MediaStream {
 public:
  FileStream(std::shared_ptr<SharedSource> source, StreamInfo header,
             std::vector<uint8_t> format, std::vector<ChunkEntry> chunks);

  StreamInfo Info() const override;
  const std::vector<uint8_t>& Format() const override { return format_; }
  int64_t Length() const override { return length_; }
  uint32_t SampleSize() const override { return header_.dwSampleSize; }
  bool Read(int64_t start, int64_t count, std::vector<uint8_t>* out,
            int64_t* samples_read) override;
  bool IsKeyFrame(int64_t n) const override;

  // The chunks as stored (one per video frame).
  const std::vector<ChunkEntry>& Chunks() const { return chunks_; }

 private:
  bool ReadBytes(uint64_t first, uint64_t size, std::vector<uint8_t>* out);

  std::shared_ptr<SharedSource> source_;
  StreamInfo header_;
  std::vector<uint8_t> format_;
  std::vector<ChunkEntry> chunks_;
  std::vector<uint64_t> chunk_begin_;  // byte position of each chunk in the stream
  int64_t length_ = 0;
};

class AviFile {
 public:
  // AVIFileOpen for reading. Null when the file cannot be opened or is not
  // an AVI or WAV file.
  static std::unique_ptr<AviFile> Open(const std::string& path);
  static std::unique_ptr<AviFile> Open(std::unique_ptr<ByteSource> source);

  // AVIFileInfo.
  const FileInfo& Info() const { return info_; }
  int StreamCount() const { return static_cast<int>(streams_.size()); }
  // AVIFileGetStream: the index-th stream of the type (0: any type); null
  // when there is none.
  std::shared_ptr<FileStream> GetStream(FourCC type, int index) const;
  // True when the file is a WAV file rather than an AVI file.
  bool IsWave() const { return is_wave_; }

 private:
  AviFile() = default;
  FileInfo info_;
  bool is_wave_ = false;
  std::vector<std::shared_ptr<FileStream>> streams_;
  friend class AviParser;
};

// AVIStreamOpenFromFile: opens the file and returns its index-th stream of
// the type; the file stays open as long as the stream lives.
std::shared_ptr<FileStream> StreamOpenFromFile(const std::string& path, FourCC type, int index);

}  // namespace vemtra::avi
