#include "text/Encoding.h"

#include <windows.h>

#include <climits>

namespace text {

std::wstring AnsiToWide(std::string_view narrow)
{
    if (narrow.empty() || narrow.size() > static_cast<std::size_t>(INT_MAX))
        return {};
    const int length = static_cast<int>(narrow.size());
    // One probe for the length: a byte may become one or two UTF-16 units
    // depending on the code page.
    const int needed = MultiByteToWideChar(CP_ACP, 0, narrow.data(), length, nullptr, 0);
    if (needed <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    const int written = MultiByteToWideChar(CP_ACP, 0, narrow.data(), length, wide.data(), needed);
    wide.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return wide;
}

std::string ToUtf8(std::wstring_view wide)
{
    if (wide.empty() || wide.size() > static_cast<std::size_t>(INT_MAX) / 3)
        return {};
    const int length = static_cast<int>(wide.size());
    // Without WC_ERR_INVALID_CHARS an unpaired surrogate becomes U+FFFD.
    const int needed = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return {};
    std::string utf8(static_cast<std::size_t>(needed), '\0');
    const int written = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), needed, nullptr, nullptr);
    utf8.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return utf8;
}

}  // namespace text
