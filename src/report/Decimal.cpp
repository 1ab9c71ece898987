#include "report/Decimal.h"

#include <limits>

namespace report {

std::optional<uint32_t> ParseUnsigned32(std::wstring_view text)
{
    // Leading zeros are harmless; without them no text of more than ten
    // digits is in range.
    while (text.size() > 1 && text.front() == L'0')
        text.remove_prefix(1);
    if (text.empty() || text.size() > 10)
        return std::nullopt;
    uint64_t value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - L'0');
    }
    if (value > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    return static_cast<uint32_t>(value);
}

}  // namespace report
