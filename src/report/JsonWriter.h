#pragma once
// The report as one JSON document in UTF-8: a member per page that was read
// ("summary", "adapters", "interfaces", "tcp", "ip", "udp", "icmp-in",
// "icmp-out"), counters as unsigned integers, and "errors" when a read failed.
#include "report/ReportModel.h"

#include <string>

namespace report {

std::string WriteJson(const Report& report);

}  // namespace report
