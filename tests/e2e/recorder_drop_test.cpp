// Dropping files on Vemtra's main window chooses the output folder. The drop
// is made the way a file manager makes it, through the X drag-and-drop
// protocol (XDND), which Wine turns into WM_DROPFILES for the window under
// the point when it accepts files.
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "e2e_test.h"

// After the test headers: Xlib defines macros (None, Bool, Status) that
// would clash with them.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

using namespace vemtra_e2e;

namespace {

constexpr int kStartTimeoutMs = 60000;
constexpr unsigned kWmClose = 0x0010;
constexpr unsigned kCbGetCount = 0x0146;

std::string FileUri(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string uri = "file://";
  for (unsigned char c : path) {
    if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.') {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += kHex[c >> 4];
      uri += kHex[c & 15];
    }
  }
  return uri;
}

// An XDND source that drops `paths` (Linux paths) at screen point (x, y).
class XdndSource {
 public:
  explicit XdndSource(const std::string& display) {
    dpy_ = XOpenDisplay(display.c_str());
    if (dpy_ == nullptr) throw E2eError("cannot open X display " + display);
    root_ = DefaultRootWindow(dpy_);
    src_ = XCreateSimpleWindow(dpy_, root_, 0, 0, 1, 1, 0, 0, 0);
  }
  ~XdndSource() {
    XDestroyWindow(dpy_, src_);
    XCloseDisplay(dpy_);
  }

  void Drop(int x, int y, const std::vector<std::string>& paths) {
    data_.clear();
    for (const std::string& p : paths) data_ += FileUri(p) + "\r\n";
    XSetSelectionOwner(dpy_, Atom_("XdndSelection"), src_, CurrentTime);
    const Window target = TargetAt(x, y);

    Send(target, "XdndEnter", static_cast<long>(src_), 5L << 24, static_cast<long>(Atom_("text/uri-list")), 0, 0);
    Pump(300, nullptr);  // Wine fetches the data right at the enter
    Send(target, "XdndPosition", static_cast<long>(src_), 0, (static_cast<long>(x) << 16) | y, CurrentTime,
         static_cast<long>(Atom_("XdndActionCopy")));
    bool accepted = false;
    const bool answered = Pump(5000, [&](const XEvent& e) {
      if (e.type != ClientMessage || e.xclient.message_type != Atom_("XdndStatus")) return false;
      accepted = (e.xclient.data.l[1] & 1) != 0;
      return true;
    });
    if (!answered || !accepted) {
      Send(target, "XdndLeave", static_cast<long>(src_), 0, 0, 0, 0);
      throw E2eError(answered ? "the window under the point refuses the drop" : "no XdndStatus from the target");
    }
    Send(target, "XdndDrop", static_cast<long>(src_), 0, CurrentTime, 0, 0);
    if (!Pump(5000, [&](const XEvent& e) {
          return e.type == ClientMessage && e.xclient.message_type == Atom_("XdndFinished");
        })) {
      throw E2eError("no XdndFinished from the target");
    }
  }

 private:
  Atom Atom_(const char* name) { return XInternAtom(dpy_, name, False); }

  // The top-level window at the point that takes part in XDND.
  Window TargetAt(int x, int y) {
    Window parent = root_;
    for (int depth = 0; depth < 8; ++depth) {
      int tx = 0, ty = 0;
      Window child = 0;
      XTranslateCoordinates(dpy_, root_, parent, x, y, &tx, &ty, &child);
      if (child == 0) break;
      Atom type = 0;
      int format = 0;
      unsigned long items = 0, after = 0;
      unsigned char* prop = nullptr;
      XGetWindowProperty(dpy_, child, Atom_("XdndAware"), 0, 1, False, AnyPropertyType, &type, &format, &items, &after,
                         &prop);
      if (prop != nullptr) XFree(prop);
      if (items > 0) return child;
      parent = child;
    }
    throw E2eError("no XDND-aware window at " + std::to_string(x) + "," + std::to_string(y));
  }

  void Send(Window target, const char* type, long l0, long l1, long l2, long l3, long l4) {
    XEvent ev = {};
    ev.xclient.type = ClientMessage;
    ev.xclient.display = dpy_;
    ev.xclient.window = target;
    ev.xclient.message_type = Atom_(type);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = l0;
    ev.xclient.data.l[1] = l1;
    ev.xclient.data.l[2] = l2;
    ev.xclient.data.l[3] = l3;
    ev.xclient.data.l[4] = l4;
    XSendEvent(dpy_, target, False, NoEventMask, &ev);
    XFlush(dpy_);
  }

  void AnswerSelection(const XSelectionRequestEvent& r) {
    XEvent reply = {};
    reply.xselection.type = SelectionNotify;
    reply.xselection.display = r.display;
    reply.xselection.requestor = r.requestor;
    reply.xselection.selection = r.selection;
    reply.xselection.target = r.target;
    reply.xselection.time = r.time;
    reply.xselection.property = None;
    if (r.target == Atom_("text/uri-list") && r.property != None) {
      XChangeProperty(dpy_, r.requestor, r.property, r.target, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(data_.data()), static_cast<int>(data_.size()));
      reply.xselection.property = r.property;
    }
    XSendEvent(dpy_, r.requestor, False, NoEventMask, &reply);
    XFlush(dpy_);
  }

  // Handles events for `ms` milliseconds or until `done` accepts one.
  bool Pump(int ms, const std::function<bool(const XEvent&)>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
      while (XPending(dpy_) > 0) {
        XEvent e;
        XNextEvent(dpy_, &e);
        if (e.type == SelectionRequest) {
          AnswerSelection(e.xselectionrequest);
        } else if (done && done(e)) {
          return true;
        }
      }
      usleep(5000);
    }
    return false;
  }

  Display* dpy_ = nullptr;
  Window root_ = 0;
  Window src_ = 0;
  std::string data_;
};

class RecorderDropTest : public E2eTest {};

TEST_F(RecorderDropTest, DroppedFilesSetTheOutputFolderWithoutDuplicatesAndAFourthReplacesEntryTwo) {
  ProductFolder folder("Vemtra");
  const std::string base = std::filesystem::weakly_canonical(folder.path() + "/..").string();
  for (const char* sub : {"outB", "outC", "outD"}) {
    std::filesystem::create_directories(base + "/" + sub);
    WriteFile(base + "/" + sub + "/clip.avi", "x");
  }
  WriteFile(base + "/outB/other.wav", "y");

  const int pid = driver().start(folder.exe("Vemtra.exe"), folder.winPath());
  const Hwnd main = driver().waitWindow("NORMAL0", "Vemtra_Free", pid, kStartTimeoutMs);
  WaitForPathWhileRunning(folder.file("ファイルマップフォルダ/BusyMeterBmpCreate11.txt"), pid, kStartTimeoutMs);
  Hwnd combo = 0;
  for (const ControlFacts& c : driver().children(main)) {
    if (c.id == 1030) combo = c.hwnd;
  }
  ASSERT_NE(combo, 0u);
  const std::string desktop = driver().text(main, 1030);
  const Rect client = driver().clientRect(main);
  const int x = client.left + 150;  // the window's own surface, below the buttons
  const int y = client.top + 56;

  XdndSource source(E2eEnv::Get().display());
  auto dropAndExpect = [&](const std::string& file, const std::string& folderLinux, long count) {
    SCOPED_TRACE(file);
    source.Drop(x, y, {file});
    const std::string expected = ToWinPath(folderLinux);
    std::string seen;
    WaitUntil([&] { return (seen = driver().text(main, 1030)) == expected; }, 5000,
              "output folder " + expected + ", seen " + seen);
    EXPECT_EQ(driver().send(combo, kCbGetCount, 0, 0), count);
  };
  dropAndExpect(base + "/outB/clip.avi", base + "/outB", 2);
  dropAndExpect(base + "/outB/other.wav", base + "/outB", 2);  // same folder: no duplicate
  dropAndExpect(base + "/outC/clip.avi", base + "/outC", 3);
  dropAndExpect(base + "/outD/clip.avi", base + "/outD", 3);   // fourth folder: entry 2 (outC) goes
  dropAndExpect(base + "/outB", base, 3);                      // a dropped folder selects its parent
  driver().post(main, kWmClose, 0, 0);
  ASSERT_EQ(driver().waitExit(pid, 30000), 0);

  // The current folder first, then the other list entries.
  EXPECT_EQ(ReadFile(folder.file("個人設定/保存先指定.txt")),
            ToWinPath(base) + "\r\n" + desktop + "\r\n" + ToWinPath(base + "/outB") + "\r\n");
}

}  // namespace
