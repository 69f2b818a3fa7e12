// Files with 64-bit offsets over std::FILE, the same code natively and in
// the Windows build (paths are byte strings in the system code page).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace vemtra::avi {

// Random-access bytes to read from: a file or a block in memory.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Reads exactly `size` bytes at `offset`; false (and nothing promised about
  // `out`) when that range is not wholly inside the source.
  virtual bool ReadAt(uint64_t offset, void* out, size_t size) = 0;
};

class FileSource : public ByteSource {
 public:
  static std::unique_ptr<FileSource> Open(const std::string& path);
  ~FileSource() override;
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* out, size_t size) override;

 private:
  FileSource(std::FILE* file, uint64_t size) : file_(file), size_(size) {}
  std::FILE* file_;
  uint64_t size_;
  uint64_t position_ = 0;  // saves a seek on sequential reads
};

class MemorySource : public ByteSource {
 public:
  MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* out, size_t size) override;

 private:
  const uint8_t* data_;
  size_t size_;
};

// A file created (or replaced) for writing.
class FileSink {
 public:
  static std::unique_ptr<FileSink> Create(const std::string& path);
  ~FileSink();
  bool Write(const void* data, size_t size);
  bool Seek(uint64_t offset);
  uint64_t Position() const { return position_; }
  // Cuts the file at `size` (drops the remains of a write that failed).
  bool Truncate(uint64_t size);
  bool Flush();
  bool Close();

 private:
  explicit FileSink(std::FILE* file) : file_(file) {}
  std::FILE* file_;
  uint64_t position_ = 0;
};

}  // namespace vemtra::avi
