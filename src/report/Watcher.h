#pragma once
// One sample of a watch after another: each reads the chosen pages through
// the same network information code as the one-shot report and compares them
// with the previous sample's. A counter's difference needs a previous read;
// a rate also needs the time between the two reads, measured, not nominal.
#include "netinfo/CounterTable.h"
#include "netinfo/InterfaceTable.h"
#include "report/ReportArguments.h"
#include "report/ReportModel.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace report {

// A counter's total and, once there is a previous read to compare with, its
// difference and that difference per second.
struct CounterChange {
    uint64_t total = 0;
    std::optional<uint64_t> delta;
    std::optional<double> rate;

    bool operator==(const CounterChange&) const = default;
};

struct WatchedInterface {
    netinfo::InterfaceCounters read;  // totals as read
    bool fresh = false;   // not seen by the previous read: the first sample, or it appeared
    bool reset = false;   // a counter went down since the previous read: it started again
    std::array<CounterChange, netinfo::kInterfaceCounterCount> counters{};
};

struct WatchedRow {
    const wchar_t* label = L"";
    netinfo::CounterKind kind = netinfo::CounterKind::Counter;
    CounterChange change;  // a gauge has its value as total and never a difference
};

struct WatchedTable {
    std::string key;
    std::wstring title;
    std::vector<WatchedRow> rows;
};

struct Sample {
    uint64_t number = 0;            // from 1
    uint64_t utcFileTime = 0;       // when the sample began
    double sinceStart = 0;          // seconds from the first sample's start
    std::optional<double> elapsed;  // seconds since the previous sample began
    std::optional<std::vector<WatchedInterface>> interfaces;  // absent: not asked for, or the read failed
    std::vector<WatchedTable> tables;
    std::vector<ReadFailure> failures;
};

class Watcher {
public:
    explicit Watcher(WatchSelection pages);

    // Reads every chosen page once; a failed read leaves its page out, adds
    // its failure and keeps the previous read for the next comparison.
    Sample Take();

private:
    struct Reading {
        uint64_t at = 0;
        std::array<uint64_t, netinfo::kInterfaceCounterCount> counters{};
    };
    struct TableReading {
        uint64_t at = 0;
        std::vector<uint32_t> values;
    };

    void ReadInterfaces(Sample& sample);
    void ReadTable(Sample& sample, std::size_t index);

    WatchSelection pages_;
    uint64_t start_ = 0;
    uint64_t previousStart_ = 0;
    uint64_t taken_ = 0;
    std::map<uint64_t, Reading> interfaces_;  // by LUID: only those of the last read
    std::array<std::optional<TableReading>, kProtocolCount> tables_;
};

}  // namespace report
