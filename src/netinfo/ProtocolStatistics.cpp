#include "netinfo/ProtocolStatistics.h"

#include "netinfo/CounterTable.h"
#include "netinfo/IpHelperApi.h"
#include "netinfo/Sizing.h"

namespace netinfo {

namespace {

constexpr CounterKind kGauge = CounterKind::Gauge;

// Every table takes its structure's fields in the structure's own order.
// Settings and codes show as bare numbers like the counters; they, the
// current connections and the sizes of tables are gauges, not counters.
const CounterField<MIB_TCPSTATS> kTcpRows[] = {
    {L"Timeout algorithm", &MIB_TCPSTATS::dwRtoAlgorithm, kGauge},
    {L"minimum time-out", &MIB_TCPSTATS::dwRtoMin, kGauge},
    {L"maximum time-out", &MIB_TCPSTATS::dwRtoMax, kGauge},
    {L"maximum connections", &MIB_TCPSTATS::dwMaxConn, kGauge},
    {L"active opens", &MIB_TCPSTATS::dwActiveOpens},
    {L"passive opens", &MIB_TCPSTATS::dwPassiveOpens},
    {L"failed attempts", &MIB_TCPSTATS::dwAttemptFails},
    {L"established connections reset", &MIB_TCPSTATS::dwEstabResets},
    {L"established connections", &MIB_TCPSTATS::dwCurrEstab, kGauge},
    {L"segments received", &MIB_TCPSTATS::dwInSegs},
    {L"segment sent", &MIB_TCPSTATS::dwOutSegs},
    {L"segments retransmitted", &MIB_TCPSTATS::dwRetransSegs},
    {L"incoming errors", &MIB_TCPSTATS::dwInErrs},
    {L"outgoing resets", &MIB_TCPSTATS::dwOutRsts},
    {L"cumulative connections", &MIB_TCPSTATS::dwNumConns, kGauge},
};

const CounterField<MIB_IPSTATS> kIpRows[] = {
    {L"IP forwarding enabled or disabled", &MIB_IPSTATS::dwForwarding, kGauge},
    {L"default time-to-live", &MIB_IPSTATS::dwDefaultTTL, kGauge},
    {L"datagrams received", &MIB_IPSTATS::dwInReceives},
    {L"received header errors", &MIB_IPSTATS::dwInHdrErrors},
    {L"received address errors", &MIB_IPSTATS::dwInAddrErrors},
    {L"datagrams forwarded", &MIB_IPSTATS::dwForwDatagrams},
    {L"datagrams with unknown protocol", &MIB_IPSTATS::dwInUnknownProtos},
    {L"received datagrams discarded", &MIB_IPSTATS::dwInDiscards},
    {L"received datagrams delivered", &MIB_IPSTATS::dwInDelivers},
    {L"outgoing datagrams", &MIB_IPSTATS::dwOutRequests},
    {L"discarded outgoing datagrams", &MIB_IPSTATS::dwRoutingDiscards},
    {L"sent datagrams discarded", &MIB_IPSTATS::dwOutDiscards},
    {L"datagrams for which no route", &MIB_IPSTATS::dwOutNoRoutes},
    // The reassembly time-out itself, not a count of datagrams.
    {L"datagrams for which all frags didn't arrive", &MIB_IPSTATS::dwReasmTimeout, kGauge},
    {L"datagrams requiring reassembly", &MIB_IPSTATS::dwReasmReqds},
    {L"successful reassemblies", &MIB_IPSTATS::dwReasmOks},
    {L"failed reassemblies", &MIB_IPSTATS::dwReasmFails},
    {L"successful fragmentations", &MIB_IPSTATS::dwFragOks},
    {L"failed fragmentations", &MIB_IPSTATS::dwFragFails},
    {L"datagrams fragmented", &MIB_IPSTATS::dwFragCreates},
    {L"number of interfaces on computer", &MIB_IPSTATS::dwNumIf, kGauge},
    {L"number of IP address on computer", &MIB_IPSTATS::dwNumAddr, kGauge},
    {L"number of routes in routing table", &MIB_IPSTATS::dwNumRoutes, kGauge},
};

const CounterField<MIB_UDPSTATS> kUdpRows[] = {
    {L"received datagrams", &MIB_UDPSTATS::dwInDatagrams},
    {L"datagrams for which no port", &MIB_UDPSTATS::dwNoPorts},
    {L"errors on received datagrams", &MIB_UDPSTATS::dwInErrors},
    {L"sent datagrams", &MIB_UDPSTATS::dwOutDatagrams},
    {L"number of entries in UDP listener table", &MIB_UDPSTATS::dwNumAddrs, kGauge},
};

const CounterField<MIBICMPSTATS> kIcmpRows[] = {
    {L"number of messages", &MIBICMPSTATS::dwMsgs},
    {L"number of errors", &MIBICMPSTATS::dwErrors},
    {L"destination unreachable messages", &MIBICMPSTATS::dwDestUnreachs},
    {L"time-to-live exceeded messages", &MIBICMPSTATS::dwTimeExcds},
    {L"parameter problem messages", &MIBICMPSTATS::dwParmProbs},
    {L"source quench messages", &MIBICMPSTATS::dwSrcQuenchs},
    {L"redirection messages", &MIBICMPSTATS::dwRedirects},
    {L"echo requests", &MIBICMPSTATS::dwEchos},
    {L"echo replies", &MIBICMPSTATS::dwEchoReps},
    {L"time-stamp requests", &MIBICMPSTATS::dwTimestamps},
    {L"time-stamp replies", &MIBICMPSTATS::dwTimestampReps},
    {L"address mask requests", &MIBICMPSTATS::dwAddrMasks},
    {L"address mask replies", &MIBICMPSTATS::dwAddrMaskReps},
};

// The rows of ICMPv6 after its messages and errors: one per message type
// the table counts, by type number.
struct IcmpTypeRow {
    const wchar_t* label;
    BYTE type;
};

const IcmpTypeRow kIcmp6TypeRows[] = {
    {L"destination unreachable messages", 1},
    {L"packet too big messages", 2},
    {L"time exceeded messages", 3},
    {L"parameter problem messages", 4},
    {L"echo requests", 128},
    {L"echo replies", 129},
    {L"multicast listener queries", 130},
    {L"multicast listener reports", 131},
    {L"multicast listener done messages", 132},
    {L"router solicitations", 133},
    {L"router advertisements", 134},
    {L"neighbor solicitations", 135},
    {L"neighbor advertisements", 136},
    {L"redirection messages", 137},
};

// The four steps every read shares: one platform call into a zero-filled
// structure, its answer as an HRESULT with the list untouched when it fails,
// else the values of the protocol's table.
template <typename Stats, std::size_t Count, typename Get>
HRESULT ReadCounters(Get get, CounterValues& values, const CounterField<Stats> (&table)[Count])
{
    Stats stats{};
    if (const DWORD answer = get(&stats); answer != NO_ERROR)
        return PlatformResult(E_FAIL, answer);
    AppendCounters(values, stats, table);
    return S_OK;
}

// Both ICMP reads call the platform themselves; they differ only in the half
// of MIB_ICMP they show.
template <MIBICMPSTATS MIBICMPINFO::*Half>
HRESULT ReadIcmpCounters(CounterValues& values)
{
    MIB_ICMP stats{};
    if (const DWORD answer = CurrentIpHelperApi().getIcmpStatistics(&stats); answer != NO_ERROR)
        return PlatformResult(E_FAIL, answer);
    AppendCounters(values, stats.stats.*Half, kIcmpRows);
    return S_OK;
}

template <MIBICMPSTATS_EX MIB_ICMP_EX::*Half>
HRESULT ReadIcmp6Counters(CounterValues& values)
{
    MIB_ICMP_EX stats{};
    if (const DWORD answer = CurrentIpHelperApi().getIcmpStatisticsEx(&stats, AF_INET6); answer != NO_ERROR)
        return PlatformResult(E_FAIL, answer);
    const MIBICMPSTATS_EX& half = stats.*Half;
    values.push_back({L"number of messages", half.dwMsgs, CounterKind::Counter});
    values.push_back({L"number of errors", half.dwErrors, CounterKind::Counter});
    for (const IcmpTypeRow& row : kIcmp6TypeRows)
        values.push_back({row.label, half.rgdwTypeCount[row.type], CounterKind::Counter});
    return S_OK;
}

// The view learns only that the read failed, never why.
HRESULT AsRows(HRESULT (*read)(CounterValues&), NameValueList& list)
{
    CounterValues values;
    if (FAILED(read(values)))
        return E_FAIL;
    for (const CounterValue& value : values)
        list.push_back(MakeCounterRow(value.label, value.value));
    return S_OK;
}

}  // namespace

HRESULT ReadTcpCounters(CounterValues& values)
{
    const auto read = [](MIB_TCPSTATS* stats) { return CurrentIpHelperApi().getTcpStatistics(stats); };
    return ReadCounters(read, values, kTcpRows);
}

HRESULT ReadIpCounters(CounterValues& values)
{
    const auto read = [](MIB_IPSTATS* stats) { return CurrentIpHelperApi().getIpStatistics(stats); };
    return ReadCounters(read, values, kIpRows);
}

HRESULT ReadUdpCounters(CounterValues& values)
{
    const auto read = [](MIB_UDPSTATS* stats) { return CurrentIpHelperApi().getUdpStatistics(stats); };
    return ReadCounters(read, values, kUdpRows);
}

HRESULT ReadIcmpInCounters(CounterValues& values)
{
    return ReadIcmpCounters<&MIBICMPINFO::icmpInStats>(values);
}

HRESULT ReadIcmpOutCounters(CounterValues& values)
{
    return ReadIcmpCounters<&MIBICMPINFO::icmpOutStats>(values);
}

// IPv6 has the same tables, but for ICMP, whose types differ.
HRESULT ReadTcp6Counters(CounterValues& values)
{
    const auto read = [](MIB_TCPSTATS* stats) { return CurrentIpHelperApi().getTcpStatisticsEx(stats, AF_INET6); };
    return ReadCounters(read, values, kTcpRows);
}

HRESULT ReadIp6Counters(CounterValues& values)
{
    const auto read = [](MIB_IPSTATS* stats) { return CurrentIpHelperApi().getIpStatisticsEx(stats, AF_INET6); };
    return ReadCounters(read, values, kIpRows);
}

HRESULT ReadUdp6Counters(CounterValues& values)
{
    const auto read = [](MIB_UDPSTATS* stats) { return CurrentIpHelperApi().getUdpStatisticsEx(stats, AF_INET6); };
    return ReadCounters(read, values, kUdpRows);
}

HRESULT ReadIcmp6InCounters(CounterValues& values)
{
    return ReadIcmp6Counters<&MIB_ICMP_EX::icmpInStats>(values);
}

HRESULT ReadIcmp6OutCounters(CounterValues& values)
{
    return ReadIcmp6Counters<&MIB_ICMP_EX::icmpOutStats>(values);
}

HRESULT ProtocolStatistics::ReadTcpStatistics(NameValueList& list) const
{
    return AsRows(ReadTcpCounters, list);
}

HRESULT ProtocolStatistics::ReadIpStatistics(NameValueList& list) const
{
    return AsRows(ReadIpCounters, list);
}

HRESULT ProtocolStatistics::ReadUdpStatistics(NameValueList& list) const
{
    return AsRows(ReadUdpCounters, list);
}

HRESULT ProtocolStatistics::ReadIcmpInStatistics(NameValueList& list) const
{
    return AsRows(ReadIcmpInCounters, list);
}

HRESULT ProtocolStatistics::ReadIcmpOutStatistics(NameValueList& list) const
{
    return AsRows(ReadIcmpOutCounters, list);
}

}  // namespace netinfo
