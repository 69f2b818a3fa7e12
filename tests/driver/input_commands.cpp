// Real user input through SendInput: it enters Wine's input queue like
// hardware input, so GetAsyncKeyState and the mouse capture see it.
#include <windows.h>

#include <cctype>
#include <string>

#include "driver_commands.h"

namespace vemtra_e2e {
namespace {

// Pause between the steps of a gesture, so that each step is seen by a
// program that polls the input state.
constexpr DWORD kStepMs = 30;

struct NamedKey {
  const char* name;
  WORD vk;
};

const NamedKey kKeys[] = {
    {"ESC", VK_ESCAPE},     {"ESCAPE", VK_ESCAPE}, {"RETURN", VK_RETURN}, {"ENTER", VK_RETURN},
    {"SPACE", VK_SPACE},    {"TAB", VK_TAB},       {"BACK", VK_BACK},     {"BACKSPACE", VK_BACK},
    {"DELETE", VK_DELETE},  {"PAUSE", VK_PAUSE},   {"SHIFT", VK_SHIFT},   {"CONTROL", VK_CONTROL},
    {"CTRL", VK_CONTROL},   {"ALT", VK_MENU},      {"MENU", VK_MENU},     {"LEFT", VK_LEFT},
    {"RIGHT", VK_RIGHT},    {"UP", VK_UP},         {"DOWN", VK_DOWN},     {"HOME", VK_HOME},
    {"END", VK_END},        {"PRIOR", VK_PRIOR},   {"NEXT", VK_NEXT},     {"INSERT", VK_INSERT},
};

// A key by name ("ESC", "F5", "A", "7") or by virtual-key number.
WORD KeyArg(const Fields& a, size_t i) {
  std::string name = Arg(a, i, "key");
  for (char& c : name) c = (char)std::toupper((unsigned char)c);
  for (const NamedKey& k : kKeys) {
    if (name == k.name) return k.vk;
  }
  if (name.size() == 1 && std::isalnum((unsigned char)name[0])) return (WORD)name[0];
  if (name.size() >= 2 && name[0] == 'F' && std::isdigit((unsigned char)name[1])) {
    int n = std::atoi(name.c_str() + 1);
    if (n >= 1 && n <= 24) return (WORD)(VK_F1 + n - 1);
  }
  long long vk = IntArg(a, i, "key");
  if (vk <= 0 || vk > 254) throw CommandError("no such key: " + a[i]);
  return (WORD)vk;
}

void SendKey(WORD vk, bool down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = (WORD)MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  if (vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN || vk == VK_HOME || vk == VK_END ||
      vk == VK_PRIOR || vk == VK_NEXT || vk == VK_INSERT || vk == VK_DELETE) {
    in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  }
  if (SendInput(1, &in, sizeof in) != 1) throw CommandError("SendInput failed for key " + std::to_string(vk));
}

DWORD ButtonFlags(const Fields& a, size_t i, bool down) {
  std::string b = i < a.size() && !a[i].empty() ? a[i] : "left";
  if (b == "left") return down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  if (b == "right") return down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
  if (b == "middle") return down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP;
  throw CommandError("no such mouse button: " + b + " (left, right or middle)");
}

void SendMouse(DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  if (SendInput(1, &in, sizeof in) != 1) throw CommandError("SendInput failed for the mouse");
}

// Puts the cursor on a screen point and lets the window under it see a move.
void MoveTo(int x, int y) {
  if (!SetCursorPos(x, y)) throw CommandError("SetCursorPos failed");
  SendMouse(MOUSEEVENTF_MOVE);  // a move of 0: a WM_MOUSEMOVE at the new place
  Sleep(kStepMs);
}

}  // namespace

void AddInputCommands(std::map<std::string, Command>& t) {
  // mouse_move x y (screen coordinates)
  t["mouse_move"] = [](const Fields& a) {
    MoveTo((int)IntArg(a, 0, "x"), (int)IntArg(a, 1, "y"));
    return Fields{};
  };
  // mouse_down [button], mouse_up [button]: at the current cursor position
  t["mouse_down"] = [](const Fields& a) {
    SendMouse(ButtonFlags(a, 0, true));
    Sleep(kStepMs);
    return Fields{};
  };
  t["mouse_up"] = [](const Fields& a) {
    SendMouse(ButtonFlags(a, 0, false));
    Sleep(kStepMs);
    return Fields{};
  };
  // click_at x y [button]
  t["click_at"] = [](const Fields& a) {
    MoveTo((int)IntArg(a, 0, "x"), (int)IntArg(a, 1, "y"));
    SendMouse(ButtonFlags(a, 2, true));
    Sleep(kStepMs);
    SendMouse(ButtonFlags(a, 2, false));
    Sleep(kStepMs);
    return Fields{};
  };
  // drag x1 y1 x2 y2 [steps] [button]: press at the first point, move in
  // steps, release at the second
  t["drag"] = [](const Fields& a) {
    int x1 = (int)IntArg(a, 0, "x1"), y1 = (int)IntArg(a, 1, "y1");
    int x2 = (int)IntArg(a, 2, "x2"), y2 = (int)IntArg(a, 3, "y2");
    int steps = (int)IntArgOr(a, 4, 10);
    if (steps < 1) steps = 1;
    MoveTo(x1, y1);
    SendMouse(ButtonFlags(a, 5, true));
    Sleep(kStepMs);
    for (int i = 1; i <= steps; ++i) {
      MoveTo(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps);
    }
    SendMouse(ButtonFlags(a, 5, false));
    Sleep(kStepMs);
    return Fields{};
  };
  // cursor -> x y
  t["cursor"] = [](const Fields&) {
    POINT p{};
    GetCursorPos(&p);
    return Fields{std::to_string(p.x), std::to_string(p.y)};
  };
  // key name|vk: press and release; key_down / key_up: one half
  t["key"] = [](const Fields& a) {
    WORD vk = KeyArg(a, 0);
    SendKey(vk, true);
    Sleep(kStepMs);
    SendKey(vk, false);
    Sleep(kStepMs);
    return Fields{};
  };
  t["key_down"] = [](const Fields& a) {
    SendKey(KeyArg(a, 0), true);
    Sleep(kStepMs);
    return Fields{};
  };
  t["key_up"] = [](const Fields& a) {
    SendKey(KeyArg(a, 0), false);
    Sleep(kStepMs);
    return Fields{};
  };
  // type text: each character as a Unicode key stroke (WM_CHAR) to the
  // focused window
  t["type"] = [](const Fields& a) {
    std::wstring text = Wide(Arg(a, 0, "text"));
    for (wchar_t ch : text) {
      INPUT in[2] = {};
      in[0].type = in[1].type = INPUT_KEYBOARD;
      in[0].ki.wScan = in[1].ki.wScan = ch;
      in[0].ki.dwFlags = KEYEVENTF_UNICODE;
      in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
      if (SendInput(2, in, sizeof in[0]) != 2) throw CommandError("SendInput failed while typing");
      Sleep(5);
    }
    Sleep(kStepMs);
    return Fields{};
  };
}

}  // namespace vemtra_e2e
