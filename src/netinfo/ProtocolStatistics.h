#pragma once
// The protocol counters of TCP, IP, UDP and ICMP, as numbers for the report
// and as name/value rows for the Statistics view. Each read calls the
// platform once and, on success only, appends its table after whatever the
// list already holds.
#include "netinfo/CounterTable.h"
#include "netinfo/NameValueRow.h"

#include <windows.h>

namespace netinfo {

// What the Statistics view and the report both say when a read fails.
inline constexpr wchar_t kStatisticsReadFailed[] = L"Failed to retrieve statistics";

// Each read returns S_OK or, when the platform call fails, the HRESULT of its
// answer with the list untouched. The views' reads below say E_FAIL for every
// failure.
HRESULT ReadTcpCounters(CounterValues& values);     // 15 rows
HRESULT ReadIpCounters(CounterValues& values);      // 23 rows
HRESULT ReadUdpCounters(CounterValues& values);     // 5 rows
HRESULT ReadIcmpInCounters(CounterValues& values);  // 13 rows
HRESULT ReadIcmpOutCounters(CounterValues& values); // 13 rows

// The same for IPv6, with the rows and labels of IPv4, but for ICMPv6:
// messages, errors and one row per message type.
HRESULT ReadTcp6Counters(CounterValues& values);     // 15 rows
HRESULT ReadIp6Counters(CounterValues& values);      // 23 rows
HRESULT ReadUdp6Counters(CounterValues& values);     // 5 rows
HRESULT ReadIcmp6InCounters(CounterValues& values);  // 16 rows
HRESULT ReadIcmp6OutCounters(CounterValues& values); // 16 rows

// The same tables as rows of plain decimal text.
class ProtocolStatistics {
public:
    HRESULT ReadTcpStatistics(NameValueList& list) const;
    HRESULT ReadIpStatistics(NameValueList& list) const;
    HRESULT ReadUdpStatistics(NameValueList& list) const;
    HRESULT ReadIcmpInStatistics(NameValueList& list) const;
    HRESULT ReadIcmpOutStatistics(NameValueList& list) const;
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
