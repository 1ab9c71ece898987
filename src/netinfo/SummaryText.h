// The Summary page's text, composed from the network settings alone, for
// the Summary view and the report.
#pragma once

#include "netinfo/NetworkInfo.h"

#include <string>

namespace netinfo {

// "Host: ...", "Domain: ..." and, when the list has any entry, "DNS servers: "
// with every non-empty server followed by ", "; each line ends in CR LF.
std::wstring ComposeSummaryText(const NetworkParams& params);

}  // namespace netinfo
