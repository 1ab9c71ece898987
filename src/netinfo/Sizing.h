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

// A failure in the platform's own words where it gave some: the HRESULT of
// its error code, else `result` as it is.
inline HRESULT PlatformResult(HRESULT result, DWORD answer)
{
    return FAILED(result) && answer != NO_ERROR ? HRESULT_FROM_WIN32(answer) : result;
}

// E_UNEXPECTED for a wrong probe answer, E_OUTOFMEMORY, E_FAIL for a failed
// fill; S_OK after `build`. A fill that answers `expectedProbe` again (the
// list grew since the probe) is tried again with the size it gave, at most
// `regrowths` times. On a failure `answer`, when given, gets what the
// platform answered (ERROR_OUTOFMEMORY for the local heap).
template <typename T, typename Call, typename Build>
HRESULT ProbeAllocateFill(const IpHelperApi& api, DWORD expectedProbe, SIZE_T minimumBytes, int regrowths, Call call,
                          Build build, DWORD* answer = nullptr)
{
    const auto fail = [answer](HRESULT result, DWORD said) {
        if (answer)
            *answer = said;
        return result;
    };
    ULONG length = 0;
    if (const DWORD probe = call(static_cast<T*>(nullptr), &length); probe != expectedProbe)
        return fail(E_UNEXPECTED, probe);

    for (int attempt = 0;; ++attempt) {
        // A probe that stores less than the fixed part of the structure cannot
        // be filled honestly; the block is made no smaller than that part so
        // that reading it never leaves the block whatever the platform answers.
        const ULONG given = length;
        const SIZE_T bytes = std::max<SIZE_T>(given, minimumBytes);
        LocalBuffer buffer(api, bytes);
        if (!buffer)
            return fail(E_OUTOFMEMORY, ERROR_OUTOFMEMORY);
        const DWORD filled = call(buffer.As<T>(), &length);
        if (filled == expectedProbe && attempt < regrowths)
            continue;
        if (filled != NO_ERROR)
            return fail(E_FAIL, filled);
        const Block block{buffer.As<const BYTE>(), buffer.As<const BYTE>() + bytes};
        build(*buffer.As<const T>(), given, block);
        return S_OK;
    }
}

}  // namespace netinfo
