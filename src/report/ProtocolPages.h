#pragma once
// The protocol tables the report prints, in the order it prints them: the
// Statistics view's five tabs, under their names there, then the same for
// IPv6.
#include "netinfo/ProtocolStatistics.h"

#include <cstddef>
#include <iterator>
#include <string_view>

namespace report {

struct ProtocolSource {
    std::string_view key;  // argument and JSON member
    const wchar_t* title;  // heading in text
    HRESULT (*read)(netinfo::CounterValues&);
};

inline constexpr ProtocolSource kProtocolSources[] = {
    {"tcp", netinfo::kProtocolTables[0].name, netinfo::ReadTcpCounters},
    {"ip", netinfo::kProtocolTables[1].name, netinfo::ReadIpCounters},
    {"udp", netinfo::kProtocolTables[2].name, netinfo::ReadUdpCounters},
    {"icmp-in", netinfo::kProtocolTables[3].name, netinfo::ReadIcmpInCounters},
    {"icmp-out", netinfo::kProtocolTables[4].name, netinfo::ReadIcmpOutCounters},
    {"tcp6", L"TCPv6", netinfo::ReadTcp6Counters},
    {"ip6", L"IPv6", netinfo::ReadIp6Counters},
    {"udp6", L"UDPv6", netinfo::ReadUdp6Counters},
    {"icmp6-in", L"ICMPv6 in", netinfo::ReadIcmp6InCounters},
    {"icmp6-out", L"ICMPv6 out", netinfo::ReadIcmp6OutCounters},
};

inline constexpr std::size_t kProtocolCount = std::size(kProtocolSources);

}  // namespace report
