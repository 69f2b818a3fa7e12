#include "wine_paths.h"

#include "e2e_error.h"

namespace vemtra_e2e {

std::string ToWinPath(const std::string& linux_path) {
  if (linux_path.empty() || linux_path[0] != '/') throw E2eError("not an absolute Linux path: " + linux_path);
  std::string win = "Z:";
  for (char c : linux_path) win += c == '/' ? '\\' : c;
  return win;
}

std::string FromWinPath(const std::string& win_path) {
  if (win_path.size() < 2 || (win_path[0] != 'Z' && win_path[0] != 'z') || win_path[1] != ':') {
    throw E2eError("not a path on drive Z: " + win_path);
  }
  std::string linux_path;
  for (size_t i = 2; i < win_path.size(); ++i) linux_path += win_path[i] == '\\' ? '/' : win_path[i];
  return linux_path.empty() ? "/" : linux_path;
}

}  // namespace vemtra_e2e
