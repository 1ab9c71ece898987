// The adapter inventory: adapter records, their address lists and the
// per-adapter data fetched for each.
#include "FakeIpHelper.h"
#include "NetinfoTestSupport.h"
#include "netinfo/NetworkInfo.h"

#include <gtest/gtest.h>

using namespace netinfo;

namespace {

class AdapterInventory : public testing::Test {
protected:
    FakeIpHelper fake;
    AdapterList adapters;
    HRESULT Query() { return NetworkInfo().QueryAdapters(adapters); }
};

FakeAdapter Wireless()
{
    return {.index = 2,
            .name = "CISCO1",
            .description = "Cisco Aironet 350",
            .dhcpEnabled = true,
            .haveWins = true,
            .ipAddresses = {"10.0.0.5", "10.0.0.6"},
            .gateways = {"10.0.0.1"},
            .dhcpServers = {"10.0.0.2"},
            .primaryWinsServers = {"10.0.0.3"},
            .secondaryWinsServers = {"10.0.0.4", ""},
            .autoconfigEnabled = 1,
            .autoconfigActive = 0,
            .dnsServers = {"10.0.0.53", "10.0.1.53"}};
}

FakeAdapter Cradle()
{
    return {.index = 7,
            .name = "PPP_PEER",
            .description = "Serial on USB",
            .ipAddresses = {"192.168.55.101"},
            .autoconfigEnabled = 0,
            .autoconfigActive = 1,
            .dnsServers = {"192.168.55.100"}};
}

TEST_F(AdapterInventory, TwoAdaptersInPlatformOrderWithEveryField)
{
    fake.adapters = {Wireless(), Cradle()};
    ASSERT_EQ(S_OK, Query());
    ASSERT_EQ(2u, adapters.size());

    const AdapterRecord& first = adapters[0];
    EXPECT_EQ(2u, first.index);
    EXPECT_EQ("CISCO1", first.name);
    EXPECT_EQ("Cisco Aironet 350", first.description);
    EXPECT_TRUE(first.dhcpEnabled);
    EXPECT_TRUE(first.haveWins);
    EXPECT_EQ(AddressList({"10.0.0.5", "10.0.0.6"}), first.ipAddresses);
    EXPECT_EQ(AddressList({"10.0.0.1"}), first.gateways);
    EXPECT_EQ(AddressList({"10.0.0.2"}), first.dhcpServers);
    EXPECT_EQ(AddressList({"10.0.0.3"}), first.primaryWinsServers);
    EXPECT_EQ(AddressList({"10.0.0.4", ""}), first.secondaryWinsServers);
    EXPECT_EQ(PerAdapterRecord({1, 0, {"10.0.0.53", "10.0.1.53"}}), first.perAdapter);

    const AdapterRecord& second = adapters[1];
    EXPECT_EQ(7u, second.index);
    EXPECT_EQ("PPP_PEER", second.name);
    EXPECT_EQ("Serial on USB", second.description);
    EXPECT_EQ(PerAdapterRecord({0, 1, {"192.168.55.100"}}), second.perAdapter);

    // Probe and fill of each per-adapter query asked for that adapter's index.
    EXPECT_EQ(std::vector<ULONG>({2, 2, 7, 7}), fake.perAdapterIndexes());
}

TEST_F(AdapterInventory, NewRecordsFollowTheOnesTheArrayHeld)
{
    AdapterRecord old;
    old.index = 99;
    old.name = "old";
    adapters = {old};
    fake.adapters = {Cradle()};
    ASSERT_EQ(S_OK, Query());
    ASSERT_EQ(2u, adapters.size());
    EXPECT_EQ(old, adapters[0]);
    EXPECT_EQ("PPP_PEER", adapters[1].name);
}

TEST_F(AdapterInventory, DhcpOffAndWinsOffLeaveTheirListsEmptyWhateverTheNodesHold)
{
    FakeAdapter adapter = Wireless();
    adapter.dhcpEnabled = false;
    adapter.haveWins = false;
    fake.adapters = {adapter};
    ASSERT_EQ(S_OK, Query());
    ASSERT_EQ(1u, adapters.size());
    EXPECT_FALSE(adapters[0].dhcpEnabled);
    EXPECT_FALSE(adapters[0].haveWins);
    EXPECT_TRUE(adapters[0].dhcpServers.empty());
    EXPECT_TRUE(adapters[0].primaryWinsServers.empty());
    EXPECT_TRUE(adapters[0].secondaryWinsServers.empty());
    EXPECT_EQ(AddressList({"10.0.0.5", "10.0.0.6"}), adapters[0].ipAddresses);
}

// Embedded list heads always give an entry: without a gateway, the empty
// text (or whatever the platform left in the head).
TEST_F(AdapterInventory, EmptyHeadsGiveOneEmptyEntryEach)
{
    FakeAdapter bare{.index = 3, .name = "bare", .dhcpEnabled = true, .haveWins = true};
    fake.adapters = {bare};
    ASSERT_EQ(S_OK, Query());
    ASSERT_EQ(1u, adapters.size());
    for (const AddressList* list : {&adapters[0].ipAddresses, &adapters[0].gateways, &adapters[0].dhcpServers,
                                    &adapters[0].primaryWinsServers, &adapters[0].secondaryWinsServers,
                                    &adapters[0].perAdapter.dnsServers})
        EXPECT_EQ(AddressList({""}), *list);
}

TEST_F(AdapterInventory, PerAdapterFailureOnTheSecondGivesItZerosAndNoDns)
{
    for (const FakeSizedCall& failure : {FakeSizedCall{.probeAnswer = ERROR_NOT_SUPPORTED},
                                         FakeSizedCall{.probeSize = 0xFFFFFFFFu},
                                         FakeSizedCall{.fillAnswer = ERROR_INVALID_DATA}}) {
        FakeAdapter second = Cradle();
        second.perAdapterCall = failure;
        fake.adapters = {Wireless(), second};
        adapters.clear();
        ASSERT_EQ(S_OK, Query());
        ASSERT_EQ(2u, adapters.size());
        EXPECT_EQ(PerAdapterRecord({1, 0, {"10.0.0.53", "10.0.1.53"}}), adapters[0].perAdapter);
        EXPECT_EQ(PerAdapterRecord(), adapters[1].perAdapter);
        EXPECT_EQ("PPP_PEER", adapters[1].name); // the rest of the record is there
    }
}

// AdapterName is 260 bytes and Description 132: full fields end there.
TEST_F(AdapterInventory, UnterminatedNameAndDescriptionEndAtTheirFields)
{
    FakeAdapter adapter = Cradle();
    adapter.name = Pattern(300);
    adapter.description = std::string(140, 'x');
    adapter.ipAddresses = {"1234567890123456789"};
    fake.adapters = {adapter};
    ASSERT_EQ(S_OK, Query());
    ASSERT_EQ(1u, adapters.size());
    EXPECT_EQ(Pattern(260), adapters[0].name);
    EXPECT_EQ(std::string(132, 'x'), adapters[0].description);
    EXPECT_EQ(AddressList({"1234567890123456"}), adapters[0].ipAddresses);
}

TEST_F(AdapterInventory, NoAdapterIsUnexpectedAndAppendsNothing)
{
    AdapterRecord old;
    old.name = "old";
    adapters = {old};
    EXPECT_EQ(E_UNEXPECTED, Query()); // the platform's probe answers ERROR_NO_DATA
    EXPECT_EQ(AdapterList({old}), adapters);
}

TEST(PerAdapterQuery, FillsOnlyPerAdapterForTheRecordsIndex)
{
    FakeIpHelper fake;
    fake.adapters = {Wireless(), Cradle()};
    AdapterRecord record;
    record.index = 7;
    record.name = "kept";
    record.ipAddresses = {"1.2.3.4"};
    record.perAdapter = {5, 5, {"old"}};
    ASSERT_EQ(S_OK, NetworkInfo().QueryPerAdapterInfo(record));
    AdapterRecord expected;
    expected.index = 7;
    expected.name = "kept";
    expected.ipAddresses = {"1.2.3.4"};
    expected.perAdapter = {0, 1, {"192.168.55.100"}};
    EXPECT_EQ(expected, record);
    EXPECT_EQ(std::vector<ULONG>({7, 7}), fake.perAdapterIndexes());
}

} // namespace
