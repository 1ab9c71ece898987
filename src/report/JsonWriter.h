#pragma once
// The report in JSON, UTF-8, as docs/report-schema.md describes it: one
// document for the pages (a member per page that was read, counters as
// unsigned integers, "errors" when a read failed), or one line per sample of
// a watch.
#include "report/ReportModel.h"
#include "report/WatchSummary.h"
#include "report/Watcher.h"

#include <string>

namespace report {

// MAJOR.MINOR: the minor part grows with every key added, the major part
// when a key is renamed or removed or its type or unit changes.
inline constexpr char kSchemaVersion[] = "1.3";

std::string WriteJson(const Report& report);

// One sample as one line of JSON, ending in "\n".
std::string WriteSampleJson(const Sample& sample);

// The closing line of a watch, "type": "summary".
std::string WriteSummaryJson(const WatchSummary& summary);

}  // namespace report
