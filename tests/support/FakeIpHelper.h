// While it lives, the IP helper behind netinfo: platform structures in the caller's buffer, the local heap watched.
#pragma once

#include "netinfo/IpHelperApi.h"

#include <ws2tcpip.h>

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

// How a variable-size function answers its probe and its call with a buffer.
struct FakeSizedCall {
    std::optional<DWORD> probeAnswer;  // unset: what a working platform answers
    std::optional<ULONG> probeSize;    // unset: the size the structures need
    DWORD fillAnswer = NO_ERROR;
    bool fillsWhatItIsGiven = false;   // a buffer too small gets the structures' first bytes and NO_ERROR
};

// The first text in the embedded head (an empty one without texts), the rest in Next nodes; a full field gets no NUL.
using FakeAddresses = std::vector<std::string>;

struct FakeAdapter {
    ULONG index = 0;
    std::string name, description;
    bool dhcpEnabled = false, haveWins = false;
    FakeAddresses ipAddresses, gateways, dhcpServers, primaryWinsServers, secondaryWinsServers;
    UINT autoconfigEnabled = 0, autoconfigActive = 0;  // GetPerAdapterInfo for this index
    FakeAddresses dnsServers;
    FakeSizedCall perAdapterCall;
};

struct FakeInterface {
    ULONG index = 0;
    std::wstring name;
    MIB_IFROW row{};                 // what GetIfEntry copies out
    DWORD ifEntryAnswer = NO_ERROR;  // a failing GetIfEntry writes nothing
    bool listed = true;              // in GetInterfaceInfo's list (Wine leaves loopback out)
};

// An adapter as GetAdaptersAddresses gives it; addresses as text ("fe80::1%4"), each unicast one with its prefix;
// gateways only when the flags ask for them.
struct FakeAddressAdapter {
    std::wstring friendlyName, description, dnsSuffix;
    ULONG ipv4Index = 0, ipv6Index = 0;
    ULONG64 luid = 0;
    IFTYPE type = IF_TYPE_ETHERNET_CSMACD;
    IF_OPER_STATUS operStatus = IfOperStatusUp;
    ULONG mtu = 1500;
    std::vector<BYTE> physicalAddress;
    std::vector<std::pair<std::wstring, UINT8>> unicast;
    std::vector<std::wstring> gateways, dnsServers;
    bool dhcpv4Enabled = false;
};

struct FakeCalls {
    int networkParams = 0, adaptersInfo = 0, perAdapterInfo = 0, interfaceInfo = 0, ifEntry = 0, tcp = 0, ip = 0,
        udp = 0, icmp = 0, ifTable2 = 0, adaptersAddresses = 0, statisticsEx = 0;
    int Total() const
    {
        return networkParams + adaptersInfo + perAdapterInfo + interfaceInfo + ifEntry + tcp + ip + udp + icmp +
               ifTable2 + adaptersAddresses + statisticsEx;
    }
};

struct FakeIpHelper {
    FakeIpHelper();
    ~FakeIpHelper();
    std::string hostName, domainName;
    UINT nodeType = 0;
    FakeAddresses dnsServers;
    FakeSizedCall networkParamsCall, adaptersInfoCall, interfaceInfoCall;
    std::vector<FakeAdapter> adapters;  // none: the probe answers ERROR_NO_DATA, as the platform does
    std::vector<FakeInterface> interfaces;
    std::optional<LONG> numAdapters;  // NumAdapters written; unset: interfaces.size()
    // The IPv4 tables; the Ex calls give them for IPv4, the IPv6 ones for IPv6, as the platform does.
    MIB_TCPSTATS tcp{}, tcp6{};
    MIB_IPSTATS ip{}, ip6{};
    MIB_UDPSTATS udp{}, udp6{};
    MIB_ICMP icmp{};
    MIB_ICMP_EX icmp6{};
    DWORD statisticsExAnswer = NO_ERROR;
    DWORD tcpAnswer = NO_ERROR, ipAnswer = NO_ERROR, udpAnswer = NO_ERROR, icmpAnswer = NO_ERROR;
    std::vector<MIB_IF_ROW2> ifTable;  // GetIfTable2's rows, in its order
    DWORD ifTableAnswer = NO_ERROR;    // a failing call hands out no table
    std::function<void()> onIfTable;   // runs at each GetIfTable2, before it answers: the world moves on
    int mibTablesLive = 0;             // handed out and not yet given to FreeMibTable
    std::vector<FakeAddressAdapter> addressAdapters;
    FakeSizedCall adaptersAddressesCall;
    int addressesGrowths = 0;  // fills that find the list grown again: each answers the overflow with a larger size

    FakeCalls calls;
    struct Allocation { UINT flags; SIZE_T bytes; bool granted; };  // above 64 MiB refused, as on an exhausted device
    std::vector<Allocation> allocations;
    std::set<HLOCAL> live;
    int frees = 0, foreignFrees = 0;  // foreign: memory not allocated here
    void ResetCounts() { calls = {}, allocations.clear(), frees = foreignFrees = 0; }
    netinfo::IpHelperApi api;
    netinfo::IpHelperApiOverride use{api};
};

// Every 32-bit field numbered first, first + 1, ...: a row from the wrong field, or dropped, shows.
template <typename Stats>
Stats Numbered(DWORD first)
{
    Stats stats;
    for (size_t i = 0; i < sizeof(Stats) / sizeof(DWORD); ++i)
        reinterpret_cast<DWORD*>(&stats)[i] = first + static_cast<DWORD>(i);
    return stats;
}

// The fourteen counters an interface shows, numbered from `first` in MIB_IFROW's order.
MIB_IFROW NumberedRow(DWORD first);

// An interface of the 64-bit table: its eleven counters numbered from `first` (In before Out, MIB_IF_ROW2's order).
MIB_IF_ROW2 IfRow2(ULONG64 luid, ULONG index, const std::wstring& alias, ULONG64 first);
