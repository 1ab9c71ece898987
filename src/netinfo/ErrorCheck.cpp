#include "netinfo/ErrorCheck.h"

#include <cstring>

namespace netinfo {

HRESULT ErrorCheck(HRESULT hr, const char* sourceName, int line)
{
    if (hr >= 0)
        return hr;

    ErrT error{hr, line, {}};
    const char* name = sourceName ? sourceName : "";
    if (const char* slash = std::strrchr(name, '\\'))
        name = slash + 1;
    const std::size_t length = strnlen(name, sizeof error.source - 1);
    std::memcpy(error.source, name, length);
    error.source[length] = '\0';
    throw error;
}

}  // namespace netinfo
