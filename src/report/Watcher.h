#pragma once
// One sample of a watch after another: read the chosen pages, compare each
// counter with its previous read by the one difference rule, and hand the
// sample to a writer. Rates take the time measured between the two reads,
// not the nominal interval; numbers stay unrounded until a writer shows them.
#include "netinfo/CounterTable.h"
#include "netinfo/InterfaceTable.h"
#include "report/Difference.h"
#include "report/ReportArguments.h"
#include "report/ReportModel.h"
#include "report/WatchClock.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace report {

struct WatchedInterface {
    netinfo::InterfaceCounters read;  // totals as read
    bool fresh = false;   // not seen by the previous read: the first sample, or it appeared
    bool reset = false;   // a counter went down since the previous read: it started again
    uint64_t intervalNs = 0;  // since the read it was compared with
    std::array<CounterChange, netinfo::kInterfaceCounterCount> counters{};
};

struct WatchedRow {
    const wchar_t* label = L"";
    netinfo::CounterKind kind = netinfo::CounterKind::Counter;
    CounterChange change;  // a gauge has its value as total and never a difference
};

struct WatchedTable {
    const Page* page = nullptr;
    uint64_t intervalNs = 0;  // since the read it was compared with
    std::vector<WatchedRow> rows;
};

struct Sample {
    uint64_t number = 0;                 // from 1
    uint64_t utcFileTime = 0;            // when the sample began
    uint64_t sinceStartNs = 0;           // from the first sample's start
    std::optional<uint64_t> elapsedNs;   // since the previous sample began
    std::optional<std::vector<WatchedInterface>> interfaces;  // absent: not asked for, or the read failed
    std::vector<WatchedTable> tables;
    std::vector<ReadFailure> failures;
};

class Watcher {
public:
    Watcher(PageSelection pages, InterfaceFilter filter, const WatchClock& clock);

    // Reads every chosen page once; a failed read leaves its page out, adds
    // its failure and keeps the previous read for the next comparison.
    Sample Take();

private:
    struct Reading {
        uint64_t at = 0;
        std::vector<uint64_t> values;
    };

    void WatchInterfaces(Sample& sample);
    void WatchTable(Sample& sample, std::size_t page);

    PageSelection pages_;
    InterfaceFilter filter_;
    const WatchClock& clock_;
    uint64_t start_ = 0;
    uint64_t previousStart_ = 0;
    uint64_t taken_ = 0;
    std::map<uint64_t, Reading> interfaces_;  // by LUID: those the last good read showed
    std::array<std::optional<Reading>, kPageCount> tables_;
};

// The interfaces of a read that a page shows: every one the filter keeps
// or, with selectors, each that one of them names; then the failure of each
// selector that named none.
std::vector<netinfo::InterfaceCounters> ChooseInterfaces(const netinfo::InterfaceCountersList& found,
                                                         const PageSelection& pages, const InterfaceFilter& filter,
                                                         std::vector<ReadFailure>& failures);

}  // namespace report
