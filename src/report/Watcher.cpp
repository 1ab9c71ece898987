#include "report/Watcher.h"

#include "netinfo/ProtocolStatistics.h"
#include "report/ReportBuilder.h"
#include "report/WatchClock.h"

#include <windows.h>

#include <algorithm>
#include <cmath>

namespace report {
namespace {

double Seconds(uint64_t ns)
{
    return std::round(static_cast<double>(ns) / 1e6) / 1e3;  // to the millisecond
}

// The difference per second over the time measured between the two reads,
// to the thousandth; none when no time passed.
std::optional<double> Rate(uint64_t delta, uint64_t ns)
{
    if (ns == 0)
        return std::nullopt;
    return std::round(static_cast<double>(delta) * 1e12 / static_cast<double>(ns)) / 1e3;
}

bool Matches(const InterfaceSelector& selector, const netinfo::InterfaceCounters& found)
{
    switch (selector.kind) {
    case InterfaceSelector::Kind::Index:
        return found.index == selector.number;
    case InterfaceSelector::Kind::Luid:
        return found.luid == selector.number;
    case InterfaceSelector::Kind::Alias:
        // Aliases are names people type: case does not tell two apart.
        return CompareStringOrdinal(selector.text.c_str(), static_cast<int>(selector.text.size()),
                                    found.alias.c_str(), static_cast<int>(found.alias.size()), TRUE) == CSTR_EQUAL;
    }
    return false;
}

}  // namespace

Watcher::Watcher(WatchSelection pages) : pages_(std::move(pages)) {}

Sample Watcher::Take()
{
    const WatchClock& clock = CurrentWatchClock();
    Sample sample;
    sample.number = ++taken_;
    const uint64_t begin = clock.monotonicNs();
    sample.utcFileTime = clock.utcFileTime();
    if (taken_ == 1)
        start_ = begin;
    else
        sample.elapsed = Seconds(begin - previousStart_);
    sample.sinceStart = Seconds(begin - start_);
    previousStart_ = begin;

    if (pages_.allInterfaces || !pages_.interfaces.empty())
        ReadInterfaces(sample);
    for (std::size_t i = 0; i < kProtocolCount; ++i)
        if (pages_.protocols[i])
            ReadTable(sample, i);
    return sample;
}

void Watcher::ReadInterfaces(Sample& sample)
{
    netinfo::InterfaceCountersList found;
    const HRESULT hr = netinfo::QueryInterfaceCounters(found);
    const uint64_t at = CurrentWatchClock().monotonicNs();
    if (FAILED(hr)) {
        sample.failures.push_back(MakeReadFailure("interfaces", L"the interfaces", hr));
        return;
    }

    std::vector<WatchedInterface> shown;
    std::map<uint64_t, Reading> readings;
    for (const netinfo::InterfaceCounters& read : found) {
        const auto chosen = [&](const InterfaceSelector& s) { return Matches(s, read); };
        if (!pages_.allInterfaces && std::none_of(pages_.interfaces.begin(), pages_.interfaces.end(), chosen))
            continue;
        WatchedInterface& watched = shown.emplace_back();
        watched.read = read;
        const auto previous = interfaces_.find(read.luid);
        watched.fresh = previous == interfaces_.end();
        for (std::size_t c = 0; !watched.fresh && c < read.counters.size(); ++c)
            watched.reset = watched.reset || read.counters[c] < previous->second.counters[c];
        for (std::size_t c = 0; c < read.counters.size(); ++c) {
            CounterChange& change = watched.counters[c];
            change.total = read.counters[c];
            if (watched.fresh || watched.reset)
                continue;
            change.delta = read.counters[c] - previous->second.counters[c];
            change.rate = Rate(*change.delta, at - previous->second.at);
        }
        readings[read.luid] = {at, read.counters};
    }
    for (const InterfaceSelector& selector : pages_.interfaces) {
        const auto chosen = [&](const netinfo::InterfaceCounters& read) { return Matches(selector, read); };
        if (std::none_of(found.begin(), found.end(), chosen))
            sample.failures.push_back(MakeReadFailure("interface", L"interface " + selector.text, E_INVALIDARG));
    }
    // Only what this read saw is kept: a vanished interface is forgotten,
    // and one that comes back later starts again without a rate.
    interfaces_ = std::move(readings);
    if (pages_.allInterfaces || !shown.empty())
        sample.interfaces = std::move(shown);
}

void Watcher::ReadTable(Sample& sample, std::size_t index)
{
    const ProtocolSource& source = kProtocolSources[index];
    netinfo::CounterValues values;
    const HRESULT hr = source.read(values);
    const uint64_t at = CurrentWatchClock().monotonicNs();
    if (FAILED(hr)) {
        sample.failures.push_back(ProtocolReadFailure(source, hr));
        return;
    }

    WatchedTable& table = sample.tables.emplace_back();
    table.key = source.key;
    table.title = source.title;
    std::optional<TableReading>& previous = tables_[index];
    const bool comparable = previous && previous->values.size() == values.size();
    TableReading reading{at, {}};
    for (std::size_t r = 0; r < values.size(); ++r) {
        const netinfo::CounterValue& value = values[r];
        WatchedRow& row = table.rows.emplace_back();
        row.label = value.label;
        row.kind = value.kind;
        row.change.total = value.value;
        if (comparable && value.kind == netinfo::CounterKind::Counter) {
            // The platform's counters are 32 bits wide: unsigned arithmetic
            // takes a wrap as the step it was.
            const uint32_t delta = value.value - previous->values[r];
            row.change.delta = delta;
            row.change.rate = Rate(delta, at - previous->at);
        }
        reading.values.push_back(value.value);
    }
    previous = std::move(reading);
}

}  // namespace report
