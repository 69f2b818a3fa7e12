#include "common/win/settings_file.h"

#include <cstdio>
#include <vector>

#include "common/win/program.h"

BOOL CloseHandleRetry(HANDLE h)
{
    // A close that fails for a moment (an antivirus scanner holding the
    // file, say) is tried again; one that keeps failing is given up rather
    // than hanging the program.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (CloseHandle(h)) {
            return TRUE;
        }
        Sleep(10);
    }
    return FALSE;
}

void FileReadLine(char* dest, const char* path, int lineIndex)
{
    HANDLE h = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(h, &size) || size.QuadPart > 0x7FFFFFFE) {
        char text[64];
        std::snprintf(text, sizeof text, "FileSize=-1 %llu", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(h)));
        MessageBoxA(glhMainWnd, text, "", MB_OK);
        CloseHandleRetry(h);
        return;
    }
    std::vector<char> text(static_cast<std::size_t>(size.QuadPart) + 1, '\0');
    DWORD read = 0;
    ReadFile(h, text.data(), static_cast<DWORD>(size.QuadPart), &read, nullptr);
    CloseHandleRetry(h);
    FileReadLineFromText(dest, text.data(), read, lineIndex);
}

HANDLE FileCreateForWrite(const char* path)
{
    return CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool FileWriteWhole(const char* path, const void* data, DWORD bytes, DWORD* written)
{
    *written = 0;
    HANDLE h = FileCreateForWrite(path);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    WriteFile(h, data, bytes, written, nullptr);
    return CloseHandleRetry(h) && *written == bytes;
}

DWORD FileWriteMy2(const char* path, const void* data, DWORD bytes)
{
    DWORD written = 0;
    HANDLE h = FileCreateForWrite(path);
    if (h == INVALID_HANDLE_VALUE) {
        MessageBoxA(glhMainWnd, "FileWriteMy2 INVALID_HANDLE_VALUE", "", MB_OK);
        return 0;
    }
    WriteFile(h, data, bytes, &written, nullptr);
    CloseHandleRetry(h);
    return written;
}
