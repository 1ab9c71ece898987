// Narrow texts from the platform, as the system's ANSI code page maps them.
#pragma once

#include <string>
#include <string_view>

// Empty for an empty text and for one the code page cannot convert.
std::wstring AnsiToWide(std::string_view text);
