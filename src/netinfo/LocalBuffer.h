#pragma once
// A zero-filled block of the local heap, taken and given back through the
// IP helper table so that every path frees what it took.
#include "netinfo/IpHelperApi.h"

namespace netinfo {

class LocalBuffer {
public:
    LocalBuffer(const IpHelperApi& api, SIZE_T bytes)
        : free_(api.localFree), memory_(api.localAlloc(LPTR, bytes))
    {
    }
    ~LocalBuffer()
    {
        if (memory_)
            free_(memory_);
    }
    LocalBuffer(const LocalBuffer&) = delete;
    LocalBuffer& operator=(const LocalBuffer&) = delete;

    explicit operator bool() const { return memory_ != nullptr; }
    template <typename T>
    T* As() const
    {
        return static_cast<T*>(memory_);
    }

private:
    HLOCAL(WINAPI* free_)(HLOCAL);
    HLOCAL memory_;
};

}  // namespace netinfo
