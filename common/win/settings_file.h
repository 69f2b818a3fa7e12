// Reading and writing the settings files (and other small files) whole.
#pragma once

#include <windows.h>

#include "common/core/settings_text.h"

// Copies line `lineIndex` of the text file at `path` into `dest` (at least
// kFileReadLineBytes bytes). A missing file leaves `dest` untouched; a file
// with fewer lines gives the empty string.
void FileReadLine(char* dest, const char* path, int lineIndex);

// Creates or replaces the file and writes `bytes` bytes; returns the count
// written, 0 when the file cannot be created (after a message).
DWORD FileWriteMy2(const char* path, const void* data, DWORD bytes);

// Creates or replaces a file for writing, sharing nothing.
HANDLE FileCreateForWrite(const char* path);

// Writes a whole file without any message; false when it could not be
// created or not all bytes reached it.
bool FileWriteWhole(const char* path, const void* data, DWORD bytes, DWORD* written);

// Closes a handle, retrying a failing close a bounded number of times.
BOOL CloseHandleRetry(HANDLE h);
