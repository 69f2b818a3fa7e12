#include "common/avi/binary_file.h"

#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace vemtra::avi {
namespace {

bool SeekTo(std::FILE* f, uint64_t offset) {
  if (offset > static_cast<uint64_t>(INT64_MAX)) return false;
#ifdef _WIN32
  return _fseeki64(f, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
  return fseeko(f, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

int64_t FileLength(std::FILE* f) {
#ifdef _WIN32
  if (_fseeki64(f, 0, SEEK_END) != 0) return -1;
  return _ftelli64(f);
#else
  if (fseeko(f, 0, SEEK_END) != 0) return -1;
  return ftello(f);
#endif
}

}  // namespace

std::unique_ptr<FileSource> FileSource::Open(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return nullptr;
  int64_t size = FileLength(f);
  if (size < 0 || !SeekTo(f, 0)) {
    std::fclose(f);
    return nullptr;
  }
  return std::unique_ptr<FileSource>(new FileSource(f, static_cast<uint64_t>(size)));
}

FileSource::~FileSource() { std::fclose(file_); }

bool FileSource::ReadAt(uint64_t offset, void* out, size_t size) {
  if (offset > size_ || size > size_ - offset) return false;
  if (size == 0) return true;
  if (offset != position_ && !SeekTo(file_, offset)) {
    position_ = UINT64_MAX;
    return false;
  }
  size_t got = std::fread(out, 1, size, file_);
  position_ = offset + got;
  return got == size;
}

bool MemorySource::ReadAt(uint64_t offset, void* out, size_t size) {
  if (offset > size_ || size > size_ - offset) return false;
  if (size) std::memcpy(out, data_ + offset, size);
  return true;
}

std::unique_ptr<FileSink> FileSink::Create(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "w+b");
  if (!f) return nullptr;
  // Unbuffered: a write that the disk cannot take fails at once and can be
  // cut off again, instead of failing later inside the buffer of another
  // write, when nothing can be undone and the file cannot be completed.
  std::setvbuf(f, nullptr, _IONBF, 0);
  return std::unique_ptr<FileSink>(new FileSink(f));
}

FileSink::~FileSink() { Close(); }

bool FileSink::Write(const void* data, size_t size) {
  if (!file_) return false;
  size_t done = std::fwrite(data, 1, size, file_);
  position_ += done;
  return done == size;
}

bool FileSink::Seek(uint64_t offset) {
  if (!file_ || !SeekTo(file_, offset)) return false;
  position_ = offset;
  return true;
}

bool FileSink::Truncate(uint64_t size) {
  if (!file_ || std::fflush(file_) != 0) return false;
#ifdef _WIN32
  if (_chsize_s(_fileno(file_), static_cast<__int64>(size)) != 0) return false;
#else
  if (ftruncate(fileno(file_), static_cast<off_t>(size)) != 0) return false;
#endif
  return Seek(size);
}

bool FileSink::Flush() { return file_ && std::fflush(file_) == 0; }

bool FileSink::Close() {
  if (!file_) return true;
  bool ok = std::fclose(file_) == 0;
  file_ = nullptr;
  return ok;
}

}  // namespace vemtra::avi
