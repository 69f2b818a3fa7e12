// The line protocol between the native e2e tests and VemtraDriver.exe.
//
// One request per line, one reply line per request. A line is a list of
// fields separated by TAB and ended by LF; inside a field a backslash, TAB,
// LF and CR are written as \\, \t, \n and \r, so any text (message box texts
// contain CR LF) travels in one field. All texts are UTF-8.
//
// Reply: first field "ok" followed by the results, or "err" followed by one
// field with a readable reason.
//
// Portable: used by the driver (Windows) and by the test support (Linux).
#pragma once

#include <string>
#include <vector>

namespace vemtra_e2e {

// Joins fields into one line, without the final LF.
std::string JoinFields(const std::vector<std::string>& fields);

// Splits one line (without its LF; a trailing CR is not removed) into fields.
std::vector<std::string> SplitFields(const std::string& line);

}  // namespace vemtra_e2e
