// Japanese explanation of a multimedia (wave device) error code, shown in a
// message box titled with the name of the wave call that failed.
#pragma once

#include <string>

// Empty for 0; otherwise the table's text (empty for codes it lacks)
// followed by "  エラーコード定数＝" and the code in decimal.
std::string WaveErrText(unsigned int code);
