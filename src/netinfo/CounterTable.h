#pragma once
// A row table: the label of each row and the platform field it shows, in the
// order the rows are appended.
#include "netinfo/NameValueRow.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace netinfo {

// A counter only grows (and wraps); a gauge or a setting is a figure as it
// is now, which a difference between two reads would make meaningless.
enum class CounterKind { Counter, Gauge };

template <typename Counters>
struct CounterField {
    const wchar_t* label;
    DWORD Counters::*field;
    CounterKind kind = CounterKind::Counter;
};

// One row of a table as a number, for the report.
struct CounterValue {
    const wchar_t* label;
    uint32_t value;
    CounterKind kind;

    bool operator==(const CounterValue&) const = default;
};

using CounterValues = std::vector<CounterValue>;

template <typename Counters, std::size_t Count>
void AppendCounters(CounterValues& values, const Counters& counters, const CounterField<Counters> (&table)[Count])
{
    for (const CounterField<Counters>& entry : table)
        values.push_back({entry.label, counters.*entry.field, entry.kind});
}

template <typename Counters, std::size_t Count>
void AppendCounterRows(NameValueList& list, const Counters& counters, const CounterField<Counters> (&table)[Count])
{
    for (const CounterField<Counters>& entry : table)
        list.push_back(MakeCounterRow(entry.label, counters.*entry.field));
}

}  // namespace netinfo
