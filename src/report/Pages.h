#pragma once
// Every page of the report, once, in the order the report prints them: its
// key on the command line and in JSON, its title in text, how it is read,
// whether it holds counters (so that it can be watched and given to a
// collector) and its line of help. The parser, the usage text, the builder,
// the watcher and the writers all take their pages from here.
#include "netinfo/ProtocolStatistics.h"

#include <cstddef>
#include <iterator>
#include <optional>
#include <string_view>

namespace report {

enum class PageKind { Summary, Adapters, Addresses, Interfaces, Interface, Table };

struct Page {
    std::string_view key;   // argument and JSON member
    const wchar_t* title;   // heading in text
    PageKind kind;
    bool counters;          // a watch and the exposition take it
    HRESULT (*readTable)(netinfo::CounterValues&);  // a table's read; null for the other kinds
    const wchar_t* help;    // its line in the usage text
    const wchar_t* operand = nullptr;  // what follows the key, when something does
};

inline constexpr Page kPages[] = {
    {"summary", L"Summary", PageKind::Summary, false, nullptr, L"host name, domain name and DNS servers"},
    {"adapters", L"Adapters", PageKind::Adapters, false, nullptr, L"index and name of each network adapter"},
    {"addresses", L"Addresses", PageKind::Addresses, false, nullptr,
     L"every adapter by friendly name: IPv4, IPv6, gateways, DNS"},
    {"interfaces", L"Interfaces", PageKind::Interfaces, true, nullptr,
     L"every interface (watched: 64-bit counters, with loopback)"},
    {"interface", L"Interface", PageKind::Interface, true, nullptr,
     L"the interface of that index, LUID (0x...) or alias (eth0)", L"SELECTOR"},
    {"tcp", netinfo::kProtocolTables[0].name, PageKind::Table, true, netinfo::ReadTcpCounters, L"TCP statistics"},
    {"ip", netinfo::kProtocolTables[1].name, PageKind::Table, true, netinfo::ReadIpCounters, L"IP statistics"},
    {"udp", netinfo::kProtocolTables[2].name, PageKind::Table, true, netinfo::ReadUdpCounters, L"UDP statistics"},
    {"icmp-in", netinfo::kProtocolTables[3].name, PageKind::Table, true, netinfo::ReadIcmpInCounters,
     L"ICMP statistics, incoming"},
    {"icmp-out", netinfo::kProtocolTables[4].name, PageKind::Table, true, netinfo::ReadIcmpOutCounters,
     L"ICMP statistics, outgoing"},
    {"tcp6", L"TCPv6", PageKind::Table, true, netinfo::ReadTcp6Counters, L"TCP statistics over IPv6"},
    {"ip6", L"IPv6", PageKind::Table, true, netinfo::ReadIp6Counters, L"IPv6 statistics"},
    {"udp6", L"UDPv6", PageKind::Table, true, netinfo::ReadUdp6Counters, L"UDP statistics over IPv6"},
    {"icmp6-in", L"ICMPv6 in", PageKind::Table, true, netinfo::ReadIcmp6InCounters, L"ICMPv6 statistics, incoming"},
    {"icmp6-out", L"ICMPv6 out", PageKind::Table, true, netinfo::ReadIcmp6OutCounters,
     L"ICMPv6 statistics, outgoing"},
};

inline constexpr std::size_t kPageCount = std::size(kPages);

// The page's position in kPages.
inline constexpr std::size_t PageIndex(std::string_view key)
{
    for (std::size_t i = 0; i < kPageCount; ++i)
        if (kPages[i].key == key)
            return i;
    return kPageCount;
}

// The IPv6 tables end in "6": the exposition labels the family with it.
inline constexpr bool IsIpv6(const Page& page)
{
    return page.key.find('6') != std::string_view::npos;
}

}  // namespace report
