#include "common/win/bmp_save.h"

#include <vector>

#include "common/core/bmp_file.h"
#include "common/win/file_map.h"
#include "common/win/product_folder.h"
#include "common/win/program.h"
#include "common/win/settings_file.h"

void BmpSaveByDIBS(const char* path, const uint8_t* pixels, int width, int height)
{
    if (width == 0 || height == 0) {
        MessageBoxA(glhMainWnd, "画像の大きさが0です。", "BmpSaveByDIBS", MB_OK);
    }
    const std::vector<uint8_t> file = BmpFileImage(pixels, width, height);
    DWORD written;
    FileWriteWhole(path, file.data(), static_cast<DWORD>(file.size()), &written);
}

void RgnCheckPatBmpCreate()
{
    FSFMBitmapDC pat = {};
    if (!BmpDCCreateByFSFM(&pat, "RgnCheckPatBmpCreate Vemtra_Editor", 0, kCheckPatWidth, kCheckPatHeight, 32)) {
        return;
    }
    RgnCheckPatFill(pat.pixels, kCheckPatWidth, kCheckPatHeight);
    GdiFlush();
    char path[MAX_PATH];
    ProductPath(path, "\\RgnCheckPatBmp0.bmp");
    BmpSaveByDIBS(path, pat.pixels, kCheckPatWidth, kCheckPatHeight);
    ProductPath(path, "\\RgnCheckPatBmp1.bmp");
    BmpSaveByDIBS(path, pat.pixels, kCheckPatBandWidth, kCheckPatHeight);
    BmpDCDeleteByFSFM(&pat);
}

void PatternBrushByFile(HBRUSH* brush, const char* path)
{
    HBITMAP bmp = static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_DEFAULTSIZE | LR_LOADFROMFILE));
    if (bmp == nullptr) {
        MessageBoxA(glhMainWnd, "読み込み失敗(゜o゜)＼(-_-)", "PatternBrushByFile", MB_OK);
        return;
    }
    *brush = CreatePatternBrush(bmp);
    DeleteObject(bmp);
}
