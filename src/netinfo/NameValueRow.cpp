#include "netinfo/NameValueRow.h"

#include <cwchar>
#include <iterator>

namespace netinfo {

NameValueRow MakeCounterRow(std::wstring_view label, uint32_t value)
{
    wchar_t text[16];
    std::swprintf(text, std::size(text), L"%u", static_cast<unsigned>(value));
    return NameValueRow{std::wstring(label), text};
}

}  // namespace netinfo
