// Network parameters and address chains.
#include "FakeIpHelper.h"
#include "NetinfoTestSupport.h"
#include "netinfo/NetworkInfo.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace netinfo;

namespace {

TEST(AddressChainToList, NullHeadGivesAnEmptyList)
{
    EXPECT_TRUE(AddressChainToList(nullptr).empty());
}

TEST(AddressChainToList, KeepsEveryNodeInChainOrderWithoutMasks)
{
    IP_ADDR_STRING nodes[4]{};
    const char* texts[] = {"10.0.0.2", "", "10.0.0.2", "255.255.255.255"};
    for (int i = 0; i < 4; ++i) {
        std::strcpy(nodes[i].IpAddress.String, texts[i]);
        std::strcpy(nodes[i].IpMask.String, "255.0.0.0");
        nodes[i].Next = i < 3 ? &nodes[i + 1] : nullptr;
    }
    EXPECT_EQ(AddressList({"10.0.0.2", "", "10.0.0.2", "255.255.255.255"}), AddressChainToList(&nodes[0]));
    // A head whose Next is null gives one entry.
    EXPECT_EQ(AddressList({"255.255.255.255"}), AddressChainToList(&nodes[3]));
}

TEST(AddressChainToList, TextFillingItsWholeFieldEndsAtTheField)
{
    IP_ADDR_STRING node{};
    std::memset(node.IpAddress.String, '7', sizeof node.IpAddress.String);
    std::memset(node.IpMask.String, 'm', sizeof node.IpMask.String);
    EXPECT_EQ(AddressList({std::string(16, '7')}), AddressChainToList(&node));
}

class NetworkParamsQuery : public testing::Test {
protected:
    FakeIpHelper fake;
    NetworkParams params;
    HRESULT Query() { return NetworkInfo().QueryNetworkParams(params); }
};

TEST_F(NetworkParamsQuery, CopiesEveryFieldAndTheDnsChainInOrder)
{
    fake.hostName = "pocket";
    fake.domainName = "corp.example";
    fake.nodeType = 8;
    fake.dnsServers = {"10.0.0.53", "10.0.1.53", "192.168.0.1"};
    ASSERT_EQ(S_OK, Query());
    EXPECT_EQ("pocket", params.hostName);
    EXPECT_EQ("corp.example", params.domainName);
    EXPECT_EQ(8u, params.nodeType);
    EXPECT_EQ(AddressList({"10.0.0.53", "10.0.1.53", "192.168.0.1"}), params.dnsServers);
}

TEST_F(NetworkParamsQuery, NoDnsServerGivesOneEmptyEntry)
{
    fake.hostName = "pocket";
    ASSERT_EQ(S_OK, Query());
    EXPECT_EQ(AddressList({""}), params.dnsServers);
}

TEST_F(NetworkParamsQuery, EmptyTextsAndDuplicatesInTheChainStay)
{
    fake.dnsServers = {"", "10.0.0.53", "", "10.0.0.53"};
    ASSERT_EQ(S_OK, Query());
    EXPECT_EQ(AddressList({"", "10.0.0.53", "", "10.0.0.53"}), params.dnsServers);
}

TEST_F(NetworkParamsQuery, ReplacesAllFourFieldsWithoutMergingTheOldOnes)
{
    params = {"old-host", "old.domain", 4, {"1.1.1.1", "2.2.2.2", "3.3.3.3"}};
    fake.dnsServers = {"10.0.0.53"};
    ASSERT_EQ(S_OK, Query());
    EXPECT_EQ(NetworkParams({"", "", 0, {"10.0.0.53"}}), params);
}

TEST_F(NetworkParamsQuery, LongHostNameIsCopiedWhole)
{
    fake.hostName = Pattern(100);
    fake.domainName = Pattern(128);
    ASSERT_EQ(S_OK, Query());
    EXPECT_EQ(Pattern(100), params.hostName);
    EXPECT_EQ(Pattern(128), params.domainName);
}

// HostName and DomainName are 132 bytes; a platform that fills them to the
// end gives texts of 132 characters and nothing from beyond.
TEST_F(NetworkParamsQuery, UnterminatedNamesEndAtTheirFields)
{
    fake.hostName = Pattern(200);
    fake.domainName = std::string(140, 'd');
    ASSERT_EQ(S_OK, Query());
    EXPECT_EQ(Pattern(132), params.hostName);
    EXPECT_EQ(std::string(132, 'd'), params.domainName);
}

} // namespace
