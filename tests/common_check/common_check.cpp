// Console program for the end-to-end tests of the shared Win32 code. It runs
// in a product folder (its current directory) and prints one line per fact:
//   CommonCheck readline <path> <index>   the line, or "<untouched>"
//   CommonCheck write <path> <text>       FileWriteMy2; prints the byte count
//   CommonCheck wave <path> <bytes> <channels> <rate>
//                                         WaveSaveBufP of a counting pattern
//   CommonCheck patterns                  RgnCheckPatBmpCreate into the folder
//   CommonCheck fsfm                      file-backed objects: "<case> ok" or
//                                         "<case> FAIL ..." per case
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/win/bmp_save.h"
#include "common/win/file_map.h"
#include "common/win/product_folder.h"
#include "common/win/program.h"
#include "common/win/settings_file.h"
#include "common/win/wave_save.h"

namespace {

const char* const kNames[] = {""};

}  // namespace

const ProgramProfile glProgram = {"CommonCheck", kNames, 1, "", "", true};
HWND glhMainWnd = nullptr;

namespace {

int ReadLine(const char* path, int index)
{
    char dest[kFileReadLineBytes];
    std::strcpy(dest, "<untouched>");
    FileReadLine(dest, path, index);
    std::printf("%s\n", dest);
    return 0;
}

int Wave(const char* path, uint32_t bytes, int channels, int rate)
{
    std::vector<uint8_t> data(bytes);
    for (uint32_t i = 0; i < bytes; ++i) {
        data[i] = static_cast<uint8_t>(i * 7);
    }
    WaveSaveBufP(data.data(), bytes, path, static_cast<int16_t>(channels), rate);
    return 0;
}

void Report(const char* name, bool ok, const char* detail = "")
{
    std::printf("%s %s%s%s\n", name, ok ? "ok" : "FAIL", *detail ? " " : "", detail);
}

int Fsfm()
{
    FSFMBitmapDC a = {};
    Report("create", BmpDCCreateByFSFM(&a, "CheckPic", 0, 30, 20, 32) == 1 && a.pixels != nullptr && a.memDC != nullptr);
    // Pixels and the drawing surface are the same memory: GDI draws, the
    // pixels see it at the bottom-up address of the top-left pixel.
    RECT r = {0, 0, 1, 1};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(a.memDC, &r, red);
    DeleteObject(red);
    GdiFlush();
    const uint8_t* topLeft = a.pixels + static_cast<std::size_t>(19) * 30 * 4;
    Report("gdi-and-pixels-share-memory", topLeft[2] == 255 && topLeft[1] == 0 && topLeft[0] == 0);
    topLeft = nullptr;

    char backing[MAX_PATH];
    std::snprintf(backing, sizeof backing, "%s\\CheckPic0.txt", glFileMapFolder);
    WIN32_FILE_ATTRIBUTE_DATA attr;
    const bool haveFile = GetFileAttributesExA(backing, GetFileExInfoStandard, &attr) != 0;
    Report("backing-file-named-by-name-and-number", haveFile && attr.nFileSizeLow == 30 * 20 * 4 + 1000);

    const uint8_t* before = a.pixels;
    Report("create-into-used-record-refused", BmpDCCreateByFSFM(&a, "CheckPic", 1, 50, 50, 32) == 0 && a.pixels == before &&
                                                  a.width == 30);
    Report("delete", BmpDCDeleteByFSFM(&a) == 1 && a.memDC == nullptr && a.hMap == nullptr);
    Report("delete-twice-fails", BmpDCDeleteByFSFM(&a) == 0);
    Report("create-again", BmpDCCreateByFSFM(&a, "CheckPic", 0, 8, 8, 32) == 1 && BmpDCDeleteByFSFM(&a) == 1);

    FSFMBitmap b = {};
    Report("frame-picture", BmpCreateByFSFM(&b, "CheckFrame", 3, 16, 9, 32) == 1 && b.pixels != nullptr &&
                                BmpCreateByFSFM(&b, "CheckFrame", 3, 16, 9, 32) == 0 && BmpDeleteByFSFM(&b) == 1);

    FSFMBuffer buf = {};
    uint8_t* view = BufCreateByFSFM(&buf, "CheckBuf", 7, 1 << 20, 0);
    bool bufOk = view != nullptr;
    if (bufOk) {
        view[0] = 1;
        view[(1 << 20) - 1] = 2;
    }
    BufDeleteByFSFM(&buf);
    Report("buffer", bufOk && buf.view == nullptr && buf.hMap == nullptr);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    GetCurrentDirectoryA(MAX_PATH, glProductFolder);
    FileMapFolderCreate();
    if (argc == 4 && std::strcmp(argv[1], "readline") == 0) {
        return ReadLine(argv[2], std::atoi(argv[3]));
    }
    if (argc == 4 && std::strcmp(argv[1], "write") == 0) {
        std::printf("%lu\n", FileWriteMy2(argv[2], argv[3], static_cast<DWORD>(std::strlen(argv[3]))));
        return 0;
    }
    if (argc == 6 && std::strcmp(argv[1], "wave") == 0) {
        return Wave(argv[2], static_cast<uint32_t>(std::atoi(argv[3])), std::atoi(argv[4]), std::atoi(argv[5]));
    }
    if (argc == 2 && std::strcmp(argv[1], "patterns") == 0) {
        RgnCheckPatBmpCreate();
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "fsfm") == 0) {
        return Fsfm();
    }
    std::fprintf(stderr, "usage: CommonCheck readline|write|wave|patterns|fsfm ...\n");
    return 2;
}
