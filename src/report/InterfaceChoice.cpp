#include "report/InterfaceChoice.h"

#include "report/Decimal.h"

#include <windows.h>

#include <algorithm>

namespace report {
namespace {

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

std::optional<uint64_t> ParseLuid(std::wstring_view digits)
{
    if (digits.empty() || digits.size() > 16)
        return std::nullopt;
    uint64_t value = 0;
    for (const wchar_t c : digits) {
        const wchar_t lower = c | 0x20;
        const int digit = IsDigit(c) ? c - L'0' : lower >= L'a' && lower <= L'f' ? lower - L'a' + 10 : -1;
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | static_cast<uint64_t>(digit);
    }
    return value;
}

// Names people type: case does not tell two apart.
bool SameText(std::wstring_view a, std::wstring_view b)
{
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

}  // namespace

std::optional<InterfaceSelector> ParseSelector(const std::wstring& text)
{
    using Kind = InterfaceSelector::Kind;
    if (text.empty())
        return std::nullopt;
    if (std::all_of(text.begin(), text.end(), IsDigit)) {
        const std::optional<uint32_t> index = ParseUnsigned32(text);
        return index ? std::optional(InterfaceSelector{Kind::Index, *index, text}) : std::nullopt;
    }
    if (text.size() > 1 && text[0] == L'0' && (text[1] | 0x20) == L'x') {
        const std::optional<uint64_t> luid = ParseLuid(std::wstring_view(text).substr(2));
        return luid ? std::optional(InterfaceSelector{Kind::Luid, *luid, text}) : std::nullopt;
    }
    return InterfaceSelector{Kind::Alias, 0, text};
}

bool SameSelector(const InterfaceSelector& a, const InterfaceSelector& b)
{
    const bool alias = a.kind == InterfaceSelector::Kind::Alias;
    return a.kind == b.kind && (alias ? SameText(a.text, b.text) : a.number == b.number);
}

bool Matches(const InterfaceSelector& selector, const InterfaceIdentity& found)
{
    switch (selector.kind) {
    case InterfaceSelector::Kind::Index:
        return found.index == selector.number;
    case InterfaceSelector::Kind::Luid:
        return found.luid == selector.number;
    case InterfaceSelector::Kind::Alias:
        return SameText(selector.text, found.alias);
    }
    return false;
}

bool WildcardMatches(std::wstring_view pattern, std::wstring_view text)
{
    // Greedy, going back only to the last star: linear in practice, never
    // exponential whatever the pattern.
    std::size_t p = 0, t = 0, star = std::wstring_view::npos, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == L'*') {
            star = p++, resume = t;
        } else if (p < pattern.size() && (pattern[p] == L'?' || SameText(pattern.substr(p, 1), text.substr(t, 1)))) {
            ++p, ++t;
        } else if (star != std::wstring_view::npos) {
            p = star + 1, t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*')
        ++p;
    return p == pattern.size();
}

bool InterfaceFilter::Keeps(const InterfaceIdentity& found) const
{
    const auto matches = [&](const std::wstring& pattern) { return WildcardMatches(pattern, found.alias); };
    return (include.empty() || std::any_of(include.begin(), include.end(), matches)) &&
           std::none_of(exclude.begin(), exclude.end(), matches) && (!upOnly || found.up);
}

}  // namespace report
