// Commands about processes and files: start a program in a folder, wait for
// its end, kill it, hold a file open, wait for a file.
#include <windows.h>
#include <tlhelp32.h>

#include <map>
#include <string>

#include "driver_commands.h"

namespace vemtra_e2e {
namespace {

std::map<DWORD, HANDLE> g_started;  // processes started by "start", by pid
std::map<int, HANDLE> g_held;        // files opened by "hold"
int g_next_hold = 1;

std::string LastError() { return "error " + std::to_string(GetLastError()); }

// The handle of a process we started, or one opened for the pid.
HANDLE ProcessOf(const Fields& a) {
  DWORD pid = (DWORD)IntArg(a, 0, "pid");
  auto it = g_started.find(pid);
  if (it != g_started.end()) return it->second;
  HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, pid);
  if (!h) throw CommandError("no such process: " + a[0]);
  g_started[pid] = h;  // kept: the exit code stays readable after the end
  return h;
}

}  // namespace

void ReleaseEverything() {
  for (auto& [pid, h] : g_started) {
    if (WaitForSingleObject(h, 0) == WAIT_TIMEOUT) {
      TerminateProcess(h, 1);
      WaitForSingleObject(h, 5000);
    }
    CloseHandle(h);
  }
  g_started.clear();
  for (auto& [id, h] : g_held) CloseHandle(h);
  g_held.clear();
}

void AddProcessCommands(std::map<std::string, Command>& t) {
  // start exe folder -> pid: the program runs with the folder as its
  // current directory and no arguments
  t["start"] = [](const Fields& a) {
    std::wstring exe = Wide(Arg(a, 0, "exe"));
    std::wstring dir = Wide(Arg(a, 1, "folder"));
    std::wstring cmdline = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    // The program must not write into our stdout, which carries the replies.
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = si.hStdOutput = si.hStdError = nullptr;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), &cmdline[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi)) {
      throw CommandError("cannot start " + a[0] + " in " + a[1] + ": " + LastError());
    }
    CloseHandle(pi.hThread);
    g_started[pi.dwProcessId] = pi.hProcess;
    return Fields{std::to_string(pi.dwProcessId)};
  };
  // wait_exit pid timeout_ms -> exit code
  t["wait_exit"] = [](const Fields& a) {
    HANDLE h = ProcessOf(a);
    long long timeout = IntArg(a, 1, "timeout_ms");
    if (WaitForSingleObject(h, (DWORD)timeout) != WAIT_OBJECT_0) {
      throw CommandError("timeout: process " + a[0] + " still runs after " + std::to_string(timeout) + " ms");
    }
    DWORD code = 0;
    GetExitCodeProcess(h, &code);
    return Fields{std::to_string(code)};
  };
  // running pid -> 1 or 0
  t["running"] = [](const Fields& a) {
    return Fields{WaitForSingleObject(ProcessOf(a), 0) == WAIT_TIMEOUT ? "1" : "0"};
  };
  // kill pid: TerminateProcess (exit code 1), waits until it is gone
  t["kill"] = [](const Fields& a) {
    HANDLE h = ProcessOf(a);
    if (WaitForSingleObject(h, 0) == WAIT_TIMEOUT) {
      TerminateProcess(h, 1);
      if (WaitForSingleObject(h, 10000) != WAIT_OBJECT_0) throw CommandError("process " + a[0] + " does not end");
    }
    return Fields{};
  };
  // hold path -> id: opens (or creates) the file with share mode 0, so that
  // no other process can open or delete it until "release id"
  t["hold"] = [](const Fields& a) {
    std::wstring path = Wide(Arg(a, 0, "path"));
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw CommandError("cannot hold " + a[0] + ": " + LastError());
    int id = g_next_hold++;
    g_held[id] = h;
    return Fields{std::to_string(id)};
  };
  t["release"] = [](const Fields& a) {
    int id = (int)IntArg(a, 0, "id");
    auto it = g_held.find(id);
    if (it == g_held.end()) throw CommandError("nothing held under id " + a[0]);
    CloseHandle(it->second);
    g_held.erase(it);
    return Fields{};
  };
  // wait_file path timeout_ms [min_bytes] -> size: until the file exists
  // with at least that many bytes
  t["wait_file"] = [](const Fields& a) {
    std::wstring path = Wide(Arg(a, 0, "path"));
    long long timeout = IntArg(a, 1, "timeout_ms");
    long long min_bytes = IntArgOr(a, 2, 0);
    long long size = -1;
    bool ok = PollUntil(timeout, [&] {
      WIN32_FILE_ATTRIBUTE_DATA d{};
      if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &d)) return false;
      size = ((long long)d.nFileSizeHigh << 32) | d.nFileSizeLow;
      return size >= min_bytes;
    });
    if (!ok) {
      throw CommandError("timeout: " + a[0] + (size < 0 ? " does not exist" : " is too small") + " after " +
                         std::to_string(timeout) + " ms");
    }
    return Fields{std::to_string(size)};
  };
  // kill_under path -> count: ends every process (but this one) whose
  // program file is that file or lies below that folder; clears what an
  // earlier test that timed out left running
  t["kill_under"] = [](const Fields& a) {
    std::wstring path = Wide(Arg(a, 0, "path"));
    if (path.size() < 4) throw CommandError("refusing a path this short: " + a[0]);
    if (path.back() == L'\\') path.pop_back();
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) throw CommandError("cannot list processes: " + LastError());
    int count = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snap, &entry); more; more = Process32NextW(snap, &entry)) {
      if (entry.th32ProcessID == GetCurrentProcessId()) continue;
      HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                             entry.th32ProcessID);
      if (!h) continue;
      wchar_t image[MAX_PATH * 2] = {};
      DWORD size = MAX_PATH * 2;
      bool below = QueryFullProcessImageNameW(h, 0, image, &size) && size >= path.size() &&
                   CompareStringOrdinal(image, (int)path.size(), path.c_str(), (int)path.size(), TRUE) == CSTR_EQUAL &&
                   (size == path.size() || image[path.size()] == L'\\');
      if (below) {
        TerminateProcess(h, 1);
        WaitForSingleObject(h, 5000);
        ++count;
      }
      CloseHandle(h);
    }
    CloseHandle(snap);
    return Fields{std::to_string(count)};
  };
  // exists path -> 1 or 0 (file or folder)
  t["exists"] = [](const Fields& a) {
    return Fields{GetFileAttributesW(Wide(Arg(a, 0, "path")).c_str()) != INVALID_FILE_ATTRIBUTES ? "1" : "0"};
  };
}

}  // namespace vemtra_e2e
