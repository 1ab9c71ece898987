#include "report/WatchSummary.h"

#include <algorithm>

namespace report {

void CounterSummary::Add(const CounterChange& change, uint64_t intervalNs)
{
    if (change.reset) {
        ++resets;
    } else if (change.delta && !change.rate) {
        ++unknown;
    } else if (change.rate) {
        ++intervals;
        difference += *change.delta;
        ns += intervalNs;
        minRate = std::min(minRate.value_or(*change.rate), *change.rate);
        maxRate = std::max(maxRate.value_or(*change.rate), *change.rate);
    }
}

std::optional<double> CounterSummary::MeanRate() const
{
    if (ns == 0)
        return std::nullopt;
    return static_cast<double>(difference) * 1e9 / static_cast<double>(ns);
}

void WatchSummary::Add(const Sample& sample)
{
    ++samples;
    sinceStartNs = sample.sinceStartNs;
    static const std::vector<WatchedInterface> kNone;
    for (const WatchedInterface& watched : sample.interfaces ? *sample.interfaces : kNone) {
        const auto same = [&](const InterfaceSummary& s) { return s.read.luid == watched.read.luid; };
        auto found = std::find_if(interfaces.begin(), interfaces.end(), same);
        if (found == interfaces.end())
            found = interfaces.insert(interfaces.end(), InterfaceSummary{watched.read});
        found->read = watched.read;
        for (std::size_t c = 0; c < watched.counters.size(); ++c)
            found->counters[c].Add(watched.counters[c], watched.intervalNs);
    }
    for (const WatchedTable& table : sample.tables) {
        const auto same = [&](const TableSummary& s) { return s.page == table.page; };
        auto found = std::find_if(tables.begin(), tables.end(), same);
        if (found == tables.end()) {
            found = tables.insert(tables.end(), TableSummary{table.page, {}});
            for (const WatchedRow& row : table.rows)
                if (row.kind == netinfo::CounterKind::Counter)
                    found->rows.push_back({row.label, {}});
        }
        for (RowSummary& summary : found->rows) {
            const auto labelled = [&](const WatchedRow& row) { return row.label == summary.label; };
            const auto row = std::find_if(table.rows.begin(), table.rows.end(), labelled);
            if (row != table.rows.end())
                summary.counter.Add(row->change, table.intervalNs);
        }
    }
}

}  // namespace report
