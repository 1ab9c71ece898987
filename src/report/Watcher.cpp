#include "report/Watcher.h"

#include "report/ReadFailure.h"

#include <windows.h>

#include <algorithm>

namespace report {
namespace {

InterfaceIdentity Identity(const netinfo::InterfaceCounters& read)
{
    return {read.luid, read.index, read.alias, read.operStatus == IfOperStatusUp};
}

// Every counter of an interface by the rule; one reset makes the whole
// interface start again, so that no rate of it mixes two lives.
WatchedInterface Compare(const netinfo::InterfaceCounters& read, const std::vector<uint64_t>* previous, uint64_t ns)
{
    WatchedInterface watched{read, previous == nullptr, false, ns};
    for (std::size_t c = 0; c < read.counters.size(); ++c) {
        const std::optional<uint64_t> before = previous ? std::optional((*previous)[c]) : std::nullopt;
        watched.counters[c] = Differ(before, read.counters[c], CounterWidth::Bits64, ns);
        watched.reset = watched.reset || watched.counters[c].reset;
    }
    if (watched.reset)
        for (CounterChange& change : watched.counters)
            change = {change.total, std::nullopt, std::nullopt, true};
    return watched;
}

}  // namespace

std::vector<netinfo::InterfaceCounters> ChooseInterfaces(const netinfo::InterfaceCountersList& found,
                                                         const PageSelection& pages, const InterfaceFilter& filter,
                                                         std::vector<ReadFailure>& failures)
{
    const bool every = pages.Has("interfaces");
    std::vector<netinfo::InterfaceCounters> chosen;
    for (const netinfo::InterfaceCounters& read : found) {
        const auto named = [&](const InterfaceSelector& s) { return Matches(s, Identity(read)); };
        if ((every || std::any_of(pages.interfaces.begin(), pages.interfaces.end(), named)) &&
            filter.Keeps(Identity(read)))
            chosen.push_back(read);
    }
    for (const InterfaceSelector& selector : pages.interfaces) {
        const auto named = [&](const netinfo::InterfaceCounters& read) { return Matches(selector, Identity(read)); };
        if (std::none_of(found.begin(), found.end(), named))
            failures.push_back(MakeReadFailure("interface", L"interface " + selector.text, E_INVALIDARG));
    }
    return chosen;
}

Watcher::Watcher(PageSelection pages, InterfaceFilter filter, const WatchClock& clock)
    : pages_(std::move(pages)), filter_(std::move(filter)), clock_(clock)
{
}

Sample Watcher::Take()
{
    Sample sample;
    sample.number = ++taken_;
    const uint64_t begin = clock_.monotonicNs();
    sample.utcFileTime = clock_.utcFileTime();
    if (taken_ == 1)
        start_ = begin;
    else
        sample.elapsedNs = begin - previousStart_;
    sample.sinceStartNs = begin - start_;
    previousStart_ = begin;

    if (pages_.Has("interfaces") || !pages_.interfaces.empty())
        WatchInterfaces(sample);
    for (std::size_t i = 0; i < kPageCount; ++i)
        if (pages_.chosen[i] && kPages[i].kind == PageKind::Table)
            WatchTable(sample, i);
    return sample;
}

void Watcher::WatchInterfaces(Sample& sample)
{
    netinfo::InterfaceCountersList found;
    const HRESULT hr = netinfo::QueryInterfaceCounters(found);
    const uint64_t at = clock_.monotonicNs();
    if (FAILED(hr)) {
        sample.failures.push_back(MakeReadFailure("interfaces", L"the interfaces", hr));
        return;
    }
    std::vector<WatchedInterface> shown;
    std::map<uint64_t, Reading> readings;
    for (const netinfo::InterfaceCounters& read : ChooseInterfaces(found, pages_, filter_, sample.failures)) {
        // By LUID: an index the platform gives to another interface is not the old one's.
        const auto previous = interfaces_.find(read.luid);
        const bool known = previous != interfaces_.end();
        shown.push_back(Compare(read, known ? &previous->second.values : nullptr, known ? at - previous->second.at : 0));
        readings[read.luid] = {at, {read.counters.begin(), read.counters.end()}};
    }
    // Only what this read showed is kept: one that vanished and comes back
    // later starts again as new.
    interfaces_ = std::move(readings);
    if (pages_.Has("interfaces") || !shown.empty())
        sample.interfaces = std::move(shown);
}

void Watcher::WatchTable(Sample& sample, std::size_t page)
{
    const Page& source = kPages[page];
    netinfo::CounterValues values;
    const HRESULT hr = source.readTable(values);
    const uint64_t at = clock_.monotonicNs();
    if (FAILED(hr)) {
        sample.failures.push_back(TableReadFailure(source, hr));
        return;
    }
    std::optional<Reading>& previous = tables_[page];
    const bool comparable = previous && previous->values.size() == values.size();
    WatchedTable& table = sample.tables.emplace_back(WatchedTable{&source, comparable ? at - previous->at : 0, {}});
    Reading reading{at, {}};
    for (std::size_t r = 0; r < values.size(); ++r) {
        const netinfo::CounterValue& value = values[r];
        const bool counter = comparable && value.kind == netinfo::CounterKind::Counter;
        table.rows.push_back({value.label, value.kind,
                              Differ(counter ? std::optional(previous->values[r]) : std::nullopt, value.value,
                                     CounterWidth::Bits32, at - (comparable ? previous->at : at))});
        reading.values.push_back(value.value);
    }
    previous = std::move(reading);
}

}  // namespace report
