// Command handlers of VemtraDriver.exe. Each takes the request's fields after
// the command name and returns the reply's fields after "ok"; a failure
// throws CommandError, whose text becomes the "err" reply.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace vemtra_e2e {

using Fields = std::vector<std::string>;
using Command = std::function<Fields(const Fields&)>;

struct CommandError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Argument helpers: throw CommandError naming the argument when it is
// missing or malformed.
const std::string& Arg(const Fields& args, size_t i, const char* name);
long long IntArg(const Fields& args, size_t i, const char* name);
long long IntArgOr(const Fields& args, size_t i, long long fallback);
HWND HwndArg(const Fields& args, size_t i);
std::string HwndText(HWND hwnd);

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);
std::string Utf8(const wchar_t* wide, int length);

// Polls `done` every 20 ms until it returns true or `timeout_ms` has passed.
bool PollUntil(long long timeout_ms, const std::function<bool()>& done);

void AddWindowCommands(std::map<std::string, Command>& table);
void AddInputCommands(std::map<std::string, Command>& table);
void AddProcessCommands(std::map<std::string, Command>& table);
void AddSoundCommands(std::map<std::string, Command>& table);

// Ends every process started by "start" that still runs and closes the
// files held by "hold"; called when the tests quit or disappear.
void ReleaseEverything();

}  // namespace vemtra_e2e
