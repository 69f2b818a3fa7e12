#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "e2e_env.h"
#include "e2e_error.h"

extern char** environ;

namespace vemtra_e2e {
namespace {

long long NowMs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000LL + ts.tv_nsec / 1000000;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::map<std::string, std::string>& extra_env,
                           const std::string& stderr_file) {
  if (argv.empty()) throw E2eError("ChildProcess: empty command");
  // Everything the child needs is prepared before fork.
  std::vector<std::string> env_strings;
  for (char** e = environ; *e; ++e) {
    std::string s = *e;
    std::string key = s.substr(0, s.find('='));
    if (!extra_env.count(key)) env_strings.push_back(s);
  }
  for (const auto& [k, v] : extra_env) env_strings.push_back(k + "=" + v);
  std::vector<char*> envp, args;
  for (auto& s : env_strings) envp.push_back(&s[0]);
  envp.push_back(nullptr);
  std::vector<std::string> argv_copy = argv;
  for (auto& s : argv_copy) args.push_back(&s[0]);
  args.push_back(nullptr);

  int in_pipe[2], out_pipe[2];
  if (pipe2(in_pipe, O_CLOEXEC) != 0 || pipe2(out_pipe, O_CLOEXEC) != 0) throw E2eError("pipe failed");
  int err_fd = -1;
  if (!stderr_file.empty() && stderr_file != "-") {
    err_fd = open(stderr_file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  }
  pid_ = fork();
  if (pid_ < 0) throw E2eError("fork failed");
  if (pid_ == 0) {
    // Own process group, so that kill() reaches whatever it starts too.
    setpgid(0, 0);
    dup2(in_pipe[0], 0);
    dup2(out_pipe[1], 1);
    if (stderr_file == "-") dup2(out_pipe[1], 2);
    else if (err_fd >= 0) dup2(err_fd, 2);
    execvpe(args[0], args.data(), envp.data());
    _exit(127);
  }
  setpgid(pid_, pid_);
  close(in_pipe[0]);
  close(out_pipe[1]);
  if (err_fd >= 0) close(err_fd);
  in_ = in_pipe[1];
  out_ = out_pipe[0];
  signal(SIGPIPE, SIG_IGN);  // a dead child must give an error, not end the test
}

ChildProcess::~ChildProcess() {
  closeStdin();
  if (!reaped_) {
    int status;
    if (!wait(0, status)) {
      kill();
    }
  }
  if (out_ >= 0) close(out_);
}

bool ChildProcess::write(const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    ssize_t n = ::write(in_, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += (size_t)n;
  }
  return true;
}

void ChildProcess::closeStdin() {
  if (in_ >= 0) close(in_);
  in_ = -1;
}

bool ChildProcess::readLine(std::string& line, int timeout_ms, bool& timed_out) {
  timed_out = false;
  long long end = NowMs() + timeout_ms;
  for (;;) {
    size_t nl = buffer_.find('\n');
    if (nl != std::string::npos) {
      line = buffer_.substr(0, nl);
      buffer_.erase(0, nl + 1);
      return true;
    }
    long long left = end - NowMs();
    if (left <= 0) {
      timed_out = true;
      return false;
    }
    pollfd p{out_, POLLIN, 0};
    int r = poll(&p, 1, (int)left);
    if (r < 0 && errno == EINTR) continue;
    if (r == 0) continue;
    char chunk[4096];
    ssize_t n = read(out_, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    buffer_.append(chunk, (size_t)n);
  }
}

bool ChildProcess::readAll(std::string& out, int timeout_ms) {
  long long end = NowMs() + timeout_ms;
  out = buffer_;
  buffer_.clear();
  for (;;) {
    long long left = end - NowMs();
    if (left <= 0) return false;
    pollfd p{out_, POLLIN, 0};
    int r = poll(&p, 1, (int)left);
    if (r < 0 && errno == EINTR) continue;
    if (r == 0) continue;
    char chunk[65536];
    ssize_t n = read(out_, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return true;
    out.append(chunk, (size_t)n);
  }
}

bool ChildProcess::wait(int timeout_ms, int& status) {
  if (reaped_) return true;
  long long end = NowMs() + timeout_ms;
  for (;;) {
    pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == pid_ || (r < 0 && errno == ECHILD)) {
      reaped_ = true;
      return true;
    }
    if (NowMs() >= end) return false;
    usleep(10000);
  }
}

void ChildProcess::kill() {
  if (reaped_) return;
  ::kill(-pid_, SIGKILL);
  ::kill(pid_, SIGKILL);
  int status;
  wait(5000, status);
}

CommandResult RunCommand(const std::vector<std::string>& argv, int timeout_ms, bool with_e2e_env, bool merge_stderr) {
  std::map<std::string, std::string> extra;
  if (with_e2e_env) extra = E2eEnv::Get().vars();
  ChildProcess child(argv, extra, merge_stderr ? "-" : "/dev/null");
  child.closeStdin();
  CommandResult result;
  long long start = NowMs();
  bool finished = child.readAll(result.output, timeout_ms);
  int status = 0;
  int left = (int)(timeout_ms - (NowMs() - start));
  if (!finished || !child.wait(left > 0 ? left : 0, status)) {
    child.kill();
    result.timed_out = true;
    return result;
  }
  if (WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
  return result;
}

std::string QuoteArgs(const std::vector<std::string>& argv) {
  std::string s;
  for (const auto& a : argv) {
    if (!s.empty()) s += ' ';
    if (a.find_first_of(" \t'\"\\") == std::string::npos && !a.empty()) s += a;
    else s += "'" + a + "'";
  }
  return s;
}

}  // namespace vemtra_e2e
