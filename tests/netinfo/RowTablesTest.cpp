// The name/value row tables of the protocol statistics and of an
// interface's status, checked label by label against literal lists written
// out here, and against values that tell every field apart.
#include "FakeIpHelper.h"
#include "netinfo/InterfaceStatus.h"
#include "netinfo/NameValueRow.h"
#include "netinfo/ProtocolStatistics.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace netinfo;

namespace {

const std::vector<std::wstring> kTcpLabels = {
    L"Timeout algorithm", L"minimum time-out", L"maximum time-out", L"maximum connections",
    L"active opens", L"passive opens", L"failed attempts", L"established connections reset",
    L"established connections", L"segments received", L"segment sent", L"segments retransmitted",
    L"incoming errors", L"outgoing resets", L"cumulative connections"};

const std::vector<std::wstring> kIpLabels = {
    L"IP forwarding enabled or disabled", L"default time-to-live", L"datagrams received",
    L"received header errors", L"received address errors", L"datagrams forwarded",
    L"datagrams with unknown protocol", L"received datagrams discarded", L"received datagrams delivered",
    L"outgoing datagrams", L"discarded outgoing datagrams", L"sent datagrams discarded",
    L"datagrams for which no route", L"datagrams for which all frags didn't arrive",
    L"datagrams requiring reassembly", L"successful reassemblies", L"failed reassemblies",
    L"successful fragmentations", L"failed fragmentations", L"datagrams fragmented",
    L"number of interfaces on computer", L"number of IP address on computer",
    L"number of routes in routing table"};

const std::vector<std::wstring> kUdpLabels = {
    L"received datagrams", L"datagrams for which no port", L"errors on received datagrams", L"sent datagrams",
    L"number of entries in UDP listener table"};

const std::vector<std::wstring> kIcmpLabels = {
    L"number of messages", L"number of errors", L"destination unreachable messages",
    L"time-to-live exceeded messages", L"parameter problem messages", L"source quench messages",
    L"redirection messages", L"echo requests", L"echo replies", L"time-stamp requests",
    L"time-stamp replies", L"address mask requests", L"address mask replies"};

// Each statistics table takes every field of its structure in the
// structure's own order, and every field is a DWORD: field i gets base - i.
template <typename Stats>
Stats Numbered(DWORD base)
{
    static_assert(sizeof(Stats) % sizeof(DWORD) == 0);
    DWORD values[sizeof(Stats) / sizeof(DWORD)];
    for (std::size_t i = 0; i < std::size(values); ++i)
        values[i] = base - static_cast<DWORD>(i);
    Stats stats;
    std::memcpy(&stats, values, sizeof stats);
    return stats;
}

const NameValueList kEarlierRows = {{L"earlier", L"1"}, {L"rows", L"2"}};

// The list holds the earlier rows, then one row per label with the value
// base - i.
void ExpectRowsAfterEarlierOnes(const NameValueList& list, const std::vector<std::wstring>& labels, DWORD base)
{
    ASSERT_EQ(kEarlierRows.size() + labels.size(), list.size());
    EXPECT_EQ(kEarlierRows, NameValueList(list.begin(), list.begin() + 2));
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const NameValueRow& row = list[kEarlierRows.size() + i];
        EXPECT_EQ(labels[i], row.name) << "row " << i;
        EXPECT_EQ(std::to_wstring(base - i), row.value) << "row " << i;
    }
}

TEST(MakeCounterRow, PlainUnsignedDecimal)
{
    EXPECT_EQ(NameValueRow({L"zero", L"0"}), MakeCounterRow(L"zero", 0));
    EXPECT_EQ(NameValueRow({L"max", L"4294967295"}), MakeCounterRow(L"max", 4294967295u));
    EXPECT_EQ(NameValueRow({L"sign bit", L"2147483648"}), MakeCounterRow(L"sign bit", 0x80000000u));
    EXPECT_EQ(NameValueRow({L"", L"1234567"}), MakeCounterRow(L"", 1234567));
}

class StatisticsTables : public testing::Test {
protected:
    FakeIpHelper fake;
    ProtocolStatistics statistics;
    NameValueList list = kEarlierRows;
};

TEST_F(StatisticsTables, Tcp)
{
    fake.tcp = Numbered<MIB_TCPSTATS>(4294967295u);
    ASSERT_EQ(S_OK, statistics.ReadTcpStatistics(list));
    ExpectRowsAfterEarlierOnes(list, kTcpLabels, 4294967295u);
    EXPECT_EQ(1, fake.calls().getTcpStatistics);
}

TEST_F(StatisticsTables, Ip)
{
    fake.ip = Numbered<MIB_IPSTATS>(3000000000u);
    ASSERT_EQ(S_OK, statistics.ReadIpStatistics(list));
    ExpectRowsAfterEarlierOnes(list, kIpLabels, 3000000000u);
}

TEST_F(StatisticsTables, Udp)
{
    fake.udp = Numbered<MIB_UDPSTATS>(50);
    ASSERT_EQ(S_OK, statistics.ReadUdpStatistics(list));
    ExpectRowsAfterEarlierOnes(list, kUdpLabels, 50);
}

TEST_F(StatisticsTables, IcmpInAndOutShareLabelsAndShowTheirOwnHalf)
{
    // MIB_ICMP is the incoming counters followed by the outgoing ones.
    fake.icmp = Numbered<MIB_ICMP>(1000);
    ASSERT_EQ(S_OK, statistics.ReadIcmpInStatistics(list));
    ExpectRowsAfterEarlierOnes(list, kIcmpLabels, 1000);
    EXPECT_EQ(1, fake.calls().getIcmpStatistics);

    NameValueList out = kEarlierRows;
    ASSERT_EQ(S_OK, statistics.ReadIcmpOutStatistics(out));
    ExpectRowsAfterEarlierOnes(out, kIcmpLabels, 1000 - 13);
    EXPECT_EQ(2, fake.calls().getIcmpStatistics);
}

TEST_F(StatisticsTables, AppendIcmpRowsNeedsNoPlatform)
{
    AppendIcmpRows(list, Numbered<MIBICMPSTATS>(13));
    ExpectRowsAfterEarlierOnes(list, kIcmpLabels, 13);
    EXPECT_EQ(0, fake.calls().getIcmpStatistics);
}

TEST_F(StatisticsTables, ZeroCountersShowZero)
{
    ASSERT_EQ(S_OK, statistics.ReadUdpStatistics(list));
    ASSERT_EQ(kEarlierRows.size() + 5, list.size());
    for (std::size_t i = kEarlierRows.size(); i < list.size(); ++i)
        EXPECT_EQ(L"0", list[i].value);
}

// A failed read appends nothing, also to a list that held rows; the
// platform's own code is not passed on.
TEST_F(StatisticsTables, FailedPlatformCallIsFailAndLeavesTheList)
{
    fake.tcpAnswer = ERROR_NOT_SUPPORTED;
    fake.ipAnswer = ERROR_INVALID_PARAMETER;
    fake.udpAnswer = ERROR_NO_DATA;
    fake.icmpAnswer = ERROR_NOT_SUPPORTED;
    fake.tcp = Numbered<MIB_TCPSTATS>(9);
    using Read = HRESULT (ProtocolStatistics::*)(NameValueList&) const;
    for (Read read : {&ProtocolStatistics::ReadTcpStatistics, &ProtocolStatistics::ReadIpStatistics,
                      &ProtocolStatistics::ReadUdpStatistics, &ProtocolStatistics::ReadIcmpInStatistics,
                      &ProtocolStatistics::ReadIcmpOutStatistics}) {
        EXPECT_EQ(E_FAIL, (statistics.*read)(list));
        EXPECT_EQ(kEarlierRows, list);
    }
    NameValueList empty;
    EXPECT_EQ(E_FAIL, statistics.ReadTcpStatistics(empty));
    EXPECT_TRUE(empty.empty());
}

TEST(InterfaceStatusRows, FourteenRowsOutgoingBeforeIncomingWithErrorsUnderTheNamesWithoutAll)
{
    InterfaceRecord record;
    record.index = 4;
    record.name = L"ignored";
    MIB_IFROW& row = record.row;
    row.dwIndex = 4;
    row.dwType = 6;
    row.dwMtu = 1500;
    row.dwOperStatus = 5;
    row.dwLastChange = 99;
    row.dwAdminStatus = 1;
    row.dwSpeed = 4294967295u;
    row.dwInOctets = 1001;
    row.dwInUcastPkts = 1002;
    row.dwInNUcastPkts = 1003;
    row.dwInDiscards = 1004;
    row.dwInErrors = 1005;
    row.dwInUnknownProtos = 1006;
    row.dwOutOctets = 2001;
    row.dwOutUcastPkts = 2002;
    row.dwOutNUcastPkts = 2003;
    row.dwOutDiscards = 2004;
    row.dwOutErrors = 2005;
    row.dwOutQLen = 2006;

    NameValueList list = kEarlierRows;
    EXPECT_EQ(S_OK, AppendInterfaceStatusRows(record, list));
    const NameValueList expected = {
        {L"earlier", L"1"},
        {L"rows", L"2"},
        {L"admin status", L"1"},
        {L"adapter speed bit/s", L"4294967295"},
        {L"outgoing octets", L"2001"},
        {L"incoming octets", L"1001"},
        {L"outgoing unicast packets", L"2002"},
        {L"incoming unicast packets", L"1002"},
        {L"outgoing non-unicast packets", L"2003"},
        {L"incoming non-unicast packets", L"1003"},
        {L"discarded outgoing packets all", L"2004"},
        {L"discarded outgoing packets", L"2005"},
        {L"discarded incoming packets all", L"1004"},
        {L"discarded incoming packets", L"1005"},
        {L"unknown protos", L"1006"},
        {L"output queue length", L"2006"},
    };
    EXPECT_EQ(expected, list);
}

TEST(InterfaceStatusRows, RowThePlatformLeftZeroShowsFourteenZeros)
{
    InterfaceRecord record;
    NameValueList list;
    EXPECT_EQ(S_OK, AppendInterfaceStatusRows(record, list));
    ASSERT_EQ(14u, list.size());
    EXPECT_EQ(L"admin status", list.front().name);
    EXPECT_EQ(L"output queue length", list.back().name);
    for (const NameValueRow& row : list)
        EXPECT_EQ(L"0", row.value) << row.name;
}

} // namespace
