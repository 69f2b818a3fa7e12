// The tests' hands on the Windows side: a VemtraDriver.exe running under Wine
// for the life of this object, driven over its line protocol. Every method
// is bounded; a failure throws E2eError with the driver's reason and the
// path of a screenshot taken at that moment.
//
// Window handles and process ids are those of Windows (inside Wine). Texts
// are UTF-8; paths passed to the driver are Wine paths (see wine_paths.h).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vemtra_e2e {

class ChildProcess;

using Hwnd = std::uint64_t;

struct WindowFacts {
  Hwnd hwnd = 0;
  int pid = 0;
  std::string cls, title;
  bool visible = false;
};

struct ControlFacts {
  Hwnd hwnd = 0;
  int id = 0;
  std::string cls, text;
};

struct ControlState {
  bool enabled = false;
  bool visible = false;
  int checked = 0;  // BM_GETCHECK: 0, 1 (checked), 2 (indeterminate)
};

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  int centerX() const { return (left + right) / 2; }
  int centerY() const { return (top + bottom) / 2; }
};

struct MessageBoxFacts {
  Hwnd hwnd = 0;
  std::string title;
  std::string text;  // line breaks as in the program: "\r\n"
  std::vector<std::pair<int, std::string>> buttons;  // id and text ("はい(&Y)")
};

constexpr int kDefaultTimeoutMs = 15000;

class Driver {
 public:
  Driver();   // starts the driver and waits until it answers
  ~Driver();  // ends every program it started, then itself
  Driver(const Driver&) = delete;
  Driver& operator=(const Driver&) = delete;

  // --- processes and files ---
  // Starts a program (Wine path of the .exe) with `folder` (Wine path) as its
  // current directory; returns its process id.
  int start(const std::string& exe, const std::string& folder);
  // Waits for the end of a process and returns its exit code.
  int waitExit(int pid, int timeout_ms = kDefaultTimeoutMs);
  bool running(int pid);
  void kill(int pid);  // TerminateProcess; no effect when it has ended
  // Opens the file (Wine path; created when missing) with share mode 0 and
  // keeps it open until release() or the end of the driver.
  int hold(const std::string& path);
  void release(int hold_id);
  // Waits until the file (Wine path) exists with at least min_bytes bytes;
  // returns its size.
  long long waitFile(const std::string& path, int timeout_ms = kDefaultTimeoutMs, long long min_bytes = 0);
  bool exists(const std::string& path);

  // --- windows ---
  // A visible top-level window by class and title ("" matches any), of the
  // process (0: any process).
  Hwnd waitWindow(const std::string& cls, const std::string& title, int pid = 0, int timeout_ms = kDefaultTimeoutMs);
  Hwnd findWindow(const std::string& cls, const std::string& title, int pid = 0);  // 0 when none
  void waitGone(Hwnd hwnd, int timeout_ms = kDefaultTimeoutMs);  // destroyed or hidden
  std::vector<WindowFacts> windows(int pid = 0);  // all top-level windows, visible or not
  std::vector<ControlFacts> children(Hwnd hwnd);

  // --- controls (id -1: the window itself) ---
  std::string text(Hwnd hwnd, int id = -1);
  std::string className(Hwnd hwnd, int id = -1);
  ControlState state(Hwnd hwnd, int id = -1);
  void setText(Hwnd hwnd, int id, const std::string& text);  // WM_SETTEXT
  void click(Hwnd hwnd, int id);    // BM_CLICK (posted); fails on a disabled control
  void command(Hwnd hwnd, int id);  // WM_COMMAND as a menu item or button sends it (posted)
  Rect rect(Hwnd hwnd, int id = -1);        // window rectangle, screen coordinates
  Rect clientRect(Hwnd hwnd, int id = -1);  // client area, screen coordinates
  void focus(Hwnd hwnd);                    // SetForegroundWindow
  Hwnd foreground();
  long long send(Hwnd hwnd, unsigned msg, long long wparam, long long lparam);
  void post(Hwnd hwnd, unsigned msg, long long wparam, long long lparam);
  std::pair<int, int> screenSize();

  // --- message boxes ---
  // The first visible box of class #32770 of the process (0: any) with that
  // title ("": any). Dialogs are #32770 windows too: give the title when a
  // dialog of the program may be open.
  MessageBoxFacts waitMessageBox(int pid = 0, int timeout_ms = kDefaultTimeoutMs, const std::string& title = "");
  // Clicks a button of the box by id (IDOK 1, IDYES 6, IDNO 7, ...) or by
  // its text ("&" ignored, so "はい(Y)" matches "はい(&Y)").
  void answer(Hwnd box, int button_id);
  void answer(Hwnd box, const std::string& button_text);

  // --- real input (SendInput), screen coordinates ---
  void mouseMove(int x, int y);
  void mouseDown(const std::string& button = "left");
  void mouseUp(const std::string& button = "left");
  void clickAt(int x, int y, const std::string& button = "left");
  void drag(int x1, int y1, int x2, int y2, int steps = 10, const std::string& button = "left");
  std::pair<int, int> cursor();
  // Keys by name ("ESC", "RETURN", "PAUSE", "F5", "A") or virtual-key number.
  void key(const std::string& name);
  void keyDown(const std::string& name);
  void keyUp(const std::string& name);
  void type(const std::string& text);  // Unicode characters to the focused window

  // The driver's stderr (Wine's messages), kept in the artifacts folder.
  const std::string& logPath() const { return log_path_; }

  // --- protocol ---
  // Sends one request; returns the reply fields after "ok"; throws on "err".
  std::vector<std::string> call(const std::vector<std::string>& request, int reply_timeout_ms = 30000);

 private:
  [[noreturn]] void fail(const std::string& what);

  std::unique_ptr<ChildProcess> process_;
  std::string log_path_;
};

}  // namespace vemtra_e2e
