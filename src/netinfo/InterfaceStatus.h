#pragma once
// The "Status" rows of one interface, from the MIB_IFROW that GetIfEntry
// filled. No platform call of its own.
#include "netinfo/CounterTable.h"
#include "netinfo/NameValueRow.h"
#include "netinfo/NetworkInfo.h"

namespace netinfo {

// Appends 14 rows after whatever the list holds; always S_OK.
HRESULT AppendInterfaceStatusRows(const InterfaceRecord& record, NameValueList& list);

// The same 14 rows as numbers, for the report.
void AppendInterfaceStatusValues(const InterfaceRecord& record, CounterValues& values);

}  // namespace netinfo
