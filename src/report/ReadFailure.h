#pragma once
// A read that failed, as the report says it: under the page's key, the
// HRESULT of what the platform answered and the system's words for it.
#include "report/Pages.h"
#include "report/ReportModel.h"

#include <windows.h>

#include <string>

namespace report {

// "Failed to read WHAT: 0x80070490 Element not found."
ReadFailure MakeReadFailure(std::string_view page, const std::wstring& what, HRESULT code);

// A protocol table's failure, in the Statistics view's own words, then the code and its text.
ReadFailure TableReadFailure(const Page& table, HRESULT code);

// What the system says of `code`, on one line; empty when it has no text for it.
std::wstring SystemText(HRESULT code);

}  // namespace report
