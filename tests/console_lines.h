// Line protocol of the small console programs that the end-to-end tests
// drive under Wine: requests are UTF-8 lines of tab-separated fields, the
// programs' own calls take texts in the system code page.
#pragma once

#include <windows.h>

#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace console_lines {

inline std::string Convert(const std::string& text, UINT from, UINT to)
{
    const int n = MultiByteToWideChar(from, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
    MultiByteToWideChar(from, 0, text.c_str(), -1, wide.data(), n);
    const int m = WideCharToMultiByte(to, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(m > 0 ? m : 1), '\0');
    WideCharToMultiByte(to, 0, wide.c_str(), -1, out.data(), m, nullptr, nullptr);
    out.resize(std::strlen(out.c_str()));
    return out;
}

inline std::string ToAnsi(const std::string& utf8)
{
    return Convert(utf8, CP_UTF8, CP_ACP);
}

inline std::string ToUtf8(const char* ansi)
{
    return Convert(ansi, CP_ACP, CP_UTF8);
}

inline std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> out;
    std::stringstream ss(line);
    std::string part;
    while (std::getline(ss, part, '\t')) {
        out.push_back(part);
    }
    return out;
}

inline void Reply(const std::string& text)
{
    std::cout << text << std::endl;
}

}  // namespace console_lines
