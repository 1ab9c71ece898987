// The netinfo module over the IP helper fake (tests/report/RealPlatform.sh runs it over the platform's own).
#include "netinfo/AdapterAddresses.h"
#include "netinfo/ErrorCheck.h"
#include "netinfo/NetworkInfo.h"
#include "netinfo/ProtocolStatistics.h"
#include "netinfo/SummaryText.h"
#include "support/FakeIpHelper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <map>

namespace netinfo {
bool operator==(const InterfaceRecord& a, const InterfaceRecord& b)
{
    return a.index == b.index && a.name == b.name && std::memcmp(&a.row, &b.row, sizeof a.row) == 0;
}
}  // namespace netinfo

using namespace netinfo;

namespace {

AdapterRecord Adapter(ULONG index, std::string name, std::vector<AddressList> lists, PerAdapterRecord perAdapter = {},
                      std::string description = "")
{
    return {index,    std::move(name), std::move(description), !lists[2].empty(), !lists[3].empty(),
            lists[0], lists[1],        lists[2],               lists[3],          lists[4],
            std::move(perAdapter)};
}

const AdapterRecord kOldAdapter = Adapter(2, "old", {{"192.168.1.9"}, {}, {}, {}, {}}, {1, 1, {"9.9.9.9"}});
const InterfaceRecord kOldInterface{2, L"old", {.dwInOctets = 77}};

// A query run over data the caller holds: its result, whether the data survived, what the platform answered.
template <typename T>
std::function<std::tuple<HRESULT, bool, DWORD>()> Over(T before, HRESULT (NetworkInfo::*query)(T&) const)
{
    return [=] {
        T data = before;
        DWORD answer = NO_ERROR;
        const HRESULT hr = (NetworkInfo(&answer).*query)(data);
        return std::tuple{hr, data == before, answer};
    };
}

template <FakeSizedCall FakeIpHelper::*Call>
FakeSizedCall& CallOf(FakeIpHelper& fake)
{
    return fake.*Call;
}

FakeSizedCall& PerAdapterCall(FakeIpHelper& fake)
{
    return fake.adapters[0].perAdapterCall;
}

const struct {
    const char* name;
    FakeSizedCall& (*call)(FakeIpHelper&);
    int FakeCalls::*platformCalls;
    DWORD otherOverflow;       // the overflow answer of the other probe kind
    std::size_t blocks;        // QueryAdapters runs a per-adapter query for its adapter too
    std::size_t fixedPart;     // the least a block holds, whatever the probe said
    std::function<std::tuple<HRESULT, bool, DWORD>()> run;
} kQueries[] = {
    {"QueryNetworkParams", CallOf<&FakeIpHelper::networkParamsCall>, &FakeCalls::networkParams,
     ERROR_INSUFFICIENT_BUFFER, 1, sizeof(FIXED_INFO),
     Over<NetworkParams>({"old", "old.domain", 4, {"1.1.1.1"}}, &NetworkInfo::QueryNetworkParams)},
    {"QueryAdapters", CallOf<&FakeIpHelper::adaptersInfoCall>, &FakeCalls::adaptersInfo, ERROR_INSUFFICIENT_BUFFER,
     2, sizeof(IP_ADAPTER_INFO), Over<AdapterList>({kOldAdapter}, &NetworkInfo::QueryAdapters)},
    {"QueryPerAdapterInfo", PerAdapterCall, &FakeCalls::perAdapterInfo, ERROR_INSUFFICIENT_BUFFER, 1,
     sizeof(IP_PER_ADAPTER_INFO), Over<AdapterRecord>(kOldAdapter, &NetworkInfo::QueryPerAdapterInfo)},
    // FindInterface sizes as QueryInterfaces, which it calls: its own rules are the Records case's.
    {"QueryInterfaces", CallOf<&FakeIpHelper::interfaceInfoCall>, &FakeCalls::interfaceInfo, ERROR_BUFFER_OVERFLOW, 1,
     offsetof(IP_INTERFACE_INFO, Adapter), Over<InterfaceList>({kOldInterface}, &NetworkInfo::QueryInterfaces)},
};

void OneAdapterAndItsInterface(FakeIpHelper& fake)
{
    fake.adapters = {{.index = 2, .name = "CISCO1", .ipAddresses = {"10.0.0.5"}, .dnsServers = {"10.0.0.53"}}};
    fake.interfaces = {{.index = 2, .name = L"CISCO1", .row = {.dwSpeed = 11000000}}};
}

TEST(SizingProtocol, EveryQueryEveryOutcome)
{
    // One way the protocol can go, and what every query must then do and say the platform answered.
    using Script = void (*)(FakeSizedCall&, DWORD otherOverflow);
    constexpr DWORD kOther = 1, kOwn = 2;  // the other overflow answer, the query's own
    const struct {
        const char* name;
        Script script;
        HRESULT result;
        int platformCalls;
        bool allocates;
        DWORD answer = NO_ERROR;
    } outcomes[] = {
        {"a working platform", [](FakeSizedCall& c, DWORD) { c.probeSize = 4096; }, S_OK, 2, true},
        {"probe answers NO_ERROR", [](FakeSizedCall& c, DWORD) { c.probeAnswer = NO_ERROR; }, E_UNEXPECTED, 1, false},
        {"probe answers ERROR_NOT_SUPPORTED", [](FakeSizedCall& c, DWORD) { c.probeAnswer = ERROR_NOT_SUPPORTED; },
         E_UNEXPECTED, 1, false, ERROR_NOT_SUPPORTED},
        {"probe answers ERROR_NO_DATA", [](FakeSizedCall& c, DWORD) { c.probeAnswer = ERROR_NO_DATA; }, E_UNEXPECTED,
         1, false, ERROR_NO_DATA},
        {"probe answers the other overflow, with a size",
         [](FakeSizedCall& c, DWORD other) { c.probeAnswer = other, c.probeSize = 512; }, E_UNEXPECTED, 1, false,
         kOther},
        {"no memory for the probed size", [](FakeSizedCall& c, DWORD) { c.probeSize = 0xFFFFFFFFu; }, E_OUTOFMEMORY, 1,
         true, ERROR_OUTOFMEMORY},
        {"second call fails", [](FakeSizedCall& c, DWORD) { c.fillAnswer = ERROR_INVALID_DATA; }, E_FAIL, 2, true,
         ERROR_INVALID_DATA},
        {"data grew after the probe", [](FakeSizedCall& c, DWORD) { c.probeSize = 8; }, E_FAIL, 2, true, kOwn},
    };
    for (const auto& query : kQueries) {
        for (const auto& outcome : outcomes) {
            SCOPED_TRACE(std::string(query.name) + ": " + outcome.name);
            FakeIpHelper fake;
            OneAdapterAndItsInterface(fake);
            outcome.script(query.call(fake), query.otherOverflow);
            const auto [result, kept, answer] = query.run();
            EXPECT_EQ(result, outcome.result);
            const DWORD own = query.otherOverflow == ERROR_BUFFER_OVERFLOW ? ERROR_INSUFFICIENT_BUFFER
                                                                           : ERROR_BUFFER_OVERFLOW;
            EXPECT_EQ(answer, outcome.answer == kOther ? query.otherOverflow : outcome.answer == kOwn ? own
                                                                                                     : outcome.answer);
            EXPECT_EQ(kept, outcome.result != S_OK) << "the caller's data changes only on success";
            EXPECT_EQ(fake.calls.*query.platformCalls, outcome.platformCalls) << "no second probe, no retry";
            ASSERT_EQ(fake.allocations.size(), !outcome.allocates ? 0 : outcome.result == S_OK ? query.blocks : 1);
            if (outcome.result == S_OK || outcome.result == E_OUTOFMEMORY) {
                EXPECT_EQ(fake.allocations[0].bytes, query.call(fake).probeSize) << "one block of the probed size";
            }
            const auto granted = std::count_if(fake.allocations.begin(), fake.allocations.end(),
                                               [](const auto& a) { return a.granted && a.flags == LPTR; });
            EXPECT_EQ(fake.live.size(), 0u) << "every block given back";
            EXPECT_EQ(fake.frees, int(granted)) << "every block an LPTR one, freed once";
            EXPECT_EQ(fake.foreignFrees, 0);
        }
        // A probe that asks for less than the structure's fixed part, and a platform that fills only what it was
        // given: the block is the fixed part all the same, so that reading the structure stays inside it.
        SCOPED_TRACE(std::string(query.name) + ": a two-byte probe");
        FakeIpHelper fake;
        OneAdapterAndItsInterface(fake);
        query.call(fake) = {.probeSize = 2, .fillsWhatItIsGiven = true};
        EXPECT_EQ(std::get<0>(query.run()), S_OK);
        ASSERT_FALSE(fake.allocations.empty());
        EXPECT_EQ(fake.allocations[0].bytes, query.fixedPart);
    }
}

TEST(Records, NetworkParamsAndAdaptersAsThePlatformGivesThem)
{
    FakeIpHelper fake;
    // Every server in order, empty and repeated ones too; no server: the head's empty text; full fields end there.
    const std::pair<FakeAddresses, AddressList> servers[] = {
        {{"10.0.0.53", "", "10.0.0.53"}, {"10.0.0.53", "", "10.0.0.53"}},
        {{}, {""}},
        {{"1234567890123456789"}, {"1234567890123456"}},
    };
    for (const auto& [dns, expected] : servers) {
        fake.hostName = std::string(200, 'h'), fake.domainName = "corp", fake.nodeType = 8, fake.dnsServers = dns;
        NetworkParams params{"old", "old.domain", 4, {"1.1.1.1", "2.2.2.2", "3.3.3.3", "4.4.4.4"}};  // nothing merged
        ASSERT_EQ(NetworkInfo().QueryNetworkParams(params), S_OK);
        EXPECT_EQ(params, (NetworkParams{std::string(132, 'h'), "corp", 8, expected}));
    }
    AdapterList none;
    EXPECT_EQ(NetworkInfo().QueryAdapters(none), E_UNEXPECTED) << "no adapter: the probe answers ERROR_NO_DATA";
    // DHCP and WINS off on the second: their lists empty, however the platform's heads read.
    fake.adapters = {{.index = 2, .name = "CISCO1", .description = "Cisco Aironet 350", .dhcpEnabled = true,
                      .haveWins = true, .ipAddresses = {"10.0.0.5", "10.0.0.6"}, .gateways = {"10.0.0.1"},
                      .dhcpServers = {"10.0.0.2"}, .primaryWinsServers = {"10.0.0.3"},
                      .secondaryWinsServers = {"10.0.0.4", ""}, .autoconfigEnabled = 1,
                      .dnsServers = {"10.0.0.53", "10.0.1.53"}},
                     {.index = 7, .name = std::string(300, 'n'), .description = std::string(140, 'x'),
                      .ipAddresses = {"1234567890123456789"}, .dhcpServers = {"1.1.1.1"},
                      .primaryWinsServers = {"2.2.2.2"}, .secondaryWinsServers = {"3.3.3.3"}, .autoconfigActive = 1,
                      .dnsServers = {"192.168.55.100"}}};
    // Fields the platform filled to their last byte end there: 260, 132 and 16 characters.
    const AdapterRecord full =
        Adapter(7, std::string(260, 'n'), {{"1234567890123456"}, {""}, {}, {}, {}}, {}, std::string(132, 'x'));
    AdapterRecord withDns = full;
    withDns.perAdapter = {0, 1, {"192.168.55.100"}};
    const AdapterRecord wireless =
        Adapter(2, "CISCO1", {{"10.0.0.5", "10.0.0.6"}, {"10.0.0.1"}, {"10.0.0.2"}, {"10.0.0.3"}, {"10.0.0.4", ""}},
                {1, 0, {"10.0.0.53", "10.0.1.53"}}, "Cisco Aironet 350");
    AdapterList adapters{kOldAdapter};
    ASSERT_EQ(NetworkInfo().QueryAdapters(adapters), S_OK);
    EXPECT_EQ(adapters, (AdapterList{kOldAdapter, wireless, withDns})) << "appended in platform order";
    // A failed per-adapter query leaves zeros and no DNS, and the inventory goes on.
    const FakeSizedCall failures[] = {{.probeAnswer = ERROR_NOT_SUPPORTED}, {.probeSize = 0xFFFFFFFFu},
                                      {.fillAnswer = ERROR_INVALID_DATA}};
    for (const FakeSizedCall& failure : failures) {
        fake.adapters[1].perAdapterCall = failure;
        adapters.clear();
        ASSERT_EQ(NetworkInfo().QueryAdapters(adapters), S_OK);
        EXPECT_EQ(adapters, (AdapterList{wireless, full}));
    }
    AdapterRecord record = full;  // alone: only perAdapter changes
    fake.adapters[1].perAdapterCall = {};
    ASSERT_EQ(NetworkInfo().QueryPerAdapterInfo(record), S_OK);
    EXPECT_EQ(record, withDns);
}

TEST(Records, InterfacesWithTheirRowsAndTheSearchByIndex)
{
    FakeIpHelper fake;
    fake.interfaces = {{.index = 4, .name = L"\\DEVICE\\TCPIP_CISCO1", .row = {.dwInOctets = 100}},
                       {.index = 6, .name = L"dead", .row = {.dwInOctets = 5}, .ifEntryAnswer = ERROR_INVALID_DATA},
                       {.index = 6, .name = std::wstring(200, L'w'), .row = {.dwOutQLen = 202}}};
    InterfaceList interfaces{kOldInterface};
    ASSERT_EQ(NetworkInfo().QueryInterfaces(interfaces), S_OK);
    // A failed GetIfEntry (for index 6, both) leaves zeros and the index; the list goes on; a full Name ends at its
    // 128 characters.
    EXPECT_EQ(interfaces, (InterfaceList{kOldInterface,
                                         {4, L"\\DEVICE\\TCPIP_CISCO1", {.dwIndex = 4, .dwInOctets = 100}},
                                         {6, L"dead", {.dwIndex = 6}},
                                         {6, std::wstring(128, L'w'), {.dwIndex = 6}}}));
    for (const auto& [count, records] : {std::pair{0L, 0u}, {-1L, 0u}, {LONG(0x80000000), 0u}, {100000L, 3u}}) {
        fake.numAdapters = count;  // none for 0 or less; never beyond the returned buffer
        interfaces.clear();
        EXPECT_EQ(NetworkInfo().QueryInterfaces(interfaces), S_OK);
        EXPECT_EQ(interfaces.size(), records) << count;
    }
    fake.numAdapters.reset();
    fake.interfaces[1].ifEntryAnswer = NO_ERROR;
    InterfaceRecord found = kOldInterface;
    ASSERT_EQ(NetworkInfo().FindInterface(6, found), S_OK);  // the first of two, asked again each time
    EXPECT_EQ(found, (InterfaceRecord{6, L"dead", {.dwIndex = 6, .dwInOctets = 5}}));
    found = kOldInterface;
    EXPECT_EQ(NetworkInfo().FindInterface(9, found), E_INVALIDARG);
    EXPECT_EQ(found, kOldInterface);
}

// A loop or a Next outside the block the platform filled ends the walk: each node is read once.
IP_ADDR_STRING g_stray{nullptr, {"6.6.6.6"}, {""}, 0};
const IpHelperApi* g_real = nullptr;
void (*g_damageAdapters)(IP_ADAPTER_INFO&) = nullptr;
void (*g_damageParams)(FIXED_INFO&) = nullptr;

TEST(Records, ChainsEndAtLoopsStrayLinksAndNull)
{
    FakeIpHelper fake;
    fake.dnsServers = {"10.0.0.1", "10.0.0.2", "10.0.0.3"};
    fake.adapters = {{.index = 2, .name = "first", .ipAddresses = {"10.0.0.5", "10.0.0.6"}},
                     {.index = 3, .name = "second"}};
    g_real = &fake.api;
    IpHelperApi table = fake.api;
    table.getAdaptersInfo = [](PIP_ADAPTER_INFO info, PULONG length) {
        const DWORD answer = g_real->getAdaptersInfo(info, length);
        return info && answer == NO_ERROR ? (g_damageAdapters(*info), answer) : answer;
    };
    table.getNetworkParams = [](PFIXED_INFO info, PULONG length) {
        const DWORD answer = g_real->getNetworkParams(info, length);
        return info && answer == NO_ERROR ? (g_damageParams(*info), answer) : answer;
    };
    IpHelperApiOverride use(table);
    // Every damage keeps the first adapter's two addresses; the adapters read, by name.
    const std::pair<void (*)(IP_ADAPTER_INFO&), std::vector<std::string>> adapterCases[] = {
        {[](IP_ADAPTER_INFO& first) { first.Next->Next = &first; }, {"first", "second"}},
        {[](IP_ADAPTER_INFO& first) { first.IpAddressList.Next->Next = &first.IpAddressList; }, {"first", "second"}},
        {[](IP_ADAPTER_INFO& first) { first.Next = reinterpret_cast<IP_ADAPTER_INFO*>(&g_stray); }, {"first"}},
        {[](IP_ADAPTER_INFO& first) { first.IpAddressList.Next->Next = &g_stray; }, {"first", "second"}},
    };
    for (const auto& [damage, names] : adapterCases) {
        g_damageAdapters = damage;
        AdapterList adapters;
        ASSERT_EQ(NetworkInfo().QueryAdapters(adapters), S_OK);
        std::vector<std::string> read;
        for (const AdapterRecord& adapter : adapters)
            read.push_back(adapter.name);
        EXPECT_EQ(read, names);
        EXPECT_EQ(adapters.at(0).ipAddresses, (AddressList{"10.0.0.5", "10.0.0.6"}));
    }
    const std::pair<void (*)(FIXED_INFO&), AddressList> dnsCases[] = {
        {[](FIXED_INFO& info) { info.DnsServerList.Next->Next->Next = info.DnsServerList.Next; },
         {"10.0.0.1", "10.0.0.2", "10.0.0.3"}},
        {[](FIXED_INFO& info) { info.DnsServerList.Next->Next = &g_stray; }, {"10.0.0.1", "10.0.0.2"}},
    };
    for (const auto& [damage, servers] : dnsCases) {
        g_damageParams = damage;
        NetworkParams params;
        ASSERT_EQ(NetworkInfo().QueryNetworkParams(params), S_OK);
        EXPECT_EQ(params.dnsServers, servers);
    }
    EXPECT_EQ(fake.live.size(), 0u);

    // AddressChainToList walks a chain the caller holds, where only null or a loop can end it.
    IP_ADDR_STRING nodes[3] = {{&nodes[1], {"10.0.0.2"}, {"255.0.0.0"}, 0}, {&nodes[2], {""}, {"255.0.0.0"}, 0},
                               {nullptr, {}, {"255.0.0.0"}, 0}};
    std::memset(nodes[2].IpAddress.String, '7', 16);
    const AddressList all{"10.0.0.2", "", std::string(16, '7')};
    EXPECT_EQ(AddressChainToList(nullptr), AddressList{});
    EXPECT_EQ(AddressChainToList(&nodes[0]), all);
    nodes[2].Next = &nodes[1];
    EXPECT_EQ(AddressChainToList(&nodes[0]), all) << "a loop";
}

// GetAdaptersAddresses: a list that grows between the probe and the fill is asked again three times at most; every
// walk stays in the block and stops on a loop; an address whose length is not its family's is skipped.
void (*g_damageAddresses)(IP_ADAPTER_ADDRESSES&) = nullptr;
SOCKADDR_IN g_strayAddress{AF_INET, 0, {}, {}};
IP_ADAPTER_GATEWAY_ADDRESS g_strayGateway{};

TEST(AdapterAddresses, GrowingListsLoopsAndAddressesOfTheWrongLength)
{
    using Shape = std::tuple<std::wstring, std::vector<uint8_t>, std::size_t, std::size_t>;  // prefixes, gateways, DNS
    const Shape eth0{L"eth0", {24, 64, 64}, 1, 2}, lo{L"lo", {8, 128}, 0, 0};
    using Address = IP_ADAPTER_ADDRESSES;
    const struct {
        const char* name;
        int growths;
        void (*damage)(Address&);
        std::vector<Shape> shapes;
        HRESULT result = S_OK;
        int calls = 2;  // the probe and every fill
    } cases[] = {
        {"as the platform gives it", 0, nullptr, {eth0, lo}},
        {"the list grew three times", 3, nullptr, {eth0, lo}, S_OK, 5},
        {"the list grew four times", 4, nullptr, {{L"old", {}, 0, 0}}, HRESULT_FROM_WIN32(ERROR_BUFFER_OVERFLOW), 5},
        {"the second adapter leads back to the first", 0, [](Address& a) { a.Next->Next = &a; }, {eth0, lo}},
        {"the third address leads back to the first", 0,
         [](Address& a) { a.FirstUnicastAddress->Next->Next->Next = a.FirstUnicastAddress; }, {eth0, lo}},
        {"an IPv6 address with the length of an IPv4 one", 0,
         [](Address& a) { a.FirstUnicastAddress->Next->Address.iSockaddrLength = 16; },
         {{L"eth0", {24, 64}, 1, 2}, lo}},
        {"an IPv4 address with a longer length", 0,
         [](Address& a) { a.FirstUnicastAddress->Address.iSockaddrLength = 28; }, {{L"eth0", {64, 64}, 1, 2}, lo}},
        {"a DNS server's address outside the block", 0,
         [](Address& a) { a.FirstDnsServerAddress->Address.lpSockaddr = reinterpret_cast<SOCKADDR*>(&g_strayAddress); },
         {{L"eth0", {24, 64, 64}, 1, 1}, lo}},
        {"a gateway node outside the block", 0, [](Address& a) { a.Next->FirstGatewayAddress = &g_strayGateway; },
         {eth0, lo}},
        {"a name outside the block", 0, [](Address& a) { a.FriendlyName = const_cast<PWCHAR>(L"elsewhere"); },
         {{L"", {24, 64, 64}, 1, 2}, lo}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeIpHelper fake;
        fake.addressAdapters = {{.friendlyName = L"eth0", .unicast = {{L"192.0.2.2", 24}, {L"fd00::2", 64},
                                                                      {L"fe80::2%4", 64}},
                                 .gateways = {L"192.0.2.1"}, .dnsServers = {L"192.0.2.53", L"fd00::53"}},
                                {.friendlyName = L"lo", .unicast = {{L"127.0.0.1", 8}, {L"::1", 128}}}};
        fake.addressesGrowths = c.growths;
        g_real = &fake.api, g_damageAddresses = c.damage;
        IpHelperApi table = fake.api;
        table.getAdaptersAddresses = [](ULONG family, ULONG flags, PVOID reserved, PIP_ADAPTER_ADDRESSES out,
                                        PULONG length) {
            const ULONG answer = g_real->getAdaptersAddresses(family, flags, reserved, out, length);
            return out && answer == NO_ERROR && g_damageAddresses ? (g_damageAddresses(*out), answer) : answer;
        };
        const IpHelperApiOverride use(table);
        AdapterAddressesList adapters{{.friendlyName = L"old"}};
        EXPECT_EQ(QueryAdapterAddresses(adapters), c.result);
        EXPECT_EQ(fake.calls.adaptersAddresses, c.calls);
        std::vector<Shape> shapes;
        for (const AdapterAddresses& adapter : adapters) {
            std::vector<uint8_t> prefixes;
            for (const UnicastAddress& unicast : adapter.unicast)
                prefixes.push_back(unicast.prefixLength);
            shapes.emplace_back(adapter.friendlyName, prefixes, adapter.gateways.size(), adapter.dnsServers.size());
        }
        EXPECT_EQ(shapes, c.shapes);
        EXPECT_EQ(fake.live.size(), 0u) << "every block given back";
    }
}

TEST(SummaryText, EveryConfiguredServerFollowedByItsSeparator)
{
    const std::pair<NetworkParams, std::wstring> cases[] = {
        {{}, L"Host: \r\nDomain: \r\n"},
        {{"h", "d", 0, {"", "10.0.0.2", "", "10.0.0.2"}},
         L"Host: h\r\nDomain: d\r\nDNS servers: 10.0.0.2, 10.0.0.2, \r\n"},
        {{std::string(300, 'h'), "", 0, {""}},
         L"Host: " + std::wstring(300, L'h') + L"\r\nDomain: \r\nDNS servers: \r\n"},
    };
    for (const auto& [params, expected] : cases)
        EXPECT_EQ(ComposeSummaryText(params), expected);
}

TEST(ErrorCheck, PassesSuccessAndRaisesFailureWithTheLastComponentOfItsSource)
{
    const std::string longSource = "C:\\dir\\" + std::string(100, 'n');
    const std::tuple<HRESULT, const char*, std::string> cases[] = {
        {S_FALSE, "", ""}, {HRESULT(INT_MAX), "", ""}, {E_OUTOFMEMORY, "dir\\", ""}, {E_INVALIDARG, nullptr, ""},
        {E_FAIL, "ViewSummary/ViewSummary", "ViewSummary/ViewSummary"},  // only backslashes separate
        {E_UNEXPECTED, "C:\\src\\Page1.cpp", "Page1.cpp"}, {HRESULT(-1), longSource.c_str(), std::string(63, 'n')},
    };
    for (const auto& [hr, source, expected] : cases) {
        try {
            EXPECT_EQ(ErrorCheck(hr, source, -5), hr);
            EXPECT_GE(hr, 0) << "a failure passed";
        } catch (const ErrT& error) {
            EXPECT_LT(hr, 0) << "a success raised";
            EXPECT_EQ(std::tuple(error.code, error.line, std::string(error.source)), std::tuple(hr, -5, expected));
        }
    }
}

}  // namespace
