// Temporary folders, subprocesses and file bytes for the media tests.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vemtra::testing {

class TempDir {
 public:
  TempDir() {
    char tmpl[] = "/tmp/vemtra-media-XXXXXX";
    char* p = mkdtemp(tmpl);
    path_ = p ? p : "/tmp";
  }
  ~TempDir() { std::system(("rm -rf '" + path_ + "'").c_str()); }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Runs a shell command; its exit status, and its standard output in `out`.
inline int Run(const std::string& command, std::string* out = nullptr) {
  std::FILE* p = popen(command.c_str(), "r");
  if (!p) return -1;
  std::string text;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) text.append(buf, n);
  int status = pclose(p);
  if (out) *out = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline bool HaveFfmpeg() {
  static const bool have = Run("ffmpeg -version >/dev/null 2>&1 && ffprobe -version >/dev/null 2>&1") == 0;
  return have;
}

inline std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace vemtra::testing

#define SKIP_WITHOUT_FFMPEG() \
  if (!::vemtra::testing::HaveFfmpeg()) GTEST_SKIP() << "ffmpeg/ffprobe not installed"
