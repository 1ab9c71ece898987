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
                     IP_ADDR_STRING* pool = end - nodes;
                     for (std::size_t i = 0; i < f.adapters.size(); ++i) {
                         const FakeAdapter& a = f.adapters[i];
                         IP_ADAPTER_INFO& out = (&first)[i];
                         out.Next = i + 1 < f.adapters.size() ? &(&first)[i + 1] : nullptr;
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
    std::vector<const FakeInterface*> listed;
    for (const FakeInterface& i : f.interfaces)
        if (i.listed)
            listed.push_back(&i);
    const std::size_t entries = offsetof(IP_INTERFACE_INFO, Adapter) + listed.size() * sizeof(IP_ADAPTER_INDEX_MAP);
    const std::size_t needed = std::max(sizeof(IP_INTERFACE_INFO), entries);
    return Sized(&FakeCalls::interfaceInfo, f.interfaceInfoCall, ERROR_INSUFFICIENT_BUFFER, needed, info, length,
                 [&](IP_INTERFACE_INFO& out, IP_ADDR_STRING*) {
        out.NumAdapters = f.numAdapters.value_or(static_cast<LONG>(listed.size()));
        for (std::size_t i = 0; i < listed.size(); ++i) {
            out.Adapter[i].Index = listed[i]->index;
            CopyToField(out.Adapter[i].Name, listed[i]->name);
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
    FakeIpHelper& f = *g_fake;
    if (++f.calls.ifTable2, f.onIfTable)
        f.onIfTable();
    if (f.ifTableAnswer != NO_ERROR)
        return f.ifTableAnswer;
    const std::size_t rows = f.ifTable.size();
    *table = static_cast<MIB_IF_TABLE2*>(::operator new(sizeof(MIB_IF_TABLE2) + rows * sizeof(MIB_IF_ROW2)));
    (*table)->NumEntries = static_cast<ULONG>(rows);
    std::copy(f.ifTable.begin(), f.ifTable.end(), (*table)->Table);
    return ++f.mibTablesLive, NO_ERROR;
}

VOID WINAPI FreeTable(PVOID table)
{
    --g_fake->mibTablesLive;
    ::operator delete(table);
}

// Each adapter in a slot of its own, followed by its texts and addresses, 8-byte aligned.
constexpr std::size_t kAddressSlot = 4096;

template <typename T>
T* Take(BYTE*& at, std::size_t count = 1)
{
    T* taken = reinterpret_cast<T*>(at);
    at += (count * sizeof(T) + 7) / 8 * 8;
    return taken;
}

PWCHAR Text(BYTE*& at, const std::wstring& value)
{
    PWCHAR copy = Take<wchar_t>(at, value.size() + 1);
    std::copy(value.c_str(), value.c_str() + value.size() + 1, copy);
    return copy;
}

// A chain of addresses given as text ("fe80::1%4"), in the platform's socket address of each family; unicast ones
// with their prefix lengths.
template <typename Node, typename Item>
Node* Addresses(BYTE*& at, const std::vector<Item>& items)
{
    Node* head = nullptr;
    for (Node** link = &head; const Item& item : items) {
        Node* node = Take<Node>(at);
        std::wstring text;
        if constexpr (requires { item.second; })
            text = item.first, node->OnLinkPrefixLength = item.second;
        else
            text = item;
        auto* address = Take<SOCKADDR_IN6>(at);  // room for either family
        const std::size_t percent = text.find(L'%');
        if (InetPtonW(AF_INET, text.c_str(), &reinterpret_cast<SOCKADDR_IN*>(address)->sin_addr) == 1) {
            address->sin6_family = AF_INET, node->Address.iSockaddrLength = sizeof(SOCKADDR_IN);
        } else {
            InetPtonW(AF_INET6, text.substr(0, percent).c_str(), &address->sin6_addr);
            address->sin6_family = AF_INET6, node->Address.iSockaddrLength = sizeof(SOCKADDR_IN6);
            address->sin6_scope_id = percent == std::wstring::npos ? 0 : std::stoul(text.substr(percent + 1));
        }
        node->Length = sizeof *node, node->Address.lpSockaddr = reinterpret_cast<SOCKADDR*>(address);
        *link = node, link = &node->Next;
    }
    return head;
}

ULONG WINAPI AdaptersAddresses(ULONG family, ULONG flags, PVOID, PIP_ADAPTER_ADDRESSES addresses, PULONG length)
{
    FakeIpHelper& f = *g_fake;
    if (family != AF_UNSPEC)
        return ++f.calls.adaptersAddresses, ERROR_INVALID_PARAMETER;
    const std::size_t needed = std::max<std::size_t>(f.addressAdapters.size(), 1) * kAddressSlot;
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
        const auto slot = [&](std::size_t i) { return reinterpret_cast<BYTE*>(&first) + i * kAddressSlot; };
        for (std::size_t i = 0; i < f.addressAdapters.size(); ++i) {
            const FakeAddressAdapter& a = f.addressAdapters[i];
            BYTE* at = slot(i);
            IP_ADAPTER_ADDRESSES& out = *Take<IP_ADAPTER_ADDRESSES>(at);
            out.Length = sizeof out, out.IfIndex = a.ipv4Index, out.Ipv6IfIndex = a.ipv6Index, out.Luid.Value = a.luid;
            const bool last = i + 1 == f.addressAdapters.size();
            out.Next = last ? nullptr : reinterpret_cast<IP_ADAPTER_ADDRESSES*>(slot(i + 1));
            out.IfType = a.type, out.OperStatus = a.operStatus, out.Mtu = a.mtu, out.Dhcpv4Enabled = a.dhcpv4Enabled;
            out.PhysicalAddressLength = static_cast<ULONG>(a.physicalAddress.size());
            std::copy(a.physicalAddress.begin(), a.physicalAddress.end(), out.PhysicalAddress);
            out.FriendlyName = Text(at, a.friendlyName), out.Description = Text(at, a.description);
            out.DnsSuffix = Text(at, a.dnsSuffix);
            out.FirstUnicastAddress = Addresses<IP_ADAPTER_UNICAST_ADDRESS>(at, a.unicast);
            if (flags & GAA_FLAG_INCLUDE_GATEWAYS)  // as the platform: only when asked for
                out.FirstGatewayAddress = Addresses<IP_ADAPTER_GATEWAY_ADDRESS>(at, a.gateways);
            out.FirstDnsServerAddress = Addresses<IP_ADAPTER_DNS_SERVER_ADDRESS>(at, a.dnsServers);
        }
    });
}

// The Ex calls: IPv6 from the tables of their own, IPv4 from those of the plain calls (ICMP has none here).
template <typename Stats, Stats FakeIpHelper::*V6, Stats FakeIpHelper::*V4 = V6>
ULONG WINAPI StatisticsEx(Stats* out, ULONG family)
{
    FakeIpHelper& f = *g_fake;
    ++f.calls.statisticsEx;
    const bool known = family == AF_INET6 || (family == AF_INET && V4 != V6);
    if (f.statisticsExAnswer != NO_ERROR || !known)
        return f.statisticsExAnswer != NO_ERROR ? f.statisticsExAnswer : ERROR_INVALID_PARAMETER;
    *out = family == AF_INET6 ? f.*V6 : f.*V4;
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
          StatisticsEx<MIB_TCPSTATS, &FakeIpHelper::tcp6, &FakeIpHelper::tcp>,
          StatisticsEx<MIB_IPSTATS, &FakeIpHelper::ip6, &FakeIpHelper::ip>,
          StatisticsEx<MIB_UDPSTATS, &FakeIpHelper::udp6, &FakeIpHelper::udp>,
          StatisticsEx<MIB_ICMP_EX, &FakeIpHelper::icmp6>}
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
