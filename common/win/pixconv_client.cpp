#include "common/win/pixconv_client.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "common/core/picture_extension.h"
#include "common/win/product_folder.h"
#include "common/win/program.h"
#include "common/win/trace.h"

const char* const kPixconvTitle = "圧縮ファイルBMP変換だぞ";

namespace {

constexpr int kSearchSteps = 1025;
// The service shows its window within a second or two of its start; past
// this the program is taken as missing or broken.
constexpr DWORD kSearchGiveUpMs = 10000;
constexpr int kSlideSuu = 200;

// Title of a top-level window, asked without ever blocking on a hung one.
bool WindowTitleIs(HWND hwnd, const char* title)
{
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 500, &len) || len == 0) {
        return false;
    }
    char text[1256];
    const WPARAM want = len + 1 < sizeof text ? len + 1 : sizeof text;
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, want, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 500, &got)) {
        return false;
    }
    text[sizeof text - 1] = '\0';
    return std::strcmp(text, title) == 0;
}

void OutputPathForSlide(char* path, int slideNum)
{
    char tail[64];
    std::snprintf(tail, sizeof tail, "\\PXが変換保存%d.bmp", slideNum);
    ProductPath(path, tail);
}

}  // namespace

int PixconvStart(HWND* service, const char* exePath, const char* title)
{
    ShellExecuteA(nullptr, "open", exePath, nullptr, nullptr, SW_SHOWNORMAL);
    Sleep(200);

    const DWORD start = GetTickCount();
    UINT direction = GW_HWNDPREV; // toward the top of the order, where the top-most service lies
    for (;;) {
        HWND from = glhMainWnd != nullptr ? glhMainWnd : GetTopWindow(nullptr);
        *service = from;
        for (int step = 0; step < kSearchSteps && *service != nullptr; ++step) {
            *service = GetWindow(*service, direction);
            if (*service != nullptr && WindowTitleIs(*service, title)) {
                DebugTrace(title);
                return 1;
            }
        }
        if (GetTickCount() - start > kSearchGiveUpMs) {
            *service = nullptr;
            return 0;
        }
        direction = direction == GW_HWNDPREV ? GW_HWNDNEXT : GW_HWNDPREV;
        Sleep(10); // let the service's start-up have the processor
    }
}

void PixconvRequest(HWND service, HWND replyWnd, const char* outPath, const char* picturePath)
{
    if (service == nullptr) {
        return;
    }
    char out[MAX_PATH] = {};
    std::snprintf(out, sizeof out, "%s", outPath);
    COPYDATASTRUCT cds = {};
    cds.dwData = reinterpret_cast<ULONG_PTR>(replyWnd);
    cds.cbData = MAX_PATH;
    cds.lpData = out;
    SendMessageA(service, WM_COPYDATA, reinterpret_cast<WPARAM>(replyWnd), reinterpret_cast<LPARAM>(&cds));
    SendMessageA(service, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(picturePath));
}

void PixconvConvert(HWND service, char* path)
{
    char picture[MAX_PATH];
    std::snprintf(picture, sizeof picture, "%s", path);
    char out[MAX_PATH];
    ProductPath(out, "\\PXが変換保存.bmp");
    PixconvRequest(service, glhMainWnd, out, picture);
    std::snprintf(path, MAX_PATH, "%s", out);
}

void PixconvSlideConvert(HWND service, HWND replyWnd, char* slidePath, int slideNum)
{
    if (!PixconvWantsExtension(slidePath)) {
        return; // BMP is loaded as it is; anything else fails at the load
    }
    char out[MAX_PATH];
    OutputPathForSlide(out, slideNum);
    PixconvRequest(service, replyWnd, out, slidePath);
    std::snprintf(slidePath, MAX_PATH, "%s", out);
}

void PixconvStop(HWND* service)
{
    if (*service != nullptr) {
        SendMessageA(*service, WM_DESTROY, 0, 0);
    }
    *service = nullptr;
}

void PixconvOutputDelete()
{
    char path[MAX_PATH];
    ProductPath(path, "\\PXが変換保存.bmp");
    DeleteFileA(path);
}

void PixconvSlideOutputsDelete()
{
    for (int n = 0; n < kSlideSuu; ++n) {
        char path[MAX_PATH];
        OutputPathForSlide(path, n);
        DeleteFileA(path);
    }
}
