#include "recorder/disk_reserve.h"

#include <windows.h>

#include <vector>

#include "common/win/product_folder.h"

namespace {

// Enough for the indexes of a 30-minute file (16 bytes per frame in idx1,
// 8 in the OpenDML index) with room to spare.
constexpr DWORD kReserveBytes = 2 * 1024 * 1024;

void ReservePath(char* path)
{
    ProductPath(path, "\\VideoReserve.bin");
}

}  // namespace

bool DiskReserveMake()
{
    char path[MAX_PATH];
    ReservePath(path);
    HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) {
        return false;
    }
    const std::vector<char> block(kReserveBytes, 0);
    DWORD written = 0;
    const BOOL ok = WriteFile(f, block.data(), kReserveBytes, &written, nullptr);
    CloseHandle(f);
    if (!ok || written != kReserveBytes) {
        DeleteFileA(path);
        return false;
    }
    return true;
}

void DiskReserveFree()
{
    char path[MAX_PATH];
    ReservePath(path);
    DeleteFileA(path);
}
