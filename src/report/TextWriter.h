#pragma once
// The report as readable UTF-8 text: a heading per page, then its lines
// indented; rows as "label:" and the value, in aligned columns.
#include "report/ReportModel.h"
#include "report/WatchSummary.h"
#include "report/Watcher.h"

#include <string>

namespace report {

std::string WriteText(const Report& report);

// The failures, one line each, for standard error.
std::string WriteFailures(const std::vector<ReadFailure>& failures);

// One sample of a watch as a block: a header line with the time, then a line
// per interface (rates in human units) and a line per protocol row.
std::string WriteSampleText(const Sample& sample);

// The closing block of a watch: per interface its bytes, per table its
// counters, each with its intervals, difference and rates.
std::string WriteSummaryText(const WatchSummary& summary);

// The share of its link an interface's octets used over the interval, 0 to
// 1; none where the link speed is not known or there is no rate.
std::optional<double> LinkUse(const WatchedInterface& watched, netinfo::InterfaceCounter octets);

// A FILETIME count as ISO 8601 UTC to the millisecond: 2026-12-07T10:15:03.123Z.
std::string IsoUtc(uint64_t fileTime);

}  // namespace report
