#include "FakeIpHelper.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

FakeIpHelper* g_active = nullptr;

// Copies a text into a fixed field the way the platform may: a text that
// fills the field gets no terminator.
template <typename Char, std::size_t Size>
void CopyToField(Char (&field)[Size], const std::basic_string<Char>& text)
{
    const std::size_t length = std::min(text.size(), Size);
    std::copy_n(text.data(), length, field);
    if (length < Size)
        field[length] = Char{};
}

std::size_t ExtraNodes(const FakeAddresses& texts)
{
    return texts.empty() ? 0 : texts.size() - 1;
}

// Lays out a chain from its embedded head, taking further nodes from pool.
void BuildChain(IP_ADDR_STRING& head, const FakeAddresses& texts, IP_ADDR_STRING*& pool)
{
    IP_ADDR_STRING* node = &head;
    for (std::size_t i = 0;; ++i) {
        CopyToField(node->IpAddress.String, i < texts.size() ? texts[i] : std::string());
        CopyToField(node->IpMask.String, std::string(kFakeMask));
        node->Context = static_cast<DWORD>(i + 1);
        node->Next = nullptr;
        if (i + 1 >= texts.size())
            return;
        node->Next = pool++;
        node = node->Next;
    }
}

// The protocol every variable-size function follows: a probe tells the size,
// a call with a buffer too small for the data overflows, a big enough one is
// filled.
template <typename Fill>
DWORD AnswerSized(const FakeSizedCall& mode, DWORD overflowAnswer, ULONG needed, const void* buffer,
                  PULONG length, Fill fill)
{
    if (!length)
        return ERROR_INVALID_PARAMETER;
    if (!buffer) {
        *length = mode.probeSize.value_or(needed);
        return mode.probeAnswer.value_or(overflowAnswer);
    }
    if (mode.fillAnswer != NO_ERROR)
        return mode.fillAnswer;
    if (*length < needed) {
        *length = needed;
        return overflowAnswer;
    }
    fill();
    return NO_ERROR;
}

ULONG Bytes(std::size_t count)
{
    return static_cast<ULONG>(count);
}

} // namespace

FakeIpHelper::FakeIpHelper()
    : api_{GetNetworkParams, GetAdaptersInfo, GetPerAdapterInfo, GetInterfaceInfo,
           GetIfEntry,       GetTcpStatistics, GetIpStatistics,  GetUdpStatistics,
           GetIcmpStatistics, LocalAlloc,      LocalFree},
      override_(api_)
{
    if (g_active)
        throw std::logic_error("one FakeIpHelper at a time");
    g_active = this;
}

FakeIpHelper::~FakeIpHelper()
{
    g_active = nullptr;
    // Whatever a test left allocated goes back to the heap it came from.
    for (HLOCAL memory : live_)
        ::LocalFree(memory);
}

void FakeIpHelper::ResetCounts()
{
    calls_ = {};
    allocations_.clear();
    perAdapterIndexes_.clear();
    frees_ = 0;
    foreignFrees_ = 0;
}

FakeIpHelper& FakeIpHelper::Active()
{
    return *g_active;
}

DWORD WINAPI FakeIpHelper::GetNetworkParams(PFIXED_INFO info, PULONG length)
{
    FakeIpHelper& fake = Active();
    ++fake.calls_.getNetworkParams;
    const ULONG needed = Bytes(sizeof(FIXED_INFO) + ExtraNodes(fake.dnsServers) * sizeof(IP_ADDR_STRING));
    return AnswerSized(fake.networkParamsCall, ERROR_BUFFER_OVERFLOW, needed, info, length, [&] {
        auto* pool = reinterpret_cast<IP_ADDR_STRING*>(info + 1);
        CopyToField(info->HostName, fake.hostName);
        CopyToField(info->DomainName, fake.domainName);
        BuildChain(info->DnsServerList, fake.dnsServers, pool);
        info->CurrentDnsServer = &info->DnsServerList;
        info->NodeType = fake.nodeType;
        CopyToField(info->ScopeId, std::string("scope"));
        info->EnableRouting = 1;
        info->EnableProxy = 1;
        info->EnableDns = 1;
    });
}

DWORD WINAPI FakeIpHelper::GetAdaptersInfo(PIP_ADAPTER_INFO info, PULONG length)
{
    FakeIpHelper& fake = Active();
    ++fake.calls_.getAdaptersInfo;
    std::size_t nodes = 0;
    for (const FakeAdapter& adapter : fake.adapters)
        nodes += ExtraNodes(adapter.ipAddresses) + ExtraNodes(adapter.gateways) + ExtraNodes(adapter.dhcpServers) +
                 ExtraNodes(adapter.primaryWinsServers) + ExtraNodes(adapter.secondaryWinsServers);
    const ULONG needed =
        Bytes(fake.adapters.size() * sizeof(IP_ADAPTER_INFO) + nodes * sizeof(IP_ADDR_STRING));

    FakeSizedCall mode = fake.adaptersInfoCall;
    if (!mode.probeAnswer && fake.adapters.empty())
        mode.probeAnswer = ERROR_NO_DATA;
    return AnswerSized(mode, ERROR_BUFFER_OVERFLOW, needed, info, length, [&] {
        auto* pool = reinterpret_cast<IP_ADDR_STRING*>(info + fake.adapters.size());
        for (std::size_t i = 0; i < fake.adapters.size(); ++i) {
            const FakeAdapter& adapter = fake.adapters[i];
            IP_ADAPTER_INFO& out = info[i];
            out.Next = i + 1 < fake.adapters.size() ? &info[i + 1] : nullptr;
            out.ComboIndex = static_cast<DWORD>(i + 1);
            CopyToField(out.AdapterName, adapter.name);
            CopyToField(out.Description, adapter.description);
            out.AddressLength = 6;
            std::memset(out.Address, 0xA5, out.AddressLength);
            out.Index = adapter.index;
            out.Type = MIB_IF_TYPE_ETHERNET;
            out.DhcpEnabled = adapter.dhcpEnabled;
            BuildChain(out.IpAddressList, adapter.ipAddresses, pool);
            out.CurrentIpAddress = &out.IpAddressList;
            BuildChain(out.GatewayList, adapter.gateways, pool);
            BuildChain(out.DhcpServer, adapter.dhcpServers, pool);
            out.HaveWins = adapter.haveWins;
            BuildChain(out.PrimaryWinsServer, adapter.primaryWinsServers, pool);
            BuildChain(out.SecondaryWinsServer, adapter.secondaryWinsServers, pool);
            out.LeaseObtained = 1000;
            out.LeaseExpires = 2000;
        }
    });
}

DWORD WINAPI FakeIpHelper::GetPerAdapterInfo(ULONG index, PIP_PER_ADAPTER_INFO info, PULONG length)
{
    FakeIpHelper& fake = Active();
    ++fake.calls_.getPerAdapterInfo;
    fake.perAdapterIndexes_.push_back(index);
    const auto adapter = std::find_if(fake.adapters.begin(), fake.adapters.end(),
                                      [index](const FakeAdapter& candidate) { return candidate.index == index; });
    if (adapter == fake.adapters.end())
        return ERROR_NOT_FOUND;
    const ULONG needed = Bytes(sizeof(IP_PER_ADAPTER_INFO) + ExtraNodes(adapter->dnsServers) * sizeof(IP_ADDR_STRING));
    return AnswerSized(adapter->perAdapterCall, ERROR_BUFFER_OVERFLOW, needed, info, length, [&] {
        auto* pool = reinterpret_cast<IP_ADDR_STRING*>(info + 1);
        info->AutoconfigEnabled = adapter->autoconfigEnabled;
        info->AutoconfigActive = adapter->autoconfigActive;
        BuildChain(info->DnsServerList, adapter->dnsServers, pool);
        info->CurrentDnsServer = &info->DnsServerList;
    });
}

DWORD WINAPI FakeIpHelper::GetInterfaceInfo(PIP_INTERFACE_INFO info, PULONG length)
{
    FakeIpHelper& fake = Active();
    ++fake.calls_.getInterfaceInfo;
    const ULONG needed = Bytes(std::max(sizeof(IP_INTERFACE_INFO), offsetof(IP_INTERFACE_INFO, Adapter) +
                                                                        fake.interfaces.size() *
                                                                            sizeof(IP_ADAPTER_INDEX_MAP)));
    return AnswerSized(fake.interfaceInfoCall, ERROR_INSUFFICIENT_BUFFER, needed, info, length, [&] {
        info->NumAdapters = fake.numAdapters.value_or(static_cast<LONG>(fake.interfaces.size()));
        IP_ADAPTER_INDEX_MAP* entries = info->Adapter;
        for (std::size_t i = 0; i < fake.interfaces.size(); ++i) {
            entries[i].Index = fake.interfaces[i].index;
            CopyToField(entries[i].Name, fake.interfaces[i].name);
        }
    });
}

DWORD WINAPI FakeIpHelper::GetIfEntry(PMIB_IFROW row)
{
    FakeIpHelper& fake = Active();
    ++fake.calls_.getIfEntry;
    if (!row)
        return ERROR_INVALID_PARAMETER;
    const DWORD index = row->dwIndex;
    const auto entry = std::find_if(fake.interfaces.begin(), fake.interfaces.end(),
                                    [index](const FakeInterface& candidate) { return candidate.index == index; });
    if (entry == fake.interfaces.end())
        return ERROR_INVALID_DATA;
    if (entry->ifEntryAnswer != NO_ERROR)
        return entry->ifEntryAnswer;
    *row = entry->row;
    row->dwIndex = index;
    return NO_ERROR;
}

namespace {

template <typename Stats>
DWORD AnswerStats(int& count, DWORD answer, const Stats& source, Stats* out)
{
    ++count;
    if (!out)
        return ERROR_INVALID_PARAMETER;
    if (answer != NO_ERROR)
        return answer;
    *out = source;
    return NO_ERROR;
}

} // namespace

DWORD WINAPI FakeIpHelper::GetTcpStatistics(PMIB_TCPSTATS stats)
{
    FakeIpHelper& fake = Active();
    return AnswerStats(fake.calls_.getTcpStatistics, fake.tcpAnswer, fake.tcp, stats);
}

DWORD WINAPI FakeIpHelper::GetIpStatistics(PMIB_IPSTATS stats)
{
    FakeIpHelper& fake = Active();
    return AnswerStats(fake.calls_.getIpStatistics, fake.ipAnswer, fake.ip, stats);
}

DWORD WINAPI FakeIpHelper::GetUdpStatistics(PMIB_UDPSTATS stats)
{
    FakeIpHelper& fake = Active();
    return AnswerStats(fake.calls_.getUdpStatistics, fake.udpAnswer, fake.udp, stats);
}

DWORD WINAPI FakeIpHelper::GetIcmpStatistics(PMIB_ICMP stats)
{
    FakeIpHelper& fake = Active();
    return AnswerStats(fake.calls_.getIcmpStatistics, fake.icmpAnswer, fake.icmp, stats);
}

HLOCAL WINAPI FakeIpHelper::LocalAlloc(UINT flags, SIZE_T bytes)
{
    FakeIpHelper& fake = Active();
    HLOCAL memory = bytes <= fake.allocationLimit ? ::LocalAlloc(flags, bytes) : nullptr;
    fake.allocations_.push_back({flags, bytes, memory != nullptr});
    if (memory)
        fake.live_.insert(memory);
    return memory;
}

HLOCAL WINAPI FakeIpHelper::LocalFree(HLOCAL memory)
{
    FakeIpHelper& fake = Active();
    ++fake.frees_;
    if (fake.live_.erase(memory) == 0) {
        // Not ours: count it, and leave whatever it is alone.
        ++fake.foreignFrees_;
        return memory;
    }
    return ::LocalFree(memory);
}
