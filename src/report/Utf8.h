#pragma once
// UTF-16 to UTF-8 for the report's output, without the platform.
#include <string>
#include <string_view>

// A surrogate without its partner cannot be encoded; it becomes U+FFFD
// rather than cutting the text short.
std::string ToUtf8(std::wstring_view text);
