#pragma once
// The watch's time and its stop, behind a table that tests replace as they
// replace the IP helper: a monotonic clock for deadlines and rates, the UTC
// time for the record, and a wait that a stop request cuts short.
#include "netinfo/Seam.h"

#include <cstdint>

namespace report {

struct WatchClock {
    uint64_t (*monotonicNs)();       // never goes back; its zero means nothing
    uint64_t (*utcFileTime)();       // 100-ns units since 1601-01-01 UTC
    bool (*waitUntil)(uint64_t ns);  // until monotonicNs() reaches ns; false when a stop came first
};

const WatchClock& PlatformWatchClock();

inline const WatchClock& CurrentWatchClock()
{
    return netinfo::CurrentOr(PlatformWatchClock());
}

using WatchClockOverride = netinfo::SeamOverride<WatchClock>;

// The platform clock's stop, for the console's control handler (any thread).
// True when a watch is running to take it; false leaves the event to the
// system's default handling.
bool RequestWatchStop();
// Waits at most `ms` for the running watch, if any, to end.
void AwaitWatchEnd(uint32_t ms);

// Marks the span of a watch, so that a stop request reaches it.
class WatchScope {
public:
    WatchScope();
    ~WatchScope();
    WatchScope(const WatchScope&) = delete;
    WatchScope& operator=(const WatchScope&) = delete;
};

}  // namespace report
