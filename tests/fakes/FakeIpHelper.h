#pragma once
// A scriptable IP helper service for tests. While a FakeIpHelper lives it is
// the table behind NetworkInfo and ProtocolStatistics: it answers from the
// data set on it, building real platform structures (adapter chains, embedded
// list heads with Next chains, the interface array) in the caller's buffer,
// and it watches the local heap through the same table.
//
//   FakeIpHelper fake;
//   fake.hostName = "pocket";
//   fake.adapters.push_back({.index = 2, .name = "CISCO1", .ipAddresses = {"10.0.0.5"}});
//   fake.adaptersInfoCall.fillAnswer = ERROR_INVALID_DATA; // second call fails
//
// Only one may exist at a time.
#include "netinfo/IpHelperApi.h"

#include <windows.h>
#include <iphlpapi.h>

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <vector>

// How one variable-size function answers: its probe (null buffer, zero
// length) and its call with a buffer.
struct FakeSizedCall {
    std::optional<DWORD> probeAnswer; // unset: what a working platform answers
    std::optional<ULONG> probeSize;   // unset: the size the structures need
    DWORD fillAnswer = NO_ERROR;      // anything else fails the call with a buffer
};

// An address list as the platform chains it: the first text goes into the
// embedded head, the rest into Next nodes. An empty list still gives the head,
// with the empty text. A text of 16 or more characters fills the field with
// no terminator.
using FakeAddresses = std::vector<std::string>;

// Every node's IpMask carries this text, which no address list may show.
inline constexpr char kFakeMask[] = "255.255.255.0";

struct FakeAdapter {
    ULONG index = 0;
    std::string name;        // AdapterName; unterminated at 260 characters or more
    std::string description; // Description; unterminated at 132 characters or more
    bool dhcpEnabled = false;
    bool haveWins = false;
    FakeAddresses ipAddresses;
    FakeAddresses gateways;
    FakeAddresses dhcpServers;
    FakeAddresses primaryWinsServers;
    FakeAddresses secondaryWinsServers;
    // What GetPerAdapterInfo answers for this adapter's index.
    UINT autoconfigEnabled = 0;
    UINT autoconfigActive = 0;
    FakeAddresses dnsServers;
    FakeSizedCall perAdapterCall;
};

struct FakeInterface {
    ULONG index = 0;
    std::wstring name;                   // unterminated at 128 characters or more
    MIB_IFROW row{};                     // what GetIfEntry copies out; dwIndex is the asked index
    DWORD ifEntryAnswer = NO_ERROR;      // a failing GetIfEntry writes nothing
};

struct FakeCallCounts {
    int getNetworkParams = 0;
    int getAdaptersInfo = 0;
    int getPerAdapterInfo = 0;
    int getInterfaceInfo = 0;
    int getIfEntry = 0;
    int getTcpStatistics = 0;
    int getIpStatistics = 0;
    int getUdpStatistics = 0;
    int getIcmpStatistics = 0;
};

struct FakeAllocation {
    UINT flags;
    SIZE_T bytes;
    bool granted;
};

class FakeIpHelper {
public:
    FakeIpHelper();
    ~FakeIpHelper();
    FakeIpHelper(const FakeIpHelper&) = delete;
    FakeIpHelper& operator=(const FakeIpHelper&) = delete;

    // GetNetworkParams. HostName and DomainName are unterminated at 132
    // characters or more.
    std::string hostName;
    std::string domainName;
    UINT nodeType = 0;
    FakeAddresses dnsServers;
    FakeSizedCall networkParamsCall;

    // GetAdaptersInfo (probe answers ERROR_NO_DATA when there is no adapter,
    // as the platform does) and GetPerAdapterInfo (each adapter's own
    // perAdapterCall; an index no adapter has gets ERROR_NOT_FOUND).
    std::vector<FakeAdapter> adapters;
    FakeSizedCall adaptersInfoCall;

    // GetInterfaceInfo and GetIfEntry (an index no interface has gets
    // ERROR_INVALID_DATA).
    std::vector<FakeInterface> interfaces;
    std::optional<LONG> numAdapters; // NumAdapters written; unset: interfaces.size()
    FakeSizedCall interfaceInfoCall;

    // The statistics functions: copied out when their answer is NO_ERROR.
    MIB_TCPSTATS tcp{};
    MIB_IPSTATS ip{};
    MIB_UDPSTATS udp{};
    MIB_ICMP icmp{};
    DWORD tcpAnswer = NO_ERROR;
    DWORD ipAnswer = NO_ERROR;
    DWORD udpAnswer = NO_ERROR;
    DWORD icmpAnswer = NO_ERROR;

    // Local heap: requests above the limit fail, as on a device whose heap is
    // exhausted (Wine itself grants even 4 GB).
    SIZE_T allocationLimit = 64u << 20;

    const FakeCallCounts& calls() const { return calls_; }
    const std::vector<FakeAllocation>& allocations() const { return allocations_; }
    std::vector<ULONG> perAdapterIndexes() const { return perAdapterIndexes_; }
    std::size_t liveAllocations() const { return live_.size(); }
    int frees() const { return frees_; }
    int foreignFrees() const { return foreignFrees_; } // frees of memory not allocated here
    void ResetCounts();

    // The table this fake installs, for tests that drive the heap directly.
    const netinfo::IpHelperApi& api() const { return api_; }

private:
    static DWORD WINAPI GetNetworkParams(PFIXED_INFO info, PULONG length);
    static DWORD WINAPI GetAdaptersInfo(PIP_ADAPTER_INFO info, PULONG length);
    static DWORD WINAPI GetPerAdapterInfo(ULONG index, PIP_PER_ADAPTER_INFO info, PULONG length);
    static DWORD WINAPI GetInterfaceInfo(PIP_INTERFACE_INFO info, PULONG length);
    static DWORD WINAPI GetIfEntry(PMIB_IFROW row);
    static DWORD WINAPI GetTcpStatistics(PMIB_TCPSTATS stats);
    static DWORD WINAPI GetIpStatistics(PMIB_IPSTATS stats);
    static DWORD WINAPI GetUdpStatistics(PMIB_UDPSTATS stats);
    static DWORD WINAPI GetIcmpStatistics(PMIB_ICMP stats);
    static HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes);
    static HLOCAL WINAPI LocalFree(HLOCAL memory);
    static FakeIpHelper& Active();

    FakeCallCounts calls_;
    std::vector<FakeAllocation> allocations_;
    std::vector<ULONG> perAdapterIndexes_;
    std::set<HLOCAL> live_;
    int frees_ = 0;
    int foreignFrees_ = 0;
    netinfo::IpHelperApi api_;
    netinfo::IpHelperApiOverride override_;
};
