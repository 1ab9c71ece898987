#pragma once
// Records of the device's network settings, adapters and interfaces, and the
// stateless NetworkInfo through which the views query them. Every query asks
// the platform again; nothing is cached.
#include "netinfo/IpHelperHeaders.h"

#include <cstdint>
#include <string>
#include <vector>

namespace netinfo {

// One narrow address text per node of a platform address chain, in chain
// order; empty texts and duplicates are kept.
using AddressList = std::vector<std::string>;

struct NetworkParams {
    std::string hostName;
    std::string domainName;
    uint32_t nodeType = 0;
    AddressList dnsServers;

    bool operator==(const NetworkParams&) const = default;
};

struct PerAdapterRecord {
    uint32_t autoconfigEnabled = 0;
    uint32_t autoconfigActive = 0;
    AddressList dnsServers;

    bool operator==(const PerAdapterRecord&) const = default;
};

struct AdapterRecord {
    uint32_t index = 0;
    std::string name;
    std::string description;
    bool dhcpEnabled = false;
    bool haveWins = false;
    AddressList ipAddresses;
    AddressList gateways;
    AddressList dhcpServers;          // empty unless dhcpEnabled
    AddressList primaryWinsServers;   // empty unless haveWins
    AddressList secondaryWinsServers; // empty unless haveWins
    PerAdapterRecord perAdapter;

    bool operator==(const AdapterRecord&) const = default;
};

struct InterfaceRecord {
    uint32_t index = 0;
    std::wstring name;
    MIB_IFROW row{};
};

using AdapterList = std::vector<AdapterRecord>;
using InterfaceList = std::vector<InterfaceRecord>;

// The IpAddress texts of the chain that starts at head; a null head gives an
// empty list.
AddressList AddressChainToList(const IP_ADDR_STRING* head);

// Each query returns S_OK, E_UNEXPECTED (the size probe gave the wrong
// answer), E_OUTOFMEMORY or E_FAIL (the second platform call failed), and
// leaves the caller's data as it was unless it returns S_OK.
class NetworkInfo {
public:
    NetworkInfo() = default;
    // A failed query also leaves the platform's own answer in `platformAnswer`.
    explicit NetworkInfo(DWORD* platformAnswer) : answer_(platformAnswer) {}

    HRESULT QueryNetworkParams(NetworkParams& params) const;
    // Appends; callers clear the list before a new inventory.
    HRESULT QueryAdapters(AdapterList& adapters) const;
    // Fills adapter.perAdapter for adapter.index.
    HRESULT QueryPerAdapterInfo(AdapterRecord& adapter) const;
    // Appends; callers clear the list first.
    HRESULT QueryInterfaces(InterfaceList& interfaces) const;
    // The first interface with this index, or E_INVALIDARG when none has it.
    HRESULT FindInterface(uint32_t index, InterfaceRecord& found) const;

private:
    DWORD* answer_ = nullptr;
};

}  // namespace netinfo
