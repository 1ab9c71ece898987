#pragma once
// The sizing protocol of every variable-size query: a probe with a null
// buffer and a zero length must give `expectedProbe` and store the size; one
// zero-filled block of that size is filled by a second call and freed on
// every path. `build` gets the filled structure, the length the filling call
// was given and the block it filled.
#include "netinfo/ChainWalk.h"
#include "netinfo/IpHelperApi.h"
#include "netinfo/LocalBuffer.h"

#include <algorithm>

namespace netinfo {

// The queries of the views do not retry: a list that grew after the probe
// is a failure.
inline constexpr int kNoRegrowth = 0;

// E_UNEXPECTED for a wrong probe answer, E_OUTOFMEMORY, E_FAIL for a failed
// fill; S_OK after `build`. A fill that answers `expectedProbe` again (the
// list grew since the probe) is tried again with the size it gave, at most
// `regrowths` times.
template <typename T, typename Call, typename Build>
HRESULT ProbeAllocateFill(const IpHelperApi& api, DWORD expectedProbe, SIZE_T minimumBytes, int regrowths, Call call,
                          Build build)
{
    ULONG length = 0;
    if (call(static_cast<T*>(nullptr), &length) != expectedProbe)
        return E_UNEXPECTED;

    for (int attempt = 0;; ++attempt) {
        // A probe that stores less than the fixed part of the structure cannot
        // be filled honestly; the block is made no smaller than that part so
        // that reading it never leaves the block whatever the platform answers.
        const ULONG given = length;
        const SIZE_T bytes = std::max<SIZE_T>(given, minimumBytes);
        LocalBuffer buffer(api, bytes);
        if (!buffer)
            return E_OUTOFMEMORY;
        const DWORD answer = call(buffer.As<T>(), &length);
        if (answer == expectedProbe && attempt < regrowths)
            continue;
        if (answer != NO_ERROR)
            return E_FAIL;
        const Block block{buffer.As<const BYTE>(), buffer.As<const BYTE>() + bytes};
        build(*buffer.As<const T>(), given, block);
        return S_OK;
    }
}

}  // namespace netinfo
