// Diagnostic trace: "label=a, b, c, d, e\r\n" to the debugger. No effect on behaviour.
#pragma once

void DebugTrace(const char* label, long a = 0, long b = 0, long c = 0, long d = 0, long e = 0);
