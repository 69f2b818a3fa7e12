#include "product_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <exception>
#include <iostream>
#include <sstream>

#include "e2e_env.h"
#include "e2e_error.h"
#include "wine_paths.h"

namespace fs = std::filesystem;

namespace vemtra_e2e {

std::string CurrentTestName();  // e2e_test.cpp

namespace {

// The start of the test case's name: enough to recognise the folder, short
// enough to leave the programs room within their 260-byte paths.
std::string ShortTestName() {
  std::string name = CurrentTestName();
  name = name.substr(name.rfind('.') + 1);
  std::string out;
  for (char c : name) {
    if (std::isalnum((unsigned char)c)) out += c;
    if (out.size() == 20) break;
  }
  return out.empty() ? "test" : out;
}

}  // namespace

TempFolder::TempFolder() {
  fs::create_directories(E2eEnv::Get().workDir());
  std::string pattern = E2eEnv::Get().workDir() + "/" + ShortTestName() + "-XXXXXX";
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back('\0');
  if (!mkdtemp(buf.data())) throw E2eError("cannot create a temp folder like " + pattern);
  path_ = buf.data();
}

TempFolder::TempFolder(TempFolder&& other) noexcept : path_(std::move(other.path_)) { other.path_.clear(); }

TempFolder::~TempFolder() {
  if (path_.empty()) return;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  // While an exception unwinds, the test is failing but not yet marked so.
  if (std::uncaught_exceptions() > 0 || (info && info->result()->Failed())) {
    std::cerr << "[e2e] kept for diagnosis: " << path_ << "\n";
    return;
  }
  std::error_code ec;
  fs::remove_all(path_, ec);
}

ProductFolder::ProductFolder(const std::string& name, const std::string& source) {
  std::string from = source.empty() ? E2eEnv::Get().productDir() : source;
  if (!IsDirectory(from)) throw E2eError("product folder " + from + " does not exist (build the Windows programs first)");
  path_ = temp_.path() + "/" + name;
  fs::create_directories(fs::path(path_).parent_path());
  fs::copy(from, path_, fs::copy_options::recursive);
}

std::string ProductFolder::winPath() const { return ToWinPath(path_); }
std::string ProductFolder::file(const std::string& relative) const { return path_ + "/" + relative; }
std::string ProductFolder::winFile(const std::string& relative) const { return ToWinPath(file(relative)); }

bool PathExists(const std::string& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

bool IsDirectory(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
  if (!out) throw E2eError("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw E2eError("cannot read " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> ListFolder(const std::string& path) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
    names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace vemtra_e2e
