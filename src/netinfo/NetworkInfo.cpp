#include "netinfo/NetworkInfo.h"

#include "netinfo/ChainWalk.h"
#include "netinfo/IpHelperApi.h"
#include "netinfo/Sizing.h"
#include "netinfo/PlatformText.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace netinfo {

namespace {

AddressList ChainInBlock(const IP_ADDR_STRING* head, const Block& block)
{
    AddressList list;
    WalkChain(head, block, [&](const IP_ADDR_STRING& node) { list.push_back(TextOfField(node.IpAddress.String)); });
    return list;
}

}  // namespace

AddressList AddressChainToList(const IP_ADDR_STRING* head)
{
    // The caller's chain lies in no block of ours: only a loop can bound it.
    AddressList list;
    WalkChain(head, [](const IP_ADDR_STRING*) { return true; },
              [&](const IP_ADDR_STRING& node) { list.push_back(TextOfField(node.IpAddress.String)); });
    return list;
}

HRESULT NetworkInfo::QueryNetworkParams(NetworkParams& params) const
{
    const IpHelperApi& api = CurrentIpHelperApi();
    return ProbeAllocateFill<FIXED_INFO>(
        api, ERROR_BUFFER_OVERFLOW, sizeof(FIXED_INFO), kNoRegrowth,
        [&](FIXED_INFO* info, ULONG* length) { return api.getNetworkParams(info, length); },
        [&](const FIXED_INFO& info, ULONG, const Block& block) {
            // All four fields are replaced together; nothing old is merged in.
            NetworkParams fresh;
            fresh.hostName = TextOfField(info.HostName);
            fresh.domainName = TextOfField(info.DomainName);
            fresh.nodeType = info.NodeType;
            fresh.dnsServers = ChainInBlock(&info.DnsServerList, block);
            params = std::move(fresh);
        },
        answer_);
}

HRESULT NetworkInfo::QueryAdapters(AdapterList& adapters) const
{
    const IpHelperApi& api = CurrentIpHelperApi();
    return ProbeAllocateFill<IP_ADAPTER_INFO>(
        api, ERROR_BUFFER_OVERFLOW, sizeof(IP_ADAPTER_INFO), kNoRegrowth,
        [&](IP_ADAPTER_INFO* info, ULONG* length) { return api.getAdaptersInfo(info, length); },
        [&](const IP_ADAPTER_INFO& first, ULONG, const Block& block) {
            WalkChain(&first, block, [&](const IP_ADAPTER_INFO& adapter) {
                const IP_ADAPTER_INFO* info = &adapter;
                AdapterRecord record;
                record.index = info->Index;
                record.name = TextOfField(info->AdapterName);
                record.description = TextOfField(info->Description);
                record.ipAddresses = ChainInBlock(&info->IpAddressList, block);
                record.gateways = ChainInBlock(&info->GatewayList, block);
                record.dhcpEnabled = info->DhcpEnabled != 0;
                if (record.dhcpEnabled)
                    record.dhcpServers = ChainInBlock(&info->DhcpServer, block);
                record.haveWins = info->HaveWins != 0;
                if (record.haveWins) {
                    record.primaryWinsServers = ChainInBlock(&info->PrimaryWinsServer, block);
                    record.secondaryWinsServers = ChainInBlock(&info->SecondaryWinsServer, block);
                }
                // A failure leaves the new record's zeros and empty list:
                // one adapter without per-adapter data does not stop the rest.
                QueryPerAdapterInfo(record);
                adapters.push_back(std::move(record));
            });
        },
        answer_);
}

HRESULT NetworkInfo::QueryPerAdapterInfo(AdapterRecord& adapter) const
{
    const IpHelperApi& api = CurrentIpHelperApi();
    const ULONG index = adapter.index;
    return ProbeAllocateFill<IP_PER_ADAPTER_INFO>(
        api, ERROR_BUFFER_OVERFLOW, sizeof(IP_PER_ADAPTER_INFO), kNoRegrowth,
        [&](IP_PER_ADAPTER_INFO* info, ULONG* length) { return api.getPerAdapterInfo(index, info, length); },
        [&](const IP_PER_ADAPTER_INFO& info, ULONG, const Block& block) {
            PerAdapterRecord fresh;
            fresh.autoconfigEnabled = info.AutoconfigEnabled;
            fresh.autoconfigActive = info.AutoconfigActive;
            fresh.dnsServers = ChainInBlock(&info.DnsServerList, block);
            adapter.perAdapter = std::move(fresh);
        },
        answer_);
}

HRESULT NetworkInfo::QueryInterfaces(InterfaceList& interfaces) const
{
    const IpHelperApi& api = CurrentIpHelperApi();
    constexpr std::size_t header = offsetof(IP_INTERFACE_INFO, Adapter);
    return ProbeAllocateFill<IP_INTERFACE_INFO>(
        api, ERROR_INSUFFICIENT_BUFFER, header, kNoRegrowth,
        [&](IP_INTERFACE_INFO* info, ULONG* length) { return api.getInterfaceInfo(info, length); },
        [&](const IP_INTERFACE_INFO& info, ULONG length, const Block&) {
            // NumAdapters is trusted only as far as the buffer reaches.
            const std::size_t room = length > header ? (length - header) / sizeof(IP_ADAPTER_INDEX_MAP) : 0;
            const std::size_t count =
                info.NumAdapters > 0 ? std::min(static_cast<std::size_t>(info.NumAdapters), room) : 0;
            const IP_ADAPTER_INDEX_MAP* entries = info.Adapter;
            for (std::size_t i = 0; i < count; ++i) {
                InterfaceRecord record;
                record.index = entries[i].Index;
                record.name = TextOfField(entries[i].Name);
                record.row.dwIndex = record.index;
                // Unchecked: a failed entry keeps what GetIfEntry left in row.
                api.getIfEntry(&record.row);
                interfaces.push_back(std::move(record));
            }
        },
        answer_);
}

HRESULT NetworkInfo::FindInterface(uint32_t index, InterfaceRecord& found) const
{
    InterfaceList interfaces;
    const HRESULT hr = QueryInterfaces(interfaces);
    if (FAILED(hr))
        return hr;
    const auto match = std::find_if(interfaces.begin(), interfaces.end(),
                                    [index](const InterfaceRecord& record) { return record.index == index; });
    if (match == interfaces.end())
        return E_INVALIDARG;
    found = *match;
    return S_OK;
}

}  // namespace netinfo
