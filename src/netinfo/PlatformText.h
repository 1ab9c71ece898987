#pragma once
// Texts in fixed-size platform fields. The platform may fill a field to its
// last byte without a terminator, so a text ends at its NUL or at the end of
// its field, whichever comes first.
#include <cstddef>
#include <string>

namespace netinfo {

template <typename Char, std::size_t Size>
std::basic_string<Char> TextOfField(const Char (&field)[Size])
{
    std::size_t length = 0;
    while (length < Size && field[length] != Char{})
        ++length;
    return std::basic_string<Char>(field, length);
}

}  // namespace netinfo
