// Chains the platform links wrongly: a loop, or a Next that leaves the block
// the query was given. The walk must end, and read nothing outside the block.
#include "FakeIpHelper.h"
#include "netinfo/IpHelperApi.h"
#include "netinfo/NetworkInfo.h"

#include <gtest/gtest.h>

using namespace netinfo;

namespace {

// A node outside every block; reading it would show its text.
IP_ADDR_STRING g_stray{nullptr, {"6.6.6.6"}, {""}, 0};

// Wraps the fake: after it fills the block, `damage` rewires the links.
struct Damaged {
    static inline const IpHelperApi* fake = nullptr;
    static inline void (*damageAdapters)(IP_ADAPTER_INFO&) = nullptr;
    static inline void (*damageParams)(FIXED_INFO&) = nullptr;

    static DWORD WINAPI GetAdaptersInfo(PIP_ADAPTER_INFO info, PULONG length)
    {
        const DWORD answer = fake->getAdaptersInfo(info, length);
        if (info && answer == NO_ERROR && damageAdapters)
            damageAdapters(*info);
        return answer;
    }

    static DWORD WINAPI GetNetworkParams(PFIXED_INFO info, PULONG length)
    {
        const DWORD answer = fake->getNetworkParams(info, length);
        if (info && answer == NO_ERROR && damageParams)
            damageParams(*info);
        return answer;
    }
};

class ChainBounds : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake.hostName = "pda1";
        fake.dnsServers = {"10.0.0.1", "10.0.0.2"};
        fake.adapters.push_back({.index = 2, .name = "first", .ipAddresses = {"10.0.0.5", "10.0.0.6"}});
        fake.adapters.push_back({.index = 3, .name = "second"});
        Damaged::fake = &fake.api();
        table = fake.api();
        table.getAdaptersInfo = &Damaged::GetAdaptersInfo;
        table.getNetworkParams = &Damaged::GetNetworkParams;
    }

    void TearDown() override
    {
        Damaged::damageAdapters = nullptr;
        Damaged::damageParams = nullptr;
    }

    FakeIpHelper fake;
    IpHelperApi table{};
};

TEST_F(ChainBounds, AnAdapterLoopEndsTheWalk)
{
    Damaged::damageAdapters = [](IP_ADAPTER_INFO& first) { first.Next->Next = &first; };
    IpHelperApiOverride use(table);
    AdapterList adapters;
    ASSERT_EQ(NetworkInfo().QueryAdapters(adapters), S_OK);
    // Bounded by what the block can hold, and it starts as the platform linked it.
    ASSERT_GE(adapters.size(), 2u);
    EXPECT_LE(adapters.size(), 3u);
    EXPECT_EQ(adapters[0].name, "first");
    EXPECT_EQ(adapters[1].name, "second");
    EXPECT_EQ(fake.liveAllocations(), 0u);
}

TEST_F(ChainBounds, AnAddressLoopEndsTheWalk)
{
    Damaged::damageAdapters = [](IP_ADAPTER_INFO& first) {
        first.IpAddressList.Next->Next = &first.IpAddressList;
    };
    IpHelperApiOverride use(table);
    AdapterList adapters;
    ASSERT_EQ(NetworkInfo().QueryAdapters(adapters), S_OK);
    ASSERT_EQ(adapters.size(), 2u);
    const AddressList& addresses = adapters[0].ipAddresses;
    ASSERT_GE(addresses.size(), 2u);
    EXPECT_EQ(addresses[0], "10.0.0.5");
    EXPECT_EQ(addresses[1], "10.0.0.6");
}

TEST_F(ChainBounds, ANextOutsideTheBlockIsNotFollowed)
{
    Damaged::damageParams = [](FIXED_INFO& info) { info.DnsServerList.Next->Next = &g_stray; };
    Damaged::damageAdapters = [](IP_ADAPTER_INFO& first) { first.Next = reinterpret_cast<IP_ADAPTER_INFO*>(&g_stray); };
    IpHelperApiOverride use(table);

    NetworkParams params;
    ASSERT_EQ(NetworkInfo().QueryNetworkParams(params), S_OK);
    EXPECT_EQ(params.dnsServers, (AddressList{"10.0.0.1", "10.0.0.2"}));

    AdapterList adapters;
    ASSERT_EQ(NetworkInfo().QueryAdapters(adapters), S_OK);
    ASSERT_EQ(adapters.size(), 1u);
    EXPECT_EQ(adapters[0].name, "first");
}

}  // namespace
