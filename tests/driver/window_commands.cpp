// Commands that find windows and read or operate their controls.
#include <windows.h>

#include <string>
#include <vector>

#include "driver_commands.h"

namespace vemtra_e2e {
namespace {

constexpr UINT kSendTimeoutMs = 5000;

std::string ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  int n = GetClassNameW(hwnd, name, 256);
  return Utf8(name, n);
}

// Reads a window's text by WM_GETTEXT, which works across processes for
// controls too; falls back to the caption when the owner does not answer.
std::string TextOf(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) {
    wchar_t buf[1024] = {};
    int n = GetWindowTextW(hwnd, buf, 1024);
    return Utf8(buf, n);
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, length + 1, (LPARAM)&text[0], SMTO_ABORTIFHUNG, kSendTimeoutMs, &got);
  text.resize(got);
  return Utf8(text);
}

DWORD PidOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> list;
  EnumWindows([](HWND hwnd, LPARAM p) -> BOOL {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(hwnd);
    return TRUE;
  }, (LPARAM)&list);
  return list;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> list;
  EnumChildWindows(parent, [](HWND hwnd, LPARAM p) -> BOOL {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(hwnd);
    return TRUE;
  }, (LPARAM)&list);
  return list;
}

// Visible top-level window of the class and title ("" matches any), of the
// process (0: any).
HWND FindTop(const std::string& cls, const std::string& title, DWORD pid) {
  for (HWND hwnd : TopLevelWindows()) {
    if (!IsWindowVisible(hwnd)) continue;
    if (pid && PidOf(hwnd) != pid) continue;
    if (!cls.empty() && ClassOf(hwnd) != cls) continue;
    if (!title.empty() && TextOf(hwnd) != title) continue;
    return hwnd;
  }
  return nullptr;
}

// One line per visible top-level window, for failure messages.
std::string DescribeWindows(DWORD pid) {
  std::string text;
  for (HWND hwnd : TopLevelWindows()) {
    if (!IsWindowVisible(hwnd)) continue;
    if (pid && PidOf(hwnd) != pid) continue;
    text += "\n  hwnd " + HwndText(hwnd) + " pid " + std::to_string(PidOf(hwnd)) + " class \"" +
            ClassOf(hwnd) + "\" title \"" + TextOf(hwnd) + "\"";
  }
  return text.empty() ? std::string(" none") : text;
}

// The control of `parent` with the id in args[i]; an empty field or a
// missing one means the window itself.
HWND Target(const Fields& args, size_t i, HWND parent) {
  if (i >= args.size() || args[i].empty()) return parent;
  int id = (int)IntArg(args, i, "control id");
  HWND ctrl = GetDlgItem(parent, id);
  if (!ctrl) throw CommandError("window " + HwndText(parent) + " has no control with id " + std::to_string(id));
  return ctrl;
}

Fields RectFields(const RECT& r) {
  return {std::to_string(r.left), std::to_string(r.top), std::to_string(r.right), std::to_string(r.bottom)};
}

std::string StripAmpersand(const std::string& text) {
  std::string out;
  for (char c : text) if (c != '&') out += c;
  return out;
}

}  // namespace

void AddWindowCommands(std::map<std::string, Command>& t) {
  // windows [pid] -> per window: hwnd pid class title visible
  t["windows"] = [](const Fields& a) {
    DWORD pid = (DWORD)IntArgOr(a, 0, 0);
    Fields out;
    for (HWND hwnd : TopLevelWindows()) {
      if (pid && PidOf(hwnd) != pid) continue;
      out.insert(out.end(), {HwndText(hwnd), std::to_string(PidOf(hwnd)), ClassOf(hwnd), TextOf(hwnd),
                             IsWindowVisible(hwnd) ? "1" : "0"});
    }
    return out;
  };
  // find_window class title [pid] -> hwnd (0 when there is none)
  t["find_window"] = [](const Fields& a) {
    HWND hwnd = FindTop(Arg(a, 0, "class"), Arg(a, 1, "title"), (DWORD)IntArgOr(a, 2, 0));
    return Fields{HwndText(hwnd)};
  };
  // wait_window class title pid timeout_ms -> hwnd
  t["wait_window"] = [](const Fields& a) {
    const std::string& cls = Arg(a, 0, "class");
    const std::string& title = Arg(a, 1, "title");
    DWORD pid = (DWORD)IntArgOr(a, 2, 0);
    long long timeout = IntArg(a, 3, "timeout_ms");
    HWND found = nullptr;
    if (!PollUntil(timeout, [&] { return (found = FindTop(cls, title, pid)) != nullptr; })) {
      throw CommandError("timeout: no visible window of class \"" + cls + "\" and title \"" + title +
                         "\" (pid " + std::to_string(pid) + ") after " + std::to_string(timeout) +
                         " ms; visible windows:" + DescribeWindows(0));
    }
    return Fields{HwndText(found)};
  };
  // wait_gone hwnd timeout_ms: until the window is destroyed or hidden
  t["wait_gone"] = [](const Fields& a) {
    HWND hwnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(IntArg(a, 0, "hwnd")));
    long long timeout = IntArg(a, 1, "timeout_ms");
    if (!PollUntil(timeout, [&] { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); })) {
      throw CommandError("timeout: window " + a[0] + " \"" + TextOf(hwnd) + "\" still shown after " +
                         std::to_string(timeout) + " ms");
    }
    return Fields{};
  };
  // children hwnd -> per control: hwnd id class text
  t["children"] = [](const Fields& a) {
    Fields out;
    for (HWND c : ChildWindows(HwndArg(a, 0))) {
      out.insert(out.end(), {HwndText(c), std::to_string(GetDlgCtrlID(c)), ClassOf(c), TextOf(c)});
    }
    return out;
  };
  // text hwnd [id] -> text
  t["text"] = [](const Fields& a) { return Fields{TextOf(Target(a, 1, HwndArg(a, 0)))}; };
  // class hwnd [id] -> class name
  t["class"] = [](const Fields& a) { return Fields{ClassOf(Target(a, 1, HwndArg(a, 0)))}; };
  // state hwnd [id] -> enabled visible checked (BM_GETCHECK: 0, 1 or 2)
  t["state"] = [](const Fields& a) {
    HWND w = Target(a, 1, HwndArg(a, 0));
    DWORD_PTR checked = 0;
    SendMessageTimeoutW(w, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &checked);
    return Fields{IsWindowEnabled(w) ? "1" : "0", IsWindowVisible(w) ? "1" : "0", std::to_string(checked)};
  };
  // set_text hwnd id text: WM_SETTEXT (an edit then holds exactly that text)
  t["set_text"] = [](const Fields& a) {
    HWND w = Target(a, 1, HwndArg(a, 0));
    std::wstring text = Wide(Arg(a, 2, "text"));
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutW(w, WM_SETTEXT, 0, (LPARAM)text.c_str(), SMTO_ABORTIFHUNG, kSendTimeoutMs, &r)) {
      throw CommandError("window " + a[0] + " did not answer WM_SETTEXT");
    }
    return Fields{};
  };
  // click hwnd id: posts BM_CLICK, so a modal box opened by the click does
  // not block the driver
  t["click"] = [](const Fields& a) {
    HWND w = Target(a, 1, HwndArg(a, 0));
    if (!IsWindowEnabled(w)) throw CommandError("control " + Arg(a, 1, "id") + " is disabled");
    PostMessageW(w, BM_CLICK, 0, 0);
    return Fields{};
  };
  // command hwnd id [notify]: posts WM_COMMAND as a menu item or a button
  // (notify 0 = BN_CLICKED / menu) would send it
  t["command"] = [](const Fields& a) {
    HWND w = HwndArg(a, 0);
    int id = (int)IntArg(a, 1, "id");
    int notify = (int)IntArgOr(a, 2, 0);
    HWND ctrl = GetDlgItem(w, id);
    PostMessageW(w, WM_COMMAND, MAKEWPARAM(id, notify), (LPARAM)ctrl);
    return Fields{};
  };
  // message_box pid timeout_ms [title] -> hwnd title text {button_id button_text}...
  // (dialogs are of class #32770 too: give the title when one may be open)
  t["message_box"] = [](const Fields& a) {
    DWORD pid = (DWORD)IntArgOr(a, 0, 0);
    long long timeout = IntArg(a, 1, "timeout_ms");
    std::string title = a.size() > 2 ? a[2] : std::string();
    HWND box = nullptr;
    if (!PollUntil(timeout, [&] { return (box = FindTop("#32770", title, pid)) != nullptr; })) {
      throw CommandError("timeout: no message box (class #32770, title \"" + title + "\", pid " +
                         std::to_string(pid) + ") after " + std::to_string(timeout) +
                         " ms; visible windows:" + DescribeWindows(0));
    }
    // The text is the static with id 0xFFFF; other statics hold the icon.
    std::string text;
    Fields buttons;
    for (HWND c : ChildWindows(box)) {
      std::string cls = ClassOf(c);
      int id = GetDlgCtrlID(c);
      if (_stricmp(cls.c_str(), "Static") == 0 && (id == 0xFFFF || text.empty())) {
        std::string t = TextOf(c);
        if (!t.empty()) text = t;
      } else if (_stricmp(cls.c_str(), "Button") == 0 && IsWindowVisible(c)) {
        buttons.push_back(std::to_string(id));
        buttons.push_back(TextOf(c));
      }
    }
    Fields out{HwndText(box), TextOf(box), text};
    out.insert(out.end(), buttons.begin(), buttons.end());
    return out;
  };
  // answer hwnd button: BM_CLICK on the button given by id (digits) or by
  // its text ("&" ignored)
  t["answer"] = [](const Fields& a) {
    HWND box = HwndArg(a, 0);
    const std::string& which = Arg(a, 1, "button");
    bool by_id = !which.empty() && which.find_first_not_of("0123456789") == std::string::npos;
    for (HWND c : ChildWindows(box)) {
      if (_stricmp(ClassOf(c).c_str(), "Button") != 0) continue;
      bool match = by_id ? GetDlgCtrlID(c) == std::stoi(which)
                         : (TextOf(c) == which || StripAmpersand(TextOf(c)) == StripAmpersand(which));
      if (match) {
        PostMessageW(c, BM_CLICK, 0, 0);
        return Fields{};
      }
    }
    throw CommandError("window " + a[0] + " has no button \"" + which + "\"");
  };
  // rect hwnd [id] -> left top right bottom of the window, screen coordinates
  t["rect"] = [](const Fields& a) {
    RECT r{};
    GetWindowRect(Target(a, 1, HwndArg(a, 0)), &r);
    return RectFields(r);
  };
  // client_rect hwnd [id] -> the client area in screen coordinates
  t["client_rect"] = [](const Fields& a) {
    HWND w = Target(a, 1, HwndArg(a, 0));
    RECT r{};
    GetClientRect(w, &r);
    MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return RectFields(r);
  };
  // focus hwnd: bring to the foreground so keys go to it
  t["focus"] = [](const Fields& a) {
    HWND w = HwndArg(a, 0);
    SetForegroundWindow(w);
    PollUntil(2000, [&] { return GetForegroundWindow() == GetAncestor(w, GA_ROOT); });
    return Fields{};
  };
  // foreground -> hwnd of the foreground window
  t["foreground"] = [](const Fields&) { return Fields{HwndText(GetForegroundWindow())}; };
  // send hwnd msg wparam lparam -> result (bounded SendMessageTimeout)
  t["send"] = [](const Fields& a) {
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutW(HwndArg(a, 0), (UINT)IntArg(a, 1, "msg"), (WPARAM)IntArg(a, 2, "wparam"),
                             (LPARAM)IntArg(a, 3, "lparam"), SMTO_ABORTIFHUNG, kSendTimeoutMs, &r)) {
      throw CommandError("window " + a[0] + " did not answer message " + a[1]);
    }
    return Fields{std::to_string((long long)r)};
  };
  // post hwnd msg wparam lparam
  t["post"] = [](const Fields& a) {
    PostMessageW(HwndArg(a, 0), (UINT)IntArg(a, 1, "msg"), (WPARAM)IntArg(a, 2, "wparam"),
                 (LPARAM)IntArg(a, 3, "lparam"));
    return Fields{};
  };
  // screen -> width height of the virtual screen
  t["screen"] = [](const Fields&) {
    return Fields{std::to_string(GetSystemMetrics(SM_CXVIRTUALSCREEN)),
                  std::to_string(GetSystemMetrics(SM_CYVIRTUALSCREEN))};
  };
}

}  // namespace vemtra_e2e
