#pragma once
// Small helpers shared by the network information tests.
#include "netinfo/NetworkInfo.h"

#include <cstring>
#include <string>

using namespace netinfo;

// InterfaceRecord holds a platform row, which has no ==; rows compare byte for byte.
inline bool SameInterface(const InterfaceRecord& a, const InterfaceRecord& b)
{
    return a.index == b.index && a.name == b.name && std::memcmp(&a.row, &b.row, sizeof a.row) == 0;
}

inline bool SameInterfaces(const InterfaceList& a, const InterfaceList& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!SameInterface(a[i], b[i]))
            return false;
    return true;
}

// A text of `length` characters that does not repeat too soon, so a cut at
// the wrong place shows.
inline std::string Pattern(std::size_t length)
{
    std::string text;
    for (std::size_t i = 0; i < length; ++i)
        text += static_cast<char>('a' + i % 26);
    return text;
}

inline std::wstring WidePattern(std::size_t length)
{
    std::wstring text;
    for (std::size_t i = 0; i < length; ++i)
        text += static_cast<wchar_t>(L'A' + i % 26);
    return text;
}
