#pragma once
// Reads the chosen pages through the same network information code as the
// views, into the report model. Each read that fails leaves its page out and
// adds one failure; the other pages are read all the same.
#include "report/ReportArguments.h"
#include "report/ReportModel.h"

namespace report {

Report BuildReport(const PageSelection& pages, const InterfaceFilter& filter);

}  // namespace report
