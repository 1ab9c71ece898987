#pragma once
// What a watch saw from its first sample to its last, per watched counter:
// the intervals with a rate, their total difference and the least, mean and
// greatest rate. A reset or an interval without a rate is left out of the
// figures and counted apart.
#include "report/Watcher.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace report {

struct CounterSummary {
    uint64_t intervals = 0;   // with a rate
    uint64_t difference = 0;  // over those intervals
    uint64_t ns = 0;          // the time they took, measured
    std::optional<double> minRate, maxRate;
    uint64_t resets = 0;
    uint64_t unknown = 0;     // a difference without a rate: no time had passed

    void Add(const CounterChange& change, uint64_t intervalNs);
    // The difference over the time of the counted intervals, per second.
    std::optional<double> MeanRate() const;
};

struct InterfaceSummary {
    netinfo::InterfaceCounters read;  // as last read
    std::array<CounterSummary, netinfo::kInterfaceCounterCount> counters{};
};

struct RowSummary {
    const wchar_t* label = L"";
    CounterSummary counter;
};

struct TableSummary {
    const Page* page = nullptr;
    std::vector<RowSummary> rows;  // its counters, not its gauges
};

class WatchSummary {
public:
    void Add(const Sample& sample);

    uint64_t samples = 0;
    uint64_t sinceStartNs = 0;  // the last sample's
    std::vector<InterfaceSummary> interfaces;  // in the order they first appeared
    std::vector<TableSummary> tables;
};

}  // namespace report
