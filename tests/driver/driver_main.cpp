// VemtraDriver.exe: acts as a user of the Vemtra programs for the end-to-end
// tests. It reads one request per line on stdin and answers one line per
// request on stdout (see line_protocol.h); it lives for one test, so the
// ~1 s start of a Wine process is paid once.
#include <windows.h>

#include <cstdio>
#include <string>

#include "driver_commands.h"
#include "line_protocol.h"

namespace vemtra_e2e {

const std::string& Arg(const Fields& args, size_t i, const char* name) {
  if (i >= args.size()) throw CommandError(std::string("missing argument: ") + name);
  return args[i];
}

long long IntArg(const Fields& args, size_t i, const char* name) {
  const std::string& text = Arg(args, i, name);
  char* end = nullptr;
  long long value = std::strtoll(text.c_str(), &end, 0);
  if (text.empty() || *end != '\0') {
    throw CommandError(std::string("argument ") + name + " is not a number: \"" + text + "\"");
  }
  return value;
}

long long IntArgOr(const Fields& args, size_t i, long long fallback) {
  if (i >= args.size() || args[i].empty()) return fallback;
  return IntArg(args, i, "number");
}

HWND HwndArg(const Fields& args, size_t i) {
  HWND hwnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(IntArg(args, i, "hwnd")));
  if (!IsWindow(hwnd)) throw CommandError("no such window: " + args[i]);
  return hwnd;
}

std::string HwndText(HWND hwnd) {
  return std::to_string(reinterpret_cast<INT_PTR>(hwnd));
}

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), nullptr, 0);
  std::wstring wide(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), &wide[0], n);
  return wide;
}

std::string Utf8(const wchar_t* wide, int length) {
  if (length <= 0) return std::string();
  int n = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string utf8(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, length, &utf8[0], n, nullptr, nullptr);
  return utf8;
}

std::string Utf8(const std::wstring& wide) { return Utf8(wide.data(), (int)wide.size()); }

bool PollUntil(long long timeout_ms, const std::function<bool()>& done) {
  ULONGLONG end = GetTickCount64() + (ULONGLONG)(timeout_ms < 0 ? 0 : timeout_ms);
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(20);
  }
}

}  // namespace vemtra_e2e

using namespace vemtra_e2e;

namespace {

// Reads one line from stdin without the C runtime's text conversions.
bool ReadLine(HANDLE in, std::string& line) {
  line.clear();
  char c;
  DWORD got = 0;
  while (ReadFile(in, &c, 1, &got, nullptr) && got == 1) {
    if (c == '\n') return true;
    line += c;
  }
  return !line.empty();
}

void WriteLine(HANDLE out, const std::string& line) {
  std::string data = line + "\n";
  DWORD written = 0;
  WriteFile(out, data.data(), (DWORD)data.size(), &written, nullptr);
  FlushFileBuffers(out);
}

}  // namespace

int main() {
  // A crashing program under test must not open error boxes of our own.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);

  std::map<std::string, Command> table;
  AddWindowCommands(table);
  AddInputCommands(table);
  AddProcessCommands(table);
  AddSoundCommands(table);
  table["ping"] = [](const Fields&) { return Fields{"pong"}; };

  std::string line;
  while (ReadLine(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Fields request = SplitFields(line);
    const std::string& name = request[0];
    if (name == "quit") {
      ReleaseEverything();
      WriteLine(out, "ok");
      return 0;
    }
    Fields reply;
    auto it = table.find(name);
    if (it == table.end()) {
      reply = {"err", "unknown command: " + name};
    } else {
      try {
        Fields args(request.begin() + 1, request.end());
        reply = it->second(args);
        reply.insert(reply.begin(), "ok");
      } catch (const std::exception& e) {
        reply = {"err", e.what()};
      }
    }
    WriteLine(out, JoinFields(reply));
  }
  // The tests went away without "quit" (crashed or timed out).
  ReleaseEverything();
  return 0;
}
