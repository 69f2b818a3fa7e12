// File-backed pictures and buffers. Large working memory lives in files of
// the file-map folder mapped into the process: a picture is a 32-bit DIB
// section over the mapping, selected into its own memory DC.
//
// Each object is created under a name and a number: the mapping is named
// name + number (mapping names are global, so every pair in use is unique),
// the backing file is "ファイルマップフォルダ\" + name + number + ".txt".
#pragma once

#include <windows.h>

#include <cstdint>

// A picture with its own drawing surface; free while memDC is 0.
struct FSFMBitmapDC {
    int32_t width;
    int32_t height;
    HDC memDC;
    HBITMAP hBmp;
    HBITMAP hBmpPrev;
    uint32_t byteSize; // width * height * 4 + 40
    HANDLE hMap;
    uint8_t* pixels;
    HANDLE hFile;
};

// A picture without a drawing surface; free while hBmp is 0.
struct FSFMBitmap {
    int32_t width;
    int32_t height;
    HBITMAP hBmp;
    uint32_t byteSize;
    HANDLE hMap;
    uint8_t* pixels;
    HANDLE hFile;
};

// A plain mapped block; free while hMap is 0.
struct FSFMBuffer {
    HANDLE hMap;
    HANDLE hFile;
    uint8_t* view;
    uint64_t byteSize;
};

extern char glFileMapFolder[MAX_PATH]; // product folder + "\ファイルマップフォルダ"

// Forms glFileMapFolder from the product folder and creates the folder.
void FileMapFolderCreate();

// Deletes every file of `folder` that is not in use; with keep 0 also the
// folder itself (which fails harmlessly while anything is left in it).
void FileMapFolderClear(const char* folder, int keep);

int BmpDCCreateByFSFM(FSFMBitmapDC* r, const char* name, int num, int width, int height, int bits);
int BmpDCDeleteByFSFM(FSFMBitmapDC* r);
int BmpCreateByFSFM(FSFMBitmap* r, const char* name, int num, int width, int height, int bits);
int BmpDeleteByFSFM(FSFMBitmap* r);
// viewBytes 0 maps the whole block. Returns the view, null on failure.
uint8_t* BufCreateByFSFM(FSFMBuffer* r, const char* name, int num, uint64_t byteSize, uint64_t viewBytes);
void BufDeleteByFSFM(FSFMBuffer* r);
