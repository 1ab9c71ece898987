// The interface list and the search for one interface by index.
#include "FakeIpHelper.h"
#include "NetinfoTestSupport.h"
#include "netinfo/NetworkInfo.h"

#include <gtest/gtest.h>

using namespace netinfo;

namespace {

MIB_IFROW Counters(DWORD seed)
{
    MIB_IFROW row{};
    row.dwType = MIB_IF_TYPE_ETHERNET;
    row.dwSpeed = 11000000;
    row.dwAdminStatus = 1;
    row.dwInOctets = seed;
    row.dwOutOctets = seed + 1;
    row.dwOutQLen = seed + 2;
    return row;
}

class InterfaceQuery : public testing::Test {
protected:
    FakeIpHelper fake;
    InterfaceList interfaces;
    HRESULT Query() { return NetworkInfo().QueryInterfaces(interfaces); }
};

TEST_F(InterfaceQuery, OneRecordPerEntryInOrderWithItsRow)
{
    fake.interfaces = {{.index = 4, .name = L"\\DEVICE\\TCPIP_CISCO1", .row = Counters(100)},
                       {.index = 2, .name = L"PPP_PEER", .row = Counters(200)}};
    ASSERT_EQ(S_OK, Query());
    ASSERT_EQ(2u, interfaces.size());
    EXPECT_EQ(4u, interfaces[0].index);
    EXPECT_EQ(L"\\DEVICE\\TCPIP_CISCO1", interfaces[0].name);
    EXPECT_EQ(4u, interfaces[0].row.dwIndex);
    EXPECT_EQ(100u, interfaces[0].row.dwInOctets);
    EXPECT_EQ(102u, interfaces[0].row.dwOutQLen);
    EXPECT_EQ(2u, interfaces[1].index);
    EXPECT_EQ(L"PPP_PEER", interfaces[1].name);
    EXPECT_EQ(2u, interfaces[1].row.dwIndex);
    EXPECT_EQ(201u, interfaces[1].row.dwOutOctets);
    EXPECT_EQ(2, fake.calls().getIfEntry);
}

TEST_F(InterfaceQuery, NewRecordsFollowTheOnesTheArrayHeld)
{
    InterfaceRecord old;
    old.index = 9;
    old.name = L"old";
    old.row.dwInOctets = 5;
    interfaces = {old};
    fake.interfaces = {{.index = 4, .name = L"new", .row = Counters(100)}};
    ASSERT_EQ(S_OK, Query());
    ASSERT_EQ(2u, interfaces.size());
    EXPECT_TRUE(SameInterface(old, interfaces[0]));
    EXPECT_EQ(L"new", interfaces[1].name);
}

TEST_F(InterfaceQuery, FailedGetIfEntryLeavesAZeroRowWithItsIndexAndTheListGoesOn)
{
    fake.interfaces = {{.index = 4, .name = L"dead", .row = Counters(100), .ifEntryAnswer = ERROR_INVALID_DATA},
                       {.index = 5, .name = L"alive", .row = Counters(300)}};
    ASSERT_EQ(S_OK, Query());
    ASSERT_EQ(2u, interfaces.size());
    MIB_IFROW zero{};
    zero.dwIndex = 4;
    EXPECT_EQ(0, std::memcmp(&zero, &interfaces[0].row, sizeof zero));
    EXPECT_EQ(300u, interfaces[1].row.dwInOctets);
}

TEST_F(InterfaceQuery, NoPositiveCountGivesNoRecords)
{
    for (LONG count : {0L, -1L, LONG(0x80000000)}) {
        fake.interfaces = {{.index = 4, .name = L"there", .row = Counters(1)}};
        fake.numAdapters = count;
        interfaces.clear();
        EXPECT_EQ(S_OK, Query()) << count;
        EXPECT_TRUE(interfaces.empty()) << count;
    }
}

// NumAdapters is believed only as far as the returned buffer reaches.
TEST_F(InterfaceQuery, OversizedCountReadsOnlyTheEntriesTheBufferHolds)
{
    fake.interfaces = {{.index = 4, .name = L"one", .row = Counters(1)},
                       {.index = 5, .name = L"two", .row = Counters(2)}};
    fake.numAdapters = 100000;
    ASSERT_EQ(S_OK, Query());
    ASSERT_EQ(2u, interfaces.size());
    EXPECT_EQ(L"two", interfaces[1].name);
}

// Name is 128 wide characters; a full field ends there.
TEST_F(InterfaceQuery, UnterminatedWideNameEndsAtItsField)
{
    fake.interfaces = {{.index = 4, .name = WidePattern(200), .row = Counters(1)}};
    ASSERT_EQ(S_OK, Query());
    ASSERT_EQ(1u, interfaces.size());
    EXPECT_EQ(WidePattern(128), interfaces[0].name);
}

class FindInterfaceQuery : public testing::Test {
protected:
    FakeIpHelper fake;
    InterfaceRecord found = [] {
        InterfaceRecord old;
        old.index = 77;
        old.name = L"untouched";
        old.row.dwInOctets = 77;
        return old;
    }();
    const InterfaceRecord before = found;
};

TEST_F(FindInterfaceQuery, CopiesTheWholeRecordOfTheMatchingIndex)
{
    fake.interfaces = {{.index = 4, .name = L"four", .row = Counters(40)},
                       {.index = 5, .name = L"five", .row = Counters(50)}};
    ASSERT_EQ(S_OK, NetworkInfo().FindInterface(5, found));
    InterfaceRecord expected;
    expected.index = 5;
    expected.name = L"five";
    expected.row = Counters(50);
    expected.row.dwIndex = 5;
    EXPECT_TRUE(SameInterface(expected, found));
}

TEST_F(FindInterfaceQuery, SharedIndexGivesTheFirstInPlatformOrder)
{
    fake.interfaces = {{.index = 3, .name = L"other", .row = Counters(1)},
                       {.index = 5, .name = L"first", .row = Counters(2)},
                       {.index = 5, .name = L"second", .row = Counters(3)}};
    ASSERT_EQ(S_OK, NetworkInfo().FindInterface(5, found));
    EXPECT_EQ(L"first", found.name);
}

TEST_F(FindInterfaceQuery, MissingIndexIsInvalidArgAndLeavesTheRecord)
{
    fake.interfaces = {{.index = 4, .name = L"four", .row = Counters(40)}};
    EXPECT_EQ(E_INVALIDARG, NetworkInfo().FindInterface(5, found));
    EXPECT_TRUE(SameInterface(before, found));
}

TEST_F(FindInterfaceQuery, NoInterfaceAtAllIsInvalidArg)
{
    EXPECT_EQ(E_INVALIDARG, NetworkInfo().FindInterface(0, found));
    EXPECT_TRUE(SameInterface(before, found));
}

TEST_F(FindInterfaceQuery, AsksThePlatformAgainOnEveryCall)
{
    fake.interfaces = {{.index = 4, .name = L"four", .row = Counters(40)}};
    ASSERT_EQ(S_OK, NetworkInfo().FindInterface(4, found));
    fake.interfaces[0].row.dwInOctets = 41;
    ASSERT_EQ(S_OK, NetworkInfo().FindInterface(4, found));
    EXPECT_EQ(41u, found.row.dwInOctets);
    EXPECT_EQ(4, fake.calls().getInterfaceInfo);
}

} // namespace
