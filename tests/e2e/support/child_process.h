// Starting Linux processes with bounded waits: a long-lived child with pipes
// (the driver) and one-shot commands (ffprobe, import, xdotool).
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace vemtra_e2e {

class ChildProcess {
 public:
  // Starts argv[0] (searched in PATH) with the current environment plus
  // `extra_env`. stdin and stdout are pipes to us; stderr goes to
  // `stderr_file` (appended) or, when empty, to our stderr.
  ChildProcess(const std::vector<std::string>& argv, const std::map<std::string, std::string>& extra_env,
               const std::string& stderr_file = "");
  ~ChildProcess();  // kills the child if it still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return pid_; }
  bool write(const std::string& data);
  void closeStdin();
  // One line of stdout without its LF; false on end of output or timeout
  // (`timed_out` tells which).
  bool readLine(std::string& line, int timeout_ms, bool& timed_out);
  // Everything until end of output; false on timeout.
  bool readAll(std::string& out, int timeout_ms);
  // Exit status (as from waitpid) once ended; false if it still runs after
  // timeout_ms.
  bool wait(int timeout_ms, int& status);
  void kill();

 private:
  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  std::string buffer_;
  bool reaped_ = false;
};

struct CommandResult {
  int exit_code = -1;  // -1 when it timed out or died by a signal
  bool timed_out = false;
  std::string output;  // stdout
};

// Runs a command to its end, at most timeout_ms; stderr is appended to the
// output when `merge_stderr` is set. Extra variables come from the e2e env
// file when `with_e2e_env` is set (DISPLAY, WINEPREFIX, ...).
CommandResult RunCommand(const std::vector<std::string>& argv, int timeout_ms, bool with_e2e_env = true,
                         bool merge_stderr = false);

// Shell-style quoting for messages.
std::string QuoteArgs(const std::vector<std::string>& argv);

}  // namespace vemtra_e2e
