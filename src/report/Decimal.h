#pragma once
// Unsigned 32-bit numbers in plain decimal, as the rows show them and as an
// interface index is given.
#include <cstdint>
#include <optional>
#include <string_view>

namespace report {

// Digits only: no sign, blank or base prefix; nothing beyond 4294967295.
std::optional<uint32_t> ParseUnsigned32(std::wstring_view text);

}  // namespace report
