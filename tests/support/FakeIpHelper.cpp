#include "support/FakeIpHelper.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

FakeIpHelper* g_fake = nullptr;

template <typename Char, std::size_t Size>
void CopyToField(Char (&field)[Size], const std::basic_string<Char>& text)
{
    std::fill_n(field, Size, Char{});
    std::copy_n(text.data(), std::min(text.size(), Size), field);
}

std::size_t ExtraNodes(const FakeAddresses& texts) { return texts.empty() ? 0 : texts.size() - 1; }

// A chain from its embedded head, further nodes from pool; no address list may show the masks.
void Chain(IP_ADDR_STRING& head, const FakeAddresses& texts, IP_ADDR_STRING*& pool)
{
    IP_ADDR_STRING* node = &head;
    for (std::size_t i = 0; node; ++i, node = node->Next) {
        CopyToField(node->IpAddress.String, i < texts.size() ? texts[i] : std::string());
        CopyToField(node->IpMask.String, std::string("255.255.255.0"));
        node->Next = i + 1 < texts.size() ? pool++ : nullptr;
    }
}

// A probe tells the size; a buffer too small for the data overflows.
template <typename T, typename Fill>
DWORD Sized(int FakeCalls::*count, const FakeSizedCall& mode, DWORD overflow, std::size_t needed, T* buffer,
            PULONG length, Fill fill)
{
    ++(g_fake->calls.*count);
    if (!buffer) {
        *length = mode.probeSize.value_or(static_cast<ULONG>(needed));
        return mode.probeAnswer.value_or(overflow);
    }
    if (mode.fillAnswer != NO_ERROR)
        return mode.fillAnswer;
    if (*length >= needed) {
        fill(*buffer, reinterpret_cast<IP_ADDR_STRING*>(reinterpret_cast<BYTE*>(buffer) + needed));
        return NO_ERROR;
    }
    if (!mode.fillsWhatItIsGiven)
        return *length = static_cast<ULONG>(needed), overflow;
    std::vector<BYTE> whole(needed);  // filled whole elsewhere; what fits is handed over
    fill(*reinterpret_cast<T*>(whole.data()), reinterpret_cast<IP_ADDR_STRING*>(whole.data() + needed));
    std::memcpy(buffer, whole.data(), *length);
    return NO_ERROR;
}

DWORD WINAPI NetworkParams(PFIXED_INFO info, PULONG length)
{
    const FakeIpHelper& f = *g_fake;
    const std::size_t nodes = ExtraNodes(f.dnsServers);
    const std::size_t needed = sizeof(FIXED_INFO) + nodes * sizeof(IP_ADDR_STRING);
    return Sized(&FakeCalls::networkParams, f.networkParamsCall, ERROR_BUFFER_OVERFLOW, needed, info, length,
                 [&](FIXED_INFO& out, IP_ADDR_STRING* end) {
                     IP_ADDR_STRING* pool = end - nodes;
                     CopyToField(out.HostName, f.hostName);
                     CopyToField(out.DomainName, f.domainName);
                     Chain(out.DnsServerList, f.dnsServers, pool);
                     out.NodeType = f.nodeType;
                 });
}

DWORD WINAPI AdaptersInfo(PIP_ADAPTER_INFO info, PULONG length)
{
    const FakeIpHelper& f = *g_fake;
    std::size_t nodes = 0;
    for (const FakeAdapter& a : f.adapters)
        for (const FakeAddresses* list :
             {&a.ipAddresses, &a.gateways, &a.dhcpServers, &a.primaryWinsServers, &a.secondaryWinsServers})
            nodes += ExtraNodes(*list);
    FakeSizedCall mode = f.adaptersInfoCall;
    if (!mode.probeAnswer && f.adapters.empty())
        mode.probeAnswer = ERROR_NO_DATA;
    const std::size_t needed = f.adapters.size() * sizeof(IP_ADAPTER_INFO) + nodes * sizeof(IP_ADDR_STRING);
    return Sized(&FakeCalls::adaptersInfo, mode, ERROR_BUFFER_OVERFLOW, needed,
                 info, length, [&](IP_ADAPTER_INFO& first, IP_ADDR_STRING* end) {
                     IP_ADAPTER_INFO* const filled = &first;
                     IP_ADDR_STRING* pool = end - nodes;
                     for (std::size_t i = 0; i < f.adapters.size(); ++i) {
                         const FakeAdapter& a = f.adapters[i];
                         IP_ADAPTER_INFO& out = filled[i];
                         out.Next = i + 1 < f.adapters.size() ? &filled[i + 1] : nullptr;
                         CopyToField(out.AdapterName, a.name);
                         CopyToField(out.Description, a.description);
                         out.Index = a.index, out.DhcpEnabled = a.dhcpEnabled, out.HaveWins = a.haveWins;
                         for (const auto& [head, texts] : {std::pair{&out.IpAddressList, &a.ipAddresses},
                                                           {&out.GatewayList, &a.gateways},
                                                           {&out.DhcpServer, &a.dhcpServers},
                                                           {&out.PrimaryWinsServer, &a.primaryWinsServers},
                                                           {&out.SecondaryWinsServer, &a.secondaryWinsServers}})
                             Chain(*head, *texts, pool);
                     }
                 });
}

DWORD WINAPI PerAdapterInfo(ULONG index, PIP_PER_ADAPTER_INFO info, PULONG length)
{
    const auto a = std::find_if(g_fake->adapters.begin(), g_fake->adapters.end(),
                                [&](const FakeAdapter& x) { return x.index == index; });
    if (a == g_fake->adapters.end())
        return ++g_fake->calls.perAdapterInfo, ERROR_NOT_FOUND;
    const std::size_t nodes = ExtraNodes(a->dnsServers);
    const std::size_t needed = sizeof(IP_PER_ADAPTER_INFO) + nodes * sizeof(IP_ADDR_STRING);
    return Sized(&FakeCalls::perAdapterInfo, a->perAdapterCall, ERROR_BUFFER_OVERFLOW, needed, info,
                 length, [&](IP_PER_ADAPTER_INFO& out, IP_ADDR_STRING* end) {
                     IP_ADDR_STRING* pool = end - nodes;
                     out.AutoconfigEnabled = a->autoconfigEnabled, out.AutoconfigActive = a->autoconfigActive;
                     Chain(out.DnsServerList, a->dnsServers, pool);
                 });
}

DWORD WINAPI InterfaceInfo(PIP_INTERFACE_INFO info, PULONG length)
{
    const FakeIpHelper& f = *g_fake;
    const std::size_t entries =
        offsetof(IP_INTERFACE_INFO, Adapter) + f.interfaces.size() * sizeof(IP_ADAPTER_INDEX_MAP);
    const std::size_t needed = std::max(sizeof(IP_INTERFACE_INFO), entries);
    return Sized(&FakeCalls::interfaceInfo, f.interfaceInfoCall, ERROR_INSUFFICIENT_BUFFER, needed, info, length,
                 [&](IP_INTERFACE_INFO& out, IP_ADDR_STRING*) {
        out.NumAdapters = f.numAdapters.value_or(static_cast<LONG>(f.interfaces.size()));
        for (std::size_t i = 0; i < f.interfaces.size(); ++i) {
            out.Adapter[i].Index = f.interfaces[i].index;
            CopyToField(out.Adapter[i].Name, f.interfaces[i].name);
        }
    });
}

DWORD WINAPI IfEntry(PMIB_IFROW row)
{
    ++g_fake->calls.ifEntry;
    const DWORD index = row->dwIndex;
    const auto i = std::find_if(g_fake->interfaces.begin(), g_fake->interfaces.end(),
                                [&](const FakeInterface& x) { return x.index == index; });
    if (i == g_fake->interfaces.end() || i->ifEntryAnswer != NO_ERROR)
        return i == g_fake->interfaces.end() ? ERROR_INVALID_DATA : i->ifEntryAnswer;
    *row = i->row;
    row->dwIndex = index;
    return NO_ERROR;
}

template <typename Stats, Stats FakeIpHelper::*Data, DWORD FakeIpHelper::*Answer, int FakeCalls::*Count>
DWORD WINAPI Statistics(Stats* out)
{
    ++(g_fake->calls.*Count);
    return g_fake->*Answer == NO_ERROR ? (*out = g_fake->*Data, NO_ERROR) : g_fake->*Answer;
}

DWORD WINAPI IfTable2(PMIB_IF_TABLE2* table)
{
    ++g_fake->calls.ifTable2;
    if (g_fake->onIfTable)
        g_fake->onIfTable();
    const std::vector<MIB_IF_ROW2>& rows = g_fake->ifTable;
    if (g_fake->ifTableAnswer != NO_ERROR)
        return g_fake->ifTableAnswer;
    const std::size_t bytes =
        offsetof(MIB_IF_TABLE2, Table) + std::max<std::size_t>(rows.size(), 1) * sizeof(MIB_IF_ROW2);
    auto* out = static_cast<MIB_IF_TABLE2*>(::operator new(bytes));
    out->NumEntries = static_cast<ULONG>(rows.size());
    std::copy(rows.begin(), rows.end(), out->Table);
    ++g_fake->mibTablesLive;
    *table = out;
    return NO_ERROR;
}

VOID WINAPI FreeTable(PVOID table)
{
    --g_fake->mibTablesLive;
    ::operator delete(table);
}

// Lays the adapters out from `base` as the platform does, nodes and texts after the adapters; with a null base it
// only counts the bytes.
class AddressLayout {
public:
    AddressLayout(BYTE* base, bool gateways) : base_(base), gateways_(gateways) {}
    std::size_t Lay(const std::vector<FakeAddressAdapter>& adapters)
    {
        auto* out = Take<IP_ADAPTER_ADDRESSES>(adapters.size());
        for (std::size_t i = 0; i < adapters.size(); ++i) {
            const FakeAddressAdapter& a = adapters[i];
            IP_ADAPTER_ADDRESSES* adapter = base_ ? &out[i] : nullptr;
            if (adapter) {
                adapter->Length = sizeof *adapter, adapter->IfIndex = a.ipv4Index, adapter->Ipv6IfIndex = a.ipv6Index;
                adapter->Next = i + 1 < adapters.size() ? &out[i + 1] : nullptr;
                adapter->Luid.Value = a.luid, adapter->IfType = a.type, adapter->OperStatus = a.operStatus;
                adapter->Mtu = a.mtu, adapter->Dhcpv4Enabled = a.dhcpv4Enabled;
                adapter->PhysicalAddressLength = static_cast<ULONG>(a.physicalAddress.size());
                std::copy(a.physicalAddress.begin(), a.physicalAddress.end(), adapter->PhysicalAddress);
            }
            const auto text = [&](PWCHAR IP_ADAPTER_ADDRESSES::*field, const std::wstring& value) {
                wchar_t* copy = Take<wchar_t>(value.size() + 1);
                if (adapter)
                    std::copy(value.c_str(), value.c_str() + value.size() + 1, copy), adapter->*field = copy;
            };
            text(&IP_ADAPTER_ADDRESSES::FriendlyName, a.friendlyName);
            text(&IP_ADAPTER_ADDRESSES::Description, a.description);
            text(&IP_ADAPTER_ADDRESSES::DnsSuffix, a.dnsSuffix);
            std::vector<std::wstring> unicast;
            for (const auto& [address, prefix] : a.unicast)
                unicast.push_back(address);
            Chain(adapter ? &adapter->FirstUnicastAddress : nullptr, unicast,
                  [&](IP_ADAPTER_UNICAST_ADDRESS& node, std::size_t k) {
                      node.OnLinkPrefixLength = a.unicast[k].second;
                  });
            const std::vector<std::wstring> gateways = gateways_ ? a.gateways : std::vector<std::wstring>();
            Chain(adapter ? &adapter->FirstGatewayAddress : nullptr, gateways, [](auto&, std::size_t) {});
            Chain(adapter ? &adapter->FirstDnsServerAddress : nullptr, a.dnsServers, [](auto&, std::size_t) {});
        }
        return used_;
    }

private:
    template <typename T>
    T* Take(std::size_t count)
    {
        T* at = base_ ? reinterpret_cast<T*>(base_ + used_) : nullptr;
        used_ += (count * sizeof(T) + 7) / 8 * 8;
        return at;
    }
    template <typename Node, typename Extra>
    void Chain(Node** head, const std::vector<std::wstring>& addresses, Extra extra)
    {
        Node** link = head;
        for (std::size_t k = 0; k < addresses.size(); ++k) {
            Node* node = Take<Node>(1);
            auto* address = Take<SOCKADDR_IN6>(1);  // room for either family
            if (!base_)
                continue;
            node->Length = sizeof *node;
            const std::wstring& text = addresses[k];
            const std::size_t percent = text.find(L'%');
            const std::wstring bare = text.substr(0, percent);
            if (InetPtonW(AF_INET, bare.c_str(), &reinterpret_cast<SOCKADDR_IN*>(address)->sin_addr) == 1) {
                address->sin6_family = AF_INET, node->Address.iSockaddrLength = sizeof(SOCKADDR_IN);
            } else {
                InetPtonW(AF_INET6, bare.c_str(), &address->sin6_addr);
                address->sin6_family = AF_INET6, node->Address.iSockaddrLength = sizeof(SOCKADDR_IN6);
                address->sin6_scope_id = percent == std::wstring::npos ? 0 : std::stoul(text.substr(percent + 1));
            }
            node->Address.lpSockaddr = reinterpret_cast<SOCKADDR*>(address);
            extra(*node, k);
            *link = node, link = &node->Next;
        }
    }

    BYTE* base_;
    bool gateways_;
    std::size_t used_ = 0;
};

ULONG WINAPI AdaptersAddresses(ULONG family, ULONG flags, PVOID, PIP_ADAPTER_ADDRESSES addresses, PULONG length)
{
    FakeIpHelper& f = *g_fake;
    const bool gateways = (flags & GAA_FLAG_INCLUDE_GATEWAYS) != 0;
    if (family != AF_UNSPEC)
        return ++f.calls.adaptersAddresses, ERROR_INVALID_PARAMETER;
    const std::size_t laid = AddressLayout(nullptr, gateways).Lay(f.addressAdapters);
    const std::size_t needed = std::max(laid, sizeof(IP_ADAPTER_ADDRESSES));
    if (addresses && f.addressesGrowths > 0 && f.adaptersAddressesCall.fillAnswer == NO_ERROR) {
        // The list grew since it was sized: it asks for more, and grows again if it is to.
        --f.addressesGrowths, ++f.calls.adaptersAddresses;
        *length = static_cast<ULONG>(std::max<std::size_t>(*length, needed) + 512);
        return ERROR_BUFFER_OVERFLOW;
    }
    FakeSizedCall mode = f.adaptersAddressesCall;
    if (!mode.probeAnswer && f.addressAdapters.empty())
        mode.probeAnswer = ERROR_NO_DATA;
    return Sized(&FakeCalls::adaptersAddresses, mode, ERROR_BUFFER_OVERFLOW, needed, addresses, length,
                 [&](IP_ADAPTER_ADDRESSES& first, IP_ADDR_STRING*) {
                     AddressLayout(reinterpret_cast<BYTE*>(&first), gateways).Lay(f.addressAdapters);
                 });
}

// The Ex calls: IPv6 from the tables of their own, IPv4 from those of the plain calls.
template <typename Stats, Stats FakeIpHelper::*V4, Stats FakeIpHelper::*V6>
ULONG WINAPI StatisticsEx(Stats* out, ULONG family)
{
    FakeIpHelper& f = *g_fake;
    ++f.calls.statisticsEx;
    if (f.statisticsExAnswer != NO_ERROR || (family != AF_INET && family != AF_INET6))
        return f.statisticsExAnswer != NO_ERROR ? f.statisticsExAnswer : ERROR_INVALID_PARAMETER;
    *out = family == AF_INET6 ? f.*V6 : f.*V4;
    return NO_ERROR;
}

ULONG WINAPI IcmpStatisticsEx(PMIB_ICMP_EX out, ULONG family)
{
    FakeIpHelper& f = *g_fake;
    ++f.calls.statisticsEx;
    if (f.statisticsExAnswer != NO_ERROR || family != AF_INET6)
        return f.statisticsExAnswer != NO_ERROR ? f.statisticsExAnswer : ERROR_INVALID_PARAMETER;
    *out = f.icmp6;
    return NO_ERROR;
}

HLOCAL WINAPI Allocate(UINT flags, SIZE_T bytes)
{
    HLOCAL memory = bytes <= (64u << 20) ? ::LocalAlloc(flags, bytes) : nullptr;
    g_fake->allocations.push_back({flags, bytes, memory != nullptr});
    if (memory)
        g_fake->live.insert(memory);
    return memory;
}

HLOCAL WINAPI Free(HLOCAL memory)
{
    ++g_fake->frees;
    if (g_fake->live.erase(memory) == 0)
        return ++g_fake->foreignFrees, memory;  // not ours: left alone
    return ::LocalFree(memory);
}

}  // namespace

FakeIpHelper::FakeIpHelper()
    : api{NetworkParams, AdaptersInfo, PerAdapterInfo, InterfaceInfo, IfEntry,
          Statistics<MIB_TCPSTATS, &FakeIpHelper::tcp, &FakeIpHelper::tcpAnswer, &FakeCalls::tcp>,
          Statistics<MIB_IPSTATS, &FakeIpHelper::ip, &FakeIpHelper::ipAnswer, &FakeCalls::ip>,
          Statistics<MIB_UDPSTATS, &FakeIpHelper::udp, &FakeIpHelper::udpAnswer, &FakeCalls::udp>,
          Statistics<MIB_ICMP, &FakeIpHelper::icmp, &FakeIpHelper::icmpAnswer, &FakeCalls::icmp>, Allocate, Free,
          IfTable2, FreeTable, AdaptersAddresses,
          StatisticsEx<MIB_TCPSTATS, &FakeIpHelper::tcp, &FakeIpHelper::tcp6>,
          StatisticsEx<MIB_IPSTATS, &FakeIpHelper::ip, &FakeIpHelper::ip6>,
          StatisticsEx<MIB_UDPSTATS, &FakeIpHelper::udp, &FakeIpHelper::udp6>, IcmpStatisticsEx}
{
    if (g_fake)
        throw std::logic_error("one FakeIpHelper at a time");
    g_fake = this;
}

FakeIpHelper::~FakeIpHelper()
{
    g_fake = nullptr;
    for (HLOCAL memory : live)
        ::LocalFree(memory);
}

MIB_IFROW NumberedRow(DWORD first)
{
    MIB_IFROW row{};
    DWORD* numbered[] = {&row.dwSpeed,           &row.dwAdminStatus,  &row.dwInOctets,      &row.dwInUcastPkts,
                         &row.dwInNUcastPkts,    &row.dwInDiscards,   &row.dwInErrors,      &row.dwInUnknownProtos,
                         &row.dwOutOctets,       &row.dwOutUcastPkts, &row.dwOutNUcastPkts, &row.dwOutDiscards,
                         &row.dwOutErrors,       &row.dwOutQLen};
    for (DWORD i = 0; i < std::size(numbered); ++i)
        *numbered[i] = first + i;
    row.dwType = row.dwMtu = row.dwOperStatus = row.dwLastChange = 9000;  // shown nowhere
    return row;
}

MIB_IF_ROW2 IfRow2(ULONG64 luid, ULONG index, const std::wstring& alias, ULONG64 first)
{
    MIB_IF_ROW2 row{};
    row.InterfaceLuid.Value = luid, row.InterfaceIndex = index, row.Type = IF_TYPE_ETHERNET_CSMACD, row.Mtu = 1500;
    row.OperStatus = IfOperStatusUp, row.TransmitLinkSpeed = row.ReceiveLinkSpeed = 1000000000;
    CopyToField(row.Alias, alias);
    CopyToField(row.Description, alias + L" adapter");
    ULONG64* numbered[] = {&row.InOctets,  &row.InUcastPkts,  &row.InNUcastPkts,  &row.InDiscards,
                           &row.InErrors,  &row.InUnknownProtos, &row.OutOctets,  &row.OutUcastPkts,
                           &row.OutNUcastPkts, &row.OutDiscards, &row.OutErrors};
    for (ULONG64 i = 0; i < std::size(numbered); ++i)
        *numbered[i] = first + i;
    return row;
}
