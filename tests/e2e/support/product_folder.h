// Fresh copies of the product folder for one test. The programs accept only
// folders whose name ends in "Vemtra" (and a few others), and treat their
// current directory as the product folder, so every test starts them in its
// own copy whose last path component it chooses.
#pragma once

#include <string>
#include <vector>

namespace vemtra_e2e {

// A new empty folder below the run's work folder (/tmp/vemtra-e2e-work/<build
// hash>), named after the running test case. Removed again by the destructor, unless the test failed (then it
// stays for diagnosis, and its path is in the failure output).
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  TempFolder(TempFolder&& other) noexcept;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

class ProductFolder {
 public:
  // Copies the built product folder (or `source`, when given) to
  // <temp>/<name>; `name` may contain "/" to nest it deeper.
  explicit ProductFolder(const std::string& name, const std::string& source = "");

  const std::string& path() const { return path_; }            // Linux path
  std::string winPath() const;                                  // Z:\...
  std::string file(const std::string& relative) const;          // Linux path inside
  std::string winFile(const std::string& relative) const;       // Wine path inside
  // The program's Wine path, e.g. exe("Vemtra.exe").
  std::string exe(const std::string& program) const { return winFile(program); }

 private:
  TempFolder temp_;
  std::string path_;
};

// Small file helpers for the tests (Linux paths).
bool PathExists(const std::string& path);
bool IsDirectory(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);
// Names of the entries of a folder, sorted; empty when it does not exist.
std::vector<std::string> ListFolder(const std::string& path);

}  // namespace vemtra_e2e
