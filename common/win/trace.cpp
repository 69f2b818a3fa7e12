#include "common/win/trace.h"

#include <windows.h>

#include <cstdio>

void DebugTrace(const char* label, long a, long b, long c, long d, long e)
{
    char text[1024];
    std::snprintf(text, sizeof text, "%s=%ld, %ld, %ld, %ld, %ld\r\n", label, a, b, c, d, e);
    OutputDebugStringA(text);
}
