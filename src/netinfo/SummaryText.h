// The Summary page's text, composed from the network settings alone.
#pragma once

#include "netinfo/NetworkInfo.h"

#include <string>

// "Host: ...", "Domain: ..." and, when the list has any entry, "DNS servers: "
// with every non-empty server followed by ", "; each line ends in CR LF.
std::wstring ComposeSummaryText(const NetworkParams& params);
