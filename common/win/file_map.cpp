#include "common/win/file_map.h"

#include <cstdio>

#include "common/win/product_folder.h"
#include "common/win/program.h"
#include "common/win/settings_file.h"
#include "common/win/trace.h"

char glFileMapFolder[MAX_PATH];

namespace {

void BackingFileName(char* path, const char* name, int num)
{
    std::snprintf(path, MAX_PATH, "%s\\%s%d.txt", glFileMapFolder, name, num);
}

void MappingName(char* mapName, const char* name, int num)
{
    std::snprintf(mapName, MAX_PATH, "%s%d", name, num);
}

HANDLE BackingFileCreate(const char* name, int num)
{
    char path[MAX_PATH];
    BackingFileName(path, name, num);
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE MappingCreate(HANDLE file, const char* name, int num, uint64_t bytes)
{
    char mapName[MAX_PATH];
    MappingName(mapName, name, num);
    return CreateFileMappingA(file, nullptr, PAGE_READWRITE, static_cast<DWORD>(bytes >> 32),
                              static_cast<DWORD>(bytes), mapName);
}

// The DIB section over the mapping: 32 bits, lowest row first.
HBITMAP DibSectionCreate(HANDLE map, int width, int height, int bits)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = static_cast<WORD>(bits);
    bi.bmiHeader.biCompression = BI_RGB;
    void* bitsOut = nullptr;
    return CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bitsOut, map, 0);
}

// A backing file that could not be created is INVALID_HANDLE_VALUE: the
// mapping then lives in the page file and there is nothing to close.
bool BackingFileClose(HANDLE* file)
{
    if (*file != nullptr && *file != INVALID_HANDLE_VALUE && !CloseHandleRetry(*file)) {
        return false;
    }
    *file = nullptr;
    return true;
}

uint64_t PictureMappingBytes(int width, int height)
{
    return static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4 + 1000;
}

// The backing file, the mapping over it, its view and the DIB section on
// it. When the picture cannot be made, the view and the mapping are
// released again (the backing file is left to the caller) and false is
// returned.
bool PictureMemoryCreate(const char* name, int num, int width, int height, int bits, HANDLE* file, HANDLE* map,
                         uint8_t** pixels, HBITMAP* bmp)
{
    *file = BackingFileCreate(name, num);
    *map = MappingCreate(*file, name, num, PictureMappingBytes(width, height));
    *pixels = *map ? static_cast<uint8_t*>(MapViewOfFile(*map, FILE_MAP_ALL_ACCESS, 0, 0, 0)) : nullptr;
    *bmp = *map && *pixels ? DibSectionCreate(*map, width, height, bits) : nullptr;
    if (*bmp != nullptr) {
        return true;
    }
    if (*pixels) {
        UnmapViewOfFile(*pixels);
        *pixels = nullptr;
    }
    if (*map) {
        CloseHandle(*map);
    }
    *map = nullptr;
    return false;
}

void MemoryShortMessage()
{
    MessageBoxA(glhMainWnd,
                "メモリが不足しています。\r\n画像ウィンドウやレイヤーで不要なものを削除するか、結合していいレイヤーは結合させてから、再度実行してください。",
                "<(_ _)>", MB_OK);
}

}  // namespace

void FileMapFolderCreate()
{
    ProductPath(glFileMapFolder, "\\ファイルマップフォルダ");
    CreateDirectoryA(glFileMapFolder, nullptr);
}

void FileMapFolderClear(const char* folder, int keep)
{
    char pattern[MAX_PATH];
    std::snprintf(pattern, sizeof pattern, "%s\\*", folder);
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA(pattern, &fd);
    if (find == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        char path[MAX_PATH];
        std::snprintf(path, sizeof path, "%s\\%s", folder, fd.cFileName);
        DeleteFileA(path); // open files, "." and ".." and subfolders stay
    } while (FindNextFileA(find, &fd));
    FindClose(find);
    if (keep == 0) {
        RemoveDirectoryA(folder);
    }
}

int BmpDCCreateByFSFM(FSFMBitmapDC* r, const char* name, int num, int width, int height, int bits)
{
    if (r->memDC != nullptr) {
        return 0;
    }
    r->width = width;
    r->height = height;
    HWND dcWnd = glProgram.editor ? glhMainWnd : nullptr;
    HDC dc = GetDC(dcWnd);
    r->memDC = CreateCompatibleDC(dc);
    if (!PictureMemoryCreate(name, num, width, height, bits, &r->hFile, &r->hMap, &r->pixels, &r->hBmp)) {
        ReleaseDC(dcWnd, dc);
        if (glProgram.editor) {
            MemoryShortMessage();
        }
        // The record stays in use (memory DC and backing file open): later
        // creations on it return 0, a deletion fails at the restore step.
        return 0;
    }
    r->hBmpPrev = static_cast<HBITMAP>(SelectObject(r->memDC, r->hBmp));
    ReleaseDC(dcWnd, dc);
    r->byteSize = static_cast<uint32_t>(width) * static_cast<uint32_t>(height) * 4 + 40;
    return 1;
}

int BmpDCDeleteByFSFM(FSFMBitmapDC* r)
{
    if (r->hMap != nullptr) {
        if (!UnmapViewOfFile(r->pixels)) {
            return 0;
        }
        if (!CloseHandle(r->hMap)) {
            return 0;
        }
        r->hMap = nullptr;
    }
    if (SelectObject(r->memDC, r->hBmpPrev) == nullptr) {
        return 0;
    }
    if (!DeleteDC(r->memDC)) {
        return 0;
    }
    r->memDC = nullptr;
    if (!DeleteObject(r->hBmp)) {
        return 0;
    }
    r->hBmp = nullptr;
    return BackingFileClose(&r->hFile) ? 1 : 0;
}

int BmpCreateByFSFM(FSFMBitmap* r, const char* name, int num, int width, int height, int bits)
{
    if (r->hBmp != nullptr) {
        return 0;
    }
    r->width = width;
    r->height = height;
    if (!PictureMemoryCreate(name, num, width, height, bits, &r->hFile, &r->hMap, &r->pixels, &r->hBmp)) {
        // The record is free again, so nothing of it may stay open: a
        // backing file left open would block the next creation under its name.
        BackingFileClose(&r->hFile);
        return 0;
    }
    r->byteSize = static_cast<uint32_t>(width) * static_cast<uint32_t>(height) * 4 + 40;
    return 1;
}

int BmpDeleteByFSFM(FSFMBitmap* r)
{
    if (r->hMap != nullptr) {
        if (!UnmapViewOfFile(r->pixels)) {
            DebugTrace("BmpDeleteByFSFM　UnmapViewOfFile失敗");
            return 0;
        }
        r->pixels = nullptr;
        if (!CloseHandle(r->hMap)) {
            DebugTrace("BmpDeleteByFSFM　CloseHandle失敗");
            return 0;
        }
        r->hMap = nullptr;
    }
    if (!DeleteObject(r->hBmp)) {
        DebugTrace("BmpDeleteByFSFM　DeleteObject(hBmp)失敗");
        return 0;
    }
    r->hBmp = nullptr;
    if (!BackingFileClose(&r->hFile)) {
        DebugTrace("BmpDeleteByFSFM　CloseHandle失敗");
        return 0;
    }
    return 1;
}

uint8_t* BufCreateByFSFM(FSFMBuffer* r, const char* name, int num, uint64_t byteSize, uint64_t viewBytes)
{
    r->byteSize = byteSize;
    r->hFile = BackingFileCreate(name, num);
    r->hMap = MappingCreate(r->hFile, name, num, byteSize);
    r->view = r->hMap ? static_cast<uint8_t*>(MapViewOfFile(r->hMap, FILE_MAP_ALL_ACCESS, 0, 0, static_cast<SIZE_T>(viewBytes)))
                      : nullptr;
    return r->view;
}

void BufDeleteByFSFM(FSFMBuffer* r)
{
    if (r->view != nullptr) {
        UnmapViewOfFile(r->view);
        r->view = nullptr;
    }
    if (r->hMap != nullptr) {
        CloseHandle(r->hMap);
        r->hMap = nullptr;
    }
    BackingFileClose(&r->hFile);
}
