// Picture to BMP: decoded through GDI+ (started for each conversion and
// shut down again afterwards), written by the programs' own BMP writer.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "common/core/bmp_file.h"

#include "pixconv/pixconv.h"

namespace {

bool Widen(const char* text, std::vector<wchar_t>* wide)
{
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (n <= 0) {
        return false;
    }
    wide->assign(static_cast<std::size_t>(n), L'\0');
    return MultiByteToWideChar(CP_ACP, 0, text, -1, wide->data(), n) == n;
}

// The picture as a 32-bit DIB, lowest row first: the layout the programs'
// BMP writer takes.
bool PictureToDib(Gdiplus::Bitmap& picture, std::vector<uint8_t>* dib, int* width, int* height)
{
    *width = static_cast<int>(picture.GetWidth());
    *height = static_cast<int>(picture.GetHeight());
    if (*width <= 0 || *height <= 0) {
        return false;
    }
    Gdiplus::Rect all(0, 0, *width, *height);
    Gdiplus::BitmapData data;
    if (picture.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppRGB, &data) != Gdiplus::Ok) {
        return false;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(*width) * 4;
    dib->resize(rowBytes * static_cast<std::size_t>(*height));
    for (int y = 0; y < *height; ++y) {
        const auto* src = static_cast<const uint8_t*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride;
        std::memcpy(dib->data() + static_cast<std::size_t>(*height - 1 - y) * rowBytes, src, rowBytes);
    }
    picture.UnlockBits(&data);
    return true;
}

}  // namespace

void PictureConvert(const char* srcPath, const char* outPath)
{
    std::vector<wchar_t> src, out;
    if (!Widen(srcPath, &src) || !Widen(outPath, &out) || out.size() <= 1) {
        return;
    }
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) {
        return;
    }
    std::vector<uint8_t> dib;
    int width = 0, height = 0;
    bool decoded = false;
    {
        Gdiplus::Bitmap picture(src.data());
        decoded = picture.GetLastStatus() == Gdiplus::Ok && PictureToDib(picture, &dib, &width, &height);
    }
    Gdiplus::GdiplusShutdown(token);
    if (!decoded) {
        return; // unreadable picture: no new file
    }
    // Every decoded picture becomes a plain 24-bit BMP, which both programs
    // load. It is written beside the target first, so that a failed write
    // never leaves a half-written picture where the client will look.
    const std::vector<uint8_t> file = BmpFileImage(dib.data(), width, height);
    std::wstring part(out.data());
    part += L"~";
    HANDLE h = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    const BOOL ok = WriteFile(h, file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
    CloseHandle(h);
    if (!ok || written != file.size() || !MoveFileExW(part.c_str(), out.data(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(part.c_str());
    }
}
