// Thousands of queries of every kind, failing and succeeding, give back
// every block of the local heap they take.
#include "FakeIpHelper.h"
#include "netinfo/InterfaceStatus.h"
#include "netinfo/NetworkInfo.h"
#include "netinfo/ProtocolStatistics.h"

#include <gtest/gtest.h>

using namespace netinfo;

namespace {

// The ways a sized call can go, used in turn.
const FakeSizedCall kModes[] = {
    {},
    {.probeAnswer = NO_ERROR},
    {.probeSize = 0xFFFFFFFFu},
    {.fillAnswer = ERROR_INVALID_DATA},
    {.probeSize = 8},
    {.probeSize = 8192},
};

void Script(FakeIpHelper& fake)
{
    fake.hostName = "pocket";
    fake.dnsServers = {"10.0.0.53", "10.0.1.53"};
    fake.adapters = {{.index = 2, .name = "CISCO1", .dhcpEnabled = true, .haveWins = true,
                      .ipAddresses = {"10.0.0.5", "10.0.0.6"}, .dhcpServers = {"10.0.0.2"},
                      .primaryWinsServers = {"10.0.0.3"}, .secondaryWinsServers = {"10.0.0.4"},
                      .dnsServers = {"10.0.0.53", "10.0.1.53"}},
                     {.index = 3, .name = "PPP_PEER", .ipAddresses = {"192.168.55.101"}}};
    fake.interfaces = {{.index = 2, .name = L"CISCO1"}, {.index = 3, .name = L"PPP_PEER"}};
}

TEST(LocalHeap, EveryQueryGivesBackEveryBlock)
{
    FakeIpHelper fake;
    Script(fake);
    const NetworkInfo info;
    const ProtocolStatistics statistics;
    int successes = 0;
    for (int round = 0; round < 3000; ++round) {
        const FakeSizedCall& mode = kModes[round % std::size(kModes)];
        fake.networkParamsCall = mode;
        fake.adaptersInfoCall = kModes[(round / 2) % std::size(kModes)];
        fake.adapters[1].perAdapterCall = mode;
        fake.interfaceInfoCall = mode;
        fake.tcpAnswer = round % 3 ? NO_ERROR : ERROR_NOT_SUPPORTED;

        NetworkParams params;
        successes += info.QueryNetworkParams(params) == S_OK;
        AdapterList adapters;
        successes += info.QueryAdapters(adapters) == S_OK;
        AdapterRecord adapter;
        adapter.index = 3;
        successes += info.QueryPerAdapterInfo(adapter) == S_OK;
        InterfaceList interfaces;
        successes += info.QueryInterfaces(interfaces) == S_OK;
        InterfaceRecord found;
        successes += info.FindInterface(3, found) == S_OK;
        NameValueList rows;
        successes += statistics.ReadTcpStatistics(rows) == S_OK;
        AppendInterfaceStatusRows(found, rows);
    }

    std::size_t granted = 0;
    for (const FakeAllocation& block : fake.allocations())
        granted += block.granted;
    // The loop really took blocks, succeeded and failed.
    EXPECT_GT(granted, 10000u);
    EXPECT_GT(successes, 3000);
    EXPECT_LT(successes, 6 * 3000);
    EXPECT_EQ(0u, fake.liveAllocations());
    EXPECT_EQ(static_cast<int>(granted), fake.frees());
    EXPECT_EQ(0, fake.foreignFrees());
}

// The check above can fail: a block taken through the table and not given
// back shows, and so does giving back one the table never gave.
TEST(LocalHeap, TheAccountingSeesALeakAndAForeignFree)
{
    FakeIpHelper fake;
    const IpHelperApi& api = CurrentIpHelperApi();
    HLOCAL kept = api.localAlloc(LPTR, 64);
    ASSERT_NE(nullptr, kept);
    EXPECT_EQ(1u, fake.liveAllocations());
    int local = 0;
    api.localFree(&local);
    EXPECT_EQ(1, fake.foreignFrees());
    api.localFree(kept);
    EXPECT_EQ(0u, fake.liveAllocations());
}

} // namespace
