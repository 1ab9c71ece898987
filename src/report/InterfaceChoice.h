#pragma once
// Which interfaces a page shows: the interfaces named by `interface
// SELECTOR`, and the filters that every per-interface output applies.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace report {

// Digits are an index, 0x and hexadecimal digits a LUID, anything else an
// alias, compared without regard to case.
struct InterfaceSelector {
    enum class Kind { Index, Luid, Alias };
    Kind kind = Kind::Alias;
    uint64_t number = 0;  // the index or the LUID
    std::wstring text;    // as given

    bool operator==(const InterfaceSelector&) const = default;
};

// Nothing for an empty text, an index beyond 32 bits or a LUID that is not
// 1 to 16 hexadecimal digits.
std::optional<InterfaceSelector> ParseSelector(const std::wstring& text);

// Whether two selectors name one interface whatever it is (7 and 007).
bool SameSelector(const InterfaceSelector& a, const InterfaceSelector& b);

// What the platform says of an interface that a selector or a filter looks at.
struct InterfaceIdentity {
    uint64_t luid = 0;
    uint32_t index = 0;
    std::wstring_view alias;
    bool up = false;  // operational status up
};

bool Matches(const InterfaceSelector& selector, const InterfaceIdentity& found);

// --include, --exclude and --up: an interface is kept when it matches some
// include (or none is given), matches no exclude and, with --up, is up.
struct InterfaceFilter {
    std::vector<std::wstring> include, exclude;
    bool upOnly = false;

    bool Filters() const { return !include.empty() || !exclude.empty() || upOnly; }
    bool Keeps(const InterfaceIdentity& found) const;
    bool operator==(const InterfaceFilter&) const = default;
};

// `*` any run of characters, `?` one character, the rest compared without
// regard to case.
bool WildcardMatches(std::wstring_view pattern, std::wstring_view text);

}  // namespace report
