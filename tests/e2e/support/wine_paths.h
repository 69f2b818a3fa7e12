// Linux paths and the Wine paths that name the same files (drive Z: is the
// Linux root in every prefix).
#pragma once

#include <string>

namespace vemtra_e2e {

// "/tmp/a/Vemtra" -> "Z:\tmp\a\Vemtra". The path must be absolute.
std::string ToWinPath(const std::string& linux_path);
// "Z:\tmp\a" or "z:/tmp/a" -> "/tmp/a"; other drives are refused.
std::string FromWinPath(const std::string& win_path);

}  // namespace vemtra_e2e
