#include "netinfo/AdapterAddresses.h"

#include "netinfo/Sizing.h"

#include <algorithm>
#include <cwchar>

namespace netinfo {
namespace {

// Gateways are listed only when asked for; anycast and multicast addresses
// are not the machine's own.
constexpr ULONG kFlags = GAA_FLAG_INCLUDE_GATEWAYS | GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST;

// A text the platform points at: up to its NUL, never beyond the block.
std::wstring TextInBlock(const wchar_t* text, const Block& block)
{
    return block.Holds(text) ? std::wstring(text, wcsnlen(text, block.BytesFrom(text) / sizeof(wchar_t))) : L"";
}

// The socket address whose length is that of its family, wholly inside the
// block; nothing for any other.
SocketAddress AddressInBlock(const SOCKET_ADDRESS& address, const Block& block)
{
    const auto* bytes = reinterpret_cast<const BYTE*>(address.lpSockaddr);
    if (!block.Holds(reinterpret_cast<const ADDRESS_FAMILY*>(bytes)))
        return {};
    const ADDRESS_FAMILY family = *reinterpret_cast<const ADDRESS_FAMILY*>(bytes);
    const std::size_t size = family == AF_INET ? sizeof(SOCKADDR_IN) : family == AF_INET6 ? sizeof(SOCKADDR_IN6) : 0;
    if (address.iSockaddrLength < 0 || static_cast<std::size_t>(address.iSockaddrLength) != size ||
        !block.Holds(bytes, size))
        return {};
    return SocketAddress(bytes, bytes + size);
}

template <typename Node>
std::vector<SocketAddress> AddressesInBlock(const Node* head, const Block& block)
{
    std::vector<SocketAddress> addresses;
    WalkChain(head, block, [&](const Node& node) {
        if (SocketAddress address = AddressInBlock(node.Address, block); !address.empty())
            addresses.push_back(std::move(address));
    });
    return addresses;
}

AdapterAddresses Record(const IP_ADAPTER_ADDRESSES& adapter, const Block& block)
{
    AdapterAddresses record;
    record.friendlyName = TextInBlock(adapter.FriendlyName, block);
    record.description = TextInBlock(adapter.Description, block);
    record.dnsSuffix = TextInBlock(adapter.DnsSuffix, block);
    record.ipv4Index = adapter.IfIndex;
    record.ipv6Index = adapter.Ipv6IfIndex;
    record.luid = adapter.Luid.Value;
    record.type = adapter.IfType;
    record.operStatus = static_cast<uint32_t>(adapter.OperStatus);
    record.mtu = adapter.Mtu;
    const ULONG physical = std::min<ULONG>(adapter.PhysicalAddressLength, MAX_ADAPTER_ADDRESS_LENGTH);
    record.physicalAddress.assign(adapter.PhysicalAddress, adapter.PhysicalAddress + physical);
    record.dhcpv4Enabled = adapter.Dhcpv4Enabled != 0;
    WalkChain(adapter.FirstUnicastAddress, block, [&](const IP_ADAPTER_UNICAST_ADDRESS& node) {
        if (SocketAddress address = AddressInBlock(node.Address, block); !address.empty())
            record.unicast.push_back({std::move(address), node.OnLinkPrefixLength});
    });
    record.gateways = AddressesInBlock(adapter.FirstGatewayAddress, block);
    record.dnsServers = AddressesInBlock(adapter.FirstDnsServerAddress, block);
    return record;
}

}  // namespace

HRESULT QueryAdapterAddresses(AdapterAddressesList& adapters)
{
    const IpHelperApi& api = CurrentIpHelperApi();
    DWORD answer = NO_ERROR;
    const HRESULT hr = ProbeAllocateFill<IP_ADAPTER_ADDRESSES>(
        api, ERROR_BUFFER_OVERFLOW, sizeof(IP_ADAPTER_ADDRESSES), kAddressRegrowths,
        [&](IP_ADAPTER_ADDRESSES* info, ULONG* length) {
            return api.getAdaptersAddresses(AF_UNSPEC, kFlags, nullptr, info, length);
        },
        [&](const IP_ADAPTER_ADDRESSES& first, ULONG, const Block& block) {
            AdapterAddressesList fresh;
            WalkChain(&first, block,
                      [&](const IP_ADAPTER_ADDRESSES& adapter) { fresh.push_back(Record(adapter, block)); });
            adapters = std::move(fresh);
        },
        &answer);
    // The platform's way of saying that there is no adapter at all.
    if (hr == E_UNEXPECTED && answer == ERROR_NO_DATA) {
        adapters.clear();
        return S_OK;
    }
    return PlatformResult(hr, answer);
}

}  // namespace netinfo
