#pragma once
// The views' error check: a failing HRESULT becomes an ErrT that the view
// itself catches, so a failed query leaves what the view showed before.
#include <windows.h>

#include <cstdint>

namespace netinfo {

struct ErrT {
    HRESULT code;
    int32_t line;
    char source[64]; // last component of the source name, NUL-terminated
};

// Returns a non-negative hr unchanged; throws ErrT for a negative one.
HRESULT ErrorCheck(HRESULT hr, const char* sourceName, int line);

}  // namespace netinfo
