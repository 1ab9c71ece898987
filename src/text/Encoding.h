// Text conversions through the platform's own code pages: narrow texts from
// the IP helper service (the system ANSI code page) to UTF-16, and UTF-16 to
// UTF-8 for what the report writes. No window code.
#pragma once

#include <string>
#include <string_view>

namespace text {

// Empty for an empty text and for one the code page cannot convert.
std::wstring AnsiToWide(std::string_view narrow);

// A surrogate without its partner becomes U+FFFD rather than cutting the text short.
std::string ToUtf8(std::wstring_view wide);

}  // namespace text
