#pragma once
// Name/value rows for the two-column lists of the statistics and status
// pages. Producers only append.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace netinfo {

struct NameValueRow {
    std::wstring name;
    std::wstring value;

    bool operator==(const NameValueRow&) const = default;
};

using NameValueList = std::vector<NameValueRow>;

// The one way a counter becomes a row: the value in plain unsigned decimal.
NameValueRow MakeCounterRow(std::wstring_view label, uint32_t value);

}  // namespace netinfo
