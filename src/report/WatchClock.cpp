#include "report/WatchClock.h"

#include <windows.h>

#include <atomic>

namespace report {
namespace {

// Manual-reset events: `stop` once asked for, `ended` once the watch is over.
struct Signals {
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE ended = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    std::atomic<bool> watching{false};
};

Signals& TheSignals()
{
    static Signals signals;
    return signals;
}

uint64_t PlatformMonotonicNs()
{
    static const uint64_t frequency = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return static_cast<uint64_t>(f.QuadPart);
    }();
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    const auto ticks = static_cast<uint64_t>(now.QuadPart);
    // In two parts, so that the product cannot overflow in the counter's lifetime.
    return ticks / frequency * 1'000'000'000 + ticks % frequency * 1'000'000'000 / frequency;
}

uint64_t PlatformUtcFileTime()
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return static_cast<uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
}

bool PlatformWaitUntil(uint64_t deadline)
{
    Signals& signals = TheSignals();
    for (uint64_t now = PlatformMonotonicNs(); now < deadline; now = PlatformMonotonicNs()) {
        // Rounded up: a wait that ends early only goes round again.
        const uint64_t ms = (deadline - now + 999'999) / 1'000'000;
        const DWORD wait = ms >= INFINITE ? INFINITE - 1 : static_cast<DWORD>(ms);
        if (signals.stop ? WaitForSingleObject(signals.stop, wait) == WAIT_OBJECT_0 : (Sleep(wait), false))
            return false;
    }
    return !(signals.stop && WaitForSingleObject(signals.stop, 0) == WAIT_OBJECT_0);
}

}  // namespace

const WatchClock& PlatformWatchClock()
{
    static const WatchClock platform{PlatformMonotonicNs, PlatformUtcFileTime, PlatformWaitUntil};
    return platform;
}

bool RequestWatchStop()
{
    Signals& signals = TheSignals();
    if (!signals.watching || !signals.stop)
        return false;
    SetEvent(signals.stop);
    return true;
}

void AwaitWatchEnd(uint32_t ms)
{
    if (HANDLE ended = TheSignals().ended)
        WaitForSingleObject(ended, ms);
}

WatchScope::WatchScope()
{
    Signals& signals = TheSignals();
    if (signals.ended)
        ResetEvent(signals.ended);
    signals.watching = true;
}

WatchScope::~WatchScope()
{
    Signals& signals = TheSignals();
    signals.watching = false;
    if (signals.ended)
        SetEvent(signals.ended);
}

}  // namespace report
