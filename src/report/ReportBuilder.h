#pragma once
// Reads the chosen pages through the same network information code as the
// views, into the report model. Each read that fails leaves its page out and
// adds one failure; the other pages are read all the same.
#include "report/ReportArguments.h"
#include "report/ReportModel.h"

#include <windows.h>

#include <string>

namespace report {

Report BuildReport(const PageSelection& pages);

// "Failed to read WHAT: 0x80004005", under the page's key.
ReadFailure MakeReadFailure(std::string page, const std::wstring& what, HRESULT code);
// A protocol table's failure, in the Statistics view's own words.
ReadFailure ProtocolReadFailure(const ProtocolSource& source, HRESULT code);

}  // namespace report
