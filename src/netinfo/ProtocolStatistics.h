#pragma once
// The protocol counters of TCP, IP, UDP and ICMP as name/value rows. Each
// read calls the platform once and, on success only, appends its table's
// rows after whatever the list already holds.
#include "netinfo/NameValueRow.h"

#include <windows.h>
#include <iphlpapi.h>

namespace netinfo {

// The 13 ICMP rows of one direction.
void AppendIcmpRows(NameValueList& list, const MIBICMPSTATS& counters);

// Each read returns S_OK or, when the platform call fails, E_FAIL with the
// list untouched.
class ProtocolStatistics {
public:
    HRESULT ReadTcpStatistics(NameValueList& list) const;     // 15 rows
    HRESULT ReadIpStatistics(NameValueList& list) const;      // 23 rows
    HRESULT ReadUdpStatistics(NameValueList& list) const;     // 5 rows
    HRESULT ReadIcmpInStatistics(NameValueList& list) const;  // 13 rows
    HRESULT ReadIcmpOutStatistics(NameValueList& list) const; // 13 rows
};

// The five tables in the order the Statistics view's tabs show them, each
// with its name there.
struct ProtocolTable {
    const wchar_t* name;
    HRESULT (ProtocolStatistics::*read)(NameValueList&) const;
};

inline constexpr ProtocolTable kProtocolTables[] = {
    {L"TCP", &ProtocolStatistics::ReadTcpStatistics},
    {L"IP", &ProtocolStatistics::ReadIpStatistics},
    {L"UDP", &ProtocolStatistics::ReadUdpStatistics},
    {L"ICMP in", &ProtocolStatistics::ReadIcmpInStatistics},
    {L"ICMP out", &ProtocolStatistics::ReadIcmpOutStatistics},
};

}  // namespace netinfo
