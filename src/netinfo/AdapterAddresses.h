#pragma once
// Every adapter with the addresses of both families, as GetAdaptersAddresses
// gives them: friendly names, prefixes, gateways and DNS servers. The socket
// addresses are kept as the platform wrote them, for the platform to turn
// into text.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace netinfo {

// A SOCKADDR_IN or SOCKADDR_IN6, byte for byte.
using SocketAddress = std::vector<BYTE>;

struct UnicastAddress {
    SocketAddress address;
    uint8_t prefixLength = 0;

    bool operator==(const UnicastAddress&) const = default;
};

struct AdapterAddresses {
    std::wstring friendlyName;
    std::wstring description;
    uint32_t ipv4Index = 0;
    uint32_t ipv6Index = 0;
    uint64_t luid = 0;
    uint32_t type = 0;
    uint32_t operStatus = 0;
    uint32_t mtu = 0;
    std::vector<BYTE> physicalAddress;  // empty when it has none
    std::vector<UnicastAddress> unicast;
    std::vector<SocketAddress> gateways;
    std::vector<SocketAddress> dnsServers;
    std::wstring dnsSuffix;
    bool dhcpv4Enabled = false;

    bool operator==(const AdapterAddresses&) const = default;
};

using AdapterAddressesList = std::vector<AdapterAddresses>;

// How often a list that grew between the probe and the fill is asked again.
inline constexpr int kAddressRegrowths = 3;

// Replaces the list with the platform's adapters, in its order: S_OK, or a
// failure with the list untouched: the HRESULT of the platform's own answer
// (HRESULT_FROM_WIN32), or E_UNEXPECTED for a probe that answered success.
// No adapter at all (the probe's ERROR_NO_DATA) is an empty list. Every walk stays inside the filled block and stops on a loop;
// a socket address whose length does not fit its family is skipped.
HRESULT QueryAdapterAddresses(AdapterAddressesList& adapters);

}  // namespace netinfo
