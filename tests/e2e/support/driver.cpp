#include "driver.h"

#include <filesystem>
#include <iostream>

#include "../../driver/line_protocol.h"
#include "child_process.h"
#include "e2e_env.h"
#include "e2e_error.h"
#include "screenshot.h"
#include "wine_paths.h"

namespace vemtra_e2e {

std::string CurrentTestName();  // e2e_test.cpp

namespace {

// Time the driver gets beyond a wait of its own before we give up on it.
constexpr int kReplyMarginMs = 15000;

std::string Num(long long v) { return std::to_string(v); }
int ToInt(const std::string& s) { return std::stoi(s); }
Hwnd ToHwnd(const std::string& s) { return std::stoull(s); }
std::string Id(int id) { return id < 0 ? std::string() : Num(id); }

Rect ToRect(const std::vector<std::string>& f) {
  return Rect{ToInt(f.at(0)), ToInt(f.at(1)), ToInt(f.at(2)), ToInt(f.at(3))};
}

}  // namespace

Driver::Driver() {
  const E2eEnv& env = E2eEnv::Get();
  std::filesystem::create_directories(env.artifactsDir());
  log_path_ = env.artifactsDir() + "/" + CurrentTestName() + "-driver.log";
  if (!std::filesystem::exists(env.driverExe())) fail("the driver is not built: " + env.driverExe());
  process_ = std::make_unique<ChildProcess>(std::vector<std::string>{env.wine(), env.driverExe()}, env.vars(),
                                            log_path_);
  std::vector<std::string> pong = call({"ping"}, 60000);
  if (pong.empty() || pong[0] != "pong") fail("the driver answered ping with something else");
  // A test that timed out may have left its programs and its driver running;
  // they would show windows and take input meant for this test.
  call({"kill_under", ToWinPath(env.workDir())});
  call({"kill_under", ToWinPath(env.driverExe())});
}

Driver::~Driver() {
  if (!process_) return;
  try {
    process_->write("quit\n");
    std::string line;
    bool timed_out;
    process_->readLine(line, 15000, timed_out);
  } catch (...) {
  }
  process_->closeStdin();
  int status;
  if (!process_->wait(10000, status)) process_->kill();
}

void Driver::fail(const std::string& what) {
  std::string message = what;
  // A refused request (a disabled control, a missing id) is told by its
  // text; what the screen showed matters when something did not happen.
  bool refused = what.rfind("driver: ", 0) == 0 && what.find("-> timeout") == std::string::npos;
  if (!refused) {
    try {
      message += "\nscreenshot: " + SaveScreenshot("failure");
    } catch (const std::exception& e) {
      message += "\n(no screenshot: " + std::string(e.what()) + ")";
    }
  }
  if (!log_path_.empty()) message += "\ndriver log: " + log_path_;
  throw E2eError(message);
}

std::vector<std::string> Driver::call(const std::vector<std::string>& request, int reply_timeout_ms) {
  if (!process_) fail("the driver is not running");
  if (!process_->write(JoinFields(request) + "\n")) fail("the driver has ended (request " + request.at(0) + ")");
  std::string line;
  std::vector<std::string> reply;
  // Lines that are not replies (something Wine itself printed) are passed on
  // to our stderr.
  while (reply.empty() || (reply[0] != "ok" && reply[0] != "err")) {
    if (!reply.empty()) std::cerr << "[e2e] driver printed: " << line << "\n";
    bool timed_out = false;
    if (!process_->readLine(line, reply_timeout_ms, timed_out)) {
      std::string why = timed_out ? "did not answer within " + Num(reply_timeout_ms) + " ms" : "has ended";
      process_->kill();
      process_.reset();
      fail("the driver " + why + " (request " + JoinFields(request) + ")");
    }
    reply = SplitFields(line);
  }
  if (reply[0] == "ok") return std::vector<std::string>(reply.begin() + 1, reply.end());
  fail("driver: " + JoinFields(request) + "\n  -> " + (reply.size() > 1 ? reply[1] : line));
}

int Driver::start(const std::string& exe, const std::string& folder) {
  return ToInt(call({"start", exe, folder}).at(0));
}

int Driver::waitExit(int pid, int timeout_ms) {
  return ToInt(call({"wait_exit", Num(pid), Num(timeout_ms)}, timeout_ms + kReplyMarginMs).at(0));
}

bool Driver::running(int pid) { return call({"running", Num(pid)}).at(0) == "1"; }
void Driver::kill(int pid) { call({"kill", Num(pid)}); }
int Driver::hold(const std::string& path) { return ToInt(call({"hold", path}).at(0)); }
void Driver::release(int hold_id) { call({"release", Num(hold_id)}); }

long long Driver::waitFile(const std::string& path, int timeout_ms, long long min_bytes) {
  return std::stoll(call({"wait_file", path, Num(timeout_ms), Num(min_bytes)}, timeout_ms + kReplyMarginMs).at(0));
}

bool Driver::exists(const std::string& path) { return call({"exists", path}).at(0) == "1"; }

Hwnd Driver::waitWindow(const std::string& cls, const std::string& title, int pid, int timeout_ms) {
  return ToHwnd(call({"wait_window", cls, title, Num(pid), Num(timeout_ms)}, timeout_ms + kReplyMarginMs).at(0));
}

Hwnd Driver::findWindow(const std::string& cls, const std::string& title, int pid) {
  return ToHwnd(call({"find_window", cls, title, Num(pid)}).at(0));
}

void Driver::waitGone(Hwnd hwnd, int timeout_ms) {
  call({"wait_gone", Num(hwnd), Num(timeout_ms)}, timeout_ms + kReplyMarginMs);
}

std::vector<WindowFacts> Driver::windows(int pid) {
  std::vector<std::string> f = call({"windows", pid ? Num(pid) : ""});
  std::vector<WindowFacts> list;
  for (size_t i = 0; i + 4 < f.size(); i += 5) {
    list.push_back(WindowFacts{ToHwnd(f[i]), ToInt(f[i + 1]), f[i + 2], f[i + 3], f[i + 4] == "1"});
  }
  return list;
}

std::vector<ControlFacts> Driver::children(Hwnd hwnd) {
  std::vector<std::string> f = call({"children", Num(hwnd)});
  std::vector<ControlFacts> list;
  for (size_t i = 0; i + 3 < f.size(); i += 4) {
    list.push_back(ControlFacts{ToHwnd(f[i]), ToInt(f[i + 1]), f[i + 2], f[i + 3]});
  }
  return list;
}

std::string Driver::text(Hwnd hwnd, int id) { return call({"text", Num(hwnd), Id(id)}).at(0); }
std::string Driver::className(Hwnd hwnd, int id) { return call({"class", Num(hwnd), Id(id)}).at(0); }

ControlState Driver::state(Hwnd hwnd, int id) {
  std::vector<std::string> f = call({"state", Num(hwnd), Id(id)});
  return ControlState{f.at(0) == "1", f.at(1) == "1", ToInt(f.at(2))};
}

void Driver::setText(Hwnd hwnd, int id, const std::string& text) { call({"set_text", Num(hwnd), Id(id), text}); }
void Driver::click(Hwnd hwnd, int id) { call({"click", Num(hwnd), Id(id)}); }
void Driver::command(Hwnd hwnd, int id) { call({"command", Num(hwnd), Num(id)}); }
Rect Driver::rect(Hwnd hwnd, int id) { return ToRect(call({"rect", Num(hwnd), Id(id)})); }
Rect Driver::clientRect(Hwnd hwnd, int id) { return ToRect(call({"client_rect", Num(hwnd), Id(id)})); }
void Driver::focus(Hwnd hwnd) { call({"focus", Num(hwnd)}); }
Hwnd Driver::foreground() { return ToHwnd(call({"foreground"}).at(0)); }

long long Driver::send(Hwnd hwnd, unsigned msg, long long wparam, long long lparam) {
  return std::stoll(call({"send", Num(hwnd), Num(msg), Num(wparam), Num(lparam)}).at(0));
}

void Driver::post(Hwnd hwnd, unsigned msg, long long wparam, long long lparam) {
  call({"post", Num(hwnd), Num(msg), Num(wparam), Num(lparam)});
}

std::pair<int, int> Driver::screenSize() {
  std::vector<std::string> f = call({"screen"});
  return {ToInt(f.at(0)), ToInt(f.at(1))};
}

MessageBoxFacts Driver::waitMessageBox(int pid, int timeout_ms, const std::string& title) {
  std::vector<std::string> f =
      call({"message_box", Num(pid), Num(timeout_ms), title}, timeout_ms + kReplyMarginMs);
  MessageBoxFacts box{ToHwnd(f.at(0)), f.at(1), f.at(2), {}};
  for (size_t i = 3; i + 1 < f.size(); i += 2) box.buttons.emplace_back(ToInt(f[i]), f[i + 1]);
  return box;
}

void Driver::answer(Hwnd box, int button_id) { call({"answer", Num(box), Num(button_id)}); }
void Driver::answer(Hwnd box, const std::string& button_text) { call({"answer", Num(box), button_text}); }

void Driver::mouseMove(int x, int y) { call({"mouse_move", Num(x), Num(y)}); }
void Driver::mouseDown(const std::string& button) { call({"mouse_down", button}); }
void Driver::mouseUp(const std::string& button) { call({"mouse_up", button}); }
void Driver::clickAt(int x, int y, const std::string& button) { call({"click_at", Num(x), Num(y), button}); }

void Driver::drag(int x1, int y1, int x2, int y2, int steps, const std::string& button) {
  call({"drag", Num(x1), Num(y1), Num(x2), Num(y2), Num(steps), button}, 60000);
}

std::pair<int, int> Driver::cursor() {
  std::vector<std::string> f = call({"cursor"});
  return {ToInt(f.at(0)), ToInt(f.at(1))};
}

void Driver::key(const std::string& name) { call({"key", name}); }
void Driver::keyDown(const std::string& name) { call({"key_down", name}); }
void Driver::keyUp(const std::string& name) { call({"key_up", name}); }
void Driver::type(const std::string& text) { call({"type", text}, 60000); }

}  // namespace vemtra_e2e
