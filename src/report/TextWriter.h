#pragma once
// The report as readable UTF-8 text: a heading per page, then its lines
// indented; rows as "label:" and the value, in aligned columns.
#include "report/ReportModel.h"

#include <string>

namespace report {

std::string WriteText(const Report& report);

// The failures, one line each, for standard error.
std::string WriteFailures(const Report& report);

}  // namespace report
