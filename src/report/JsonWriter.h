#pragma once
// The report as one JSON document in UTF-8: a member per page that was read
// ("summary", "adapters", "interfaces", "tcp", "ip", "udp", "icmp-in",
// "icmp-out"), counters as unsigned integers, and "errors" when a read failed.
#include "report/ReportModel.h"

#include <string>
#include <string_view>

std::string WriteJson(const Report& report);

// A JSON string literal: quotes, backslashes and control characters escaped,
// everything else as UTF-8.
std::string JsonQuote(std::wstring_view text);
