// Console client of Pixconv for the end-to-end tests. Reads one command per
// line from standard input (fields separated by tabs, UTF-8) and answers
// one line per command ("ok ..." or "error ..."):
//   cd <folder>                 makes <folder> the current (product) folder
//   start <exe>                 PixconvStart; "ok found" or "ok notfound"
//   convert <out> <picture>     PixconvRequest with this client as reply window
//   editor-convert <picture>    PixconvConvert; "ok <new path>"
//   slide-convert <n> <picture> PixconvSlideConvert; "ok <new path>"
//   settext <picture>           the conversion request alone (WM_SETTEXT)
//   find                        "ok 1" when a window has the service's title
//   copydata <dwData> <cbData> <text>
//                               raw WM_COPYDATA; the block is cbData bytes
//                               (text repeated to fill it, no NUL when longer)
//   dialog <0|1>                request 5; "ok reply <path>" or "ok noreply"
//   stop                        PixconvStop
//   handle                      "ok <service handle in hex>"
//   window                      "ok <this client's window handle in decimal>"
//   quit
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "common/win/pixconv_client.h"
#include "common/win/product_folder.h"
#include "common/win/program.h"
#include "tests/console_lines.h"

namespace {

const char* const kNames[] = {""};

}  // namespace

const ProgramProfile glProgram = {"PixconvTestClient", kNames, 1, "", "", false};
HWND glhMainWnd = nullptr;

namespace {

HWND glService = nullptr;
std::string glLastReply;
bool glGotReply = false;

using console_lines::ToAnsi;
using console_lines::ToUtf8;

LRESULT CALLBACK ClientWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COPYDATA) {
        const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        std::string path(static_cast<const char*>(cds->lpData), cds->cbData);
        path.resize(std::strlen(path.c_str()));
        glLastReply = path;
        glGotReply = true;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

using console_lines::Fields;
using console_lines::Reply;

void CopyDataRaw(ULONG_PTR dwData, DWORD cbData, const std::string& text)
{
    std::vector<char> block(cbData > 0 ? cbData : 1, '\0');
    if (!text.empty()) {
        for (DWORD i = 0; i < cbData; ++i) {
            block[i] = text[i % text.size()];
        }
        if (cbData > text.size()) {
            // A text shorter than the block ends with its NUL like a client's path.
            std::fill(block.begin() + static_cast<std::ptrdiff_t>(text.size()), block.end(), '\0');
        }
    }
    COPYDATASTRUCT cds = {dwData, cbData, block.data()};
    SendMessageA(glService, WM_COPYDATA, reinterpret_cast<WPARAM>(glhMainWnd), reinterpret_cast<LPARAM>(&cds));
}

}  // namespace

int main()
{
    GetCurrentDirectoryA(MAX_PATH, glProductFolder);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ClientWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PixconvTestClient";
    RegisterClassA(&wc);
    glhMainWnd = CreateWindowExA(0, "PixconvTestClient", "PixconvTestClient", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                 nullptr, nullptr, wc.hInstance, nullptr);

    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::vector<std::string> f = Fields(line);
        if (f.empty()) {
            continue;
        }
        const std::string& cmd = f[0];
        if (cmd == "quit") {
            Reply("ok");
            break;
        } else if (cmd == "cd" && f.size() == 2) {
            const bool ok = SetCurrentDirectoryA(ToAnsi(f[1]).c_str()) != 0;
            GetCurrentDirectoryA(MAX_PATH, glProductFolder);
            Reply(ok ? "ok" : "error cannot enter " + f[1]);
        } else if (cmd == "start" && f.size() == 2) {
            const int found = PixconvStart(&glService, ToAnsi(f[1]).c_str(), kPixconvTitle);
            Reply(found ? "ok found" : "ok notfound");
        } else if (cmd == "convert" && f.size() == 3) {
            PixconvRequest(glService, glhMainWnd, ToAnsi(f[1]).c_str(), ToAnsi(f[2]).c_str());
            Reply("ok");
        } else if (cmd == "editor-convert" && f.size() == 2) {
            char path[MAX_PATH];
            std::snprintf(path, sizeof path, "%s", ToAnsi(f[1]).c_str());
            PixconvConvert(glService, path);
            Reply("ok " + ToUtf8(path));
        } else if (cmd == "slide-convert" && f.size() == 3) {
            char path[MAX_PATH];
            std::snprintf(path, sizeof path, "%s", ToAnsi(f[2]).c_str());
            PixconvSlideConvert(glService, glhMainWnd, path, std::stoi(f[1]));
            Reply("ok " + ToUtf8(path));
        } else if (cmd == "settext" && f.size() == 2) {
            const std::string picture = ToAnsi(f[1]);
            SendMessageA(glService, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(picture.c_str()));
            Reply("ok");
        } else if (cmd == "find") {
            Reply(FindWindowA("ModelApp", kPixconvTitle) ? "ok 1" : "ok 0");
        } else if (cmd == "copydata" && f.size() >= 3) {
            CopyDataRaw(std::stoull(f[1]), static_cast<DWORD>(std::stoul(f[2])), f.size() > 3 ? ToAnsi(f[3]) : "");
            Reply("ok");
        } else if (cmd == "dialog" && f.size() == 2) {
            glGotReply = false;
            CopyDataRaw(5, 2, f[1]);
            Reply(glGotReply ? "ok reply " + ToUtf8(glLastReply.c_str()) : "ok noreply");
        } else if (cmd == "stop") {
            PixconvStop(&glService);
            Reply("ok");
        } else if (cmd == "handle") {
            char text[32];
            std::snprintf(text, sizeof text, "ok %llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(glService)));
            Reply(text);
        } else if (cmd == "window") {
            char text[32];
            std::snprintf(text, sizeof text, "ok %llu", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(glhMainWnd)));
            Reply(text);
        } else {
            Reply("error unknown command: " + line);
        }
    }
    return 0;
}
