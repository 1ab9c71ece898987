#pragma once
// The one rule by which a watch compares two reads of a counter, for the
// interfaces' 64-bit counters and the protocol tables' 32-bit ones alike.
#include <cstdint>
#include <optional>

namespace report {

enum class CounterWidth { Bits32 = 32, Bits64 = 64 };

// A counter's total and, once there is a previous read to compare with, its
// difference and that difference per second. A reset has neither.
struct CounterChange {
    uint64_t total = 0;
    std::optional<uint64_t> delta;
    std::optional<double> rate;  // unrounded: the writers round
    bool reset = false;

    bool operator==(const CounterChange&) const = default;
};

// From the previous value (none: the first read), the current one, the
// counter's width and the nanoseconds between the two reads. A 64-bit
// counter that goes down was reset. A 32-bit one that goes down wrapped only
// when the step modulo 2^32 is below 2^31, half its range; a larger one is a
// reset too (statistics cleared, a stack restarted), not a spike of billions.
// No time between the reads gives a difference without a rate.
CounterChange Differ(std::optional<uint64_t> previous, uint64_t current, CounterWidth width, uint64_t ns);

}  // namespace report
