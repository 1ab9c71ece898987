// The probe-allocate-fill protocol that every variable-size query shares:
// each way it can fail, for each query, gives its code, allocates what it
// should and leaves the caller's data exactly as it was.
#include "FakeIpHelper.h"
#include "NetinfoTestSupport.h"
#include "netinfo/NetworkInfo.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

using namespace netinfo;

namespace {

void ScriptNetwork(FakeIpHelper& fake)
{
    fake.hostName = "pocket";
    fake.domainName = "corp.example";
    fake.nodeType = 8;
    fake.dnsServers = {"10.0.0.53"};
    fake.adapters = {{.index = 2,
                      .name = "CISCO1",
                      .description = "Wireless LAN",
                      .ipAddresses = {"10.0.0.5"},
                      .autoconfigEnabled = 1,
                      .dnsServers = {"10.0.0.53"}}};
    fake.interfaces = {{.index = 2, .name = L"CISCO1", .row = {.dwSpeed = 11000000}}};
}

// One query: how to reach its platform function's answers on the fake, and
// how to run it over a target that already holds data. `run` reports whether
// the target is still as it was.
struct Query {
    const char* name;
    FakeSizedCall& (*call)(FakeIpHelper&);
    int (*platformCalls)(const FakeCallCounts&);
    DWORD otherOverflowAnswer; // the overflow answer of the other probe kind
    HRESULT (*run)(bool& unchanged);
    std::size_t blocksOnSuccess; // QueryAdapters also runs one per-adapter query per adapter
};

HRESULT RunQueryNetworkParams(bool& unchanged)
{
    const NetworkParams before{"old-host", "old.domain", 4, {"1.1.1.1", "2.2.2.2"}};
    NetworkParams params = before;
    const HRESULT hr = NetworkInfo().QueryNetworkParams(params);
    unchanged = params == before;
    return hr;
}

AdapterRecord OldAdapter()
{
    AdapterRecord old;
    old.index = 9;
    old.name = "old";
    old.ipAddresses = {"192.168.1.9"};
    old.perAdapter = {1, 1, {"9.9.9.9"}};
    return old;
}

HRESULT RunQueryAdapters(bool& unchanged)
{
    const AdapterList before{OldAdapter()};
    AdapterList adapters = before;
    const HRESULT hr = NetworkInfo().QueryAdapters(adapters);
    unchanged = adapters == before;
    return hr;
}

HRESULT RunQueryPerAdapterInfo(bool& unchanged)
{
    AdapterRecord before = OldAdapter();
    before.index = 2; // the fake's adapter
    AdapterRecord adapter = before;
    const HRESULT hr = NetworkInfo().QueryPerAdapterInfo(adapter);
    unchanged = adapter == before;
    return hr;
}

InterfaceRecord OldInterface()
{
    InterfaceRecord old;
    old.index = 2;
    old.name = L"old";
    old.row.dwIndex = 2;
    old.row.dwInOctets = 77;
    return old;
}

HRESULT RunQueryInterfaces(bool& unchanged)
{
    const InterfaceList before{OldInterface()};
    InterfaceList interfaces = before;
    const HRESULT hr = NetworkInfo().QueryInterfaces(interfaces);
    unchanged = SameInterfaces(interfaces, before);
    return hr;
}

HRESULT RunFindInterface(bool& unchanged)
{
    const InterfaceRecord before = OldInterface();
    InterfaceRecord found = before;
    const HRESULT hr = NetworkInfo().FindInterface(2, found);
    unchanged = SameInterface(found, before);
    return hr;
}

const Query kQueries[] = {
    {"QueryNetworkParams", [](FakeIpHelper& f) -> FakeSizedCall& { return f.networkParamsCall; },
     [](const FakeCallCounts& c) { return c.getNetworkParams; }, ERROR_INSUFFICIENT_BUFFER, RunQueryNetworkParams, 1},
    {"QueryAdapters", [](FakeIpHelper& f) -> FakeSizedCall& { return f.adaptersInfoCall; },
     [](const FakeCallCounts& c) { return c.getAdaptersInfo; }, ERROR_INSUFFICIENT_BUFFER, RunQueryAdapters, 2},
    {"QueryPerAdapterInfo", [](FakeIpHelper& f) -> FakeSizedCall& { return f.adapters[0].perAdapterCall; },
     [](const FakeCallCounts& c) { return c.getPerAdapterInfo; }, ERROR_INSUFFICIENT_BUFFER, RunQueryPerAdapterInfo, 1},
    {"QueryInterfaces", [](FakeIpHelper& f) -> FakeSizedCall& { return f.interfaceInfoCall; },
     [](const FakeCallCounts& c) { return c.getInterfaceInfo; }, ERROR_BUFFER_OVERFLOW, RunQueryInterfaces, 1},
    {"FindInterface", [](FakeIpHelper& f) -> FakeSizedCall& { return f.interfaceInfoCall; },
     [](const FakeCallCounts& c) { return c.getInterfaceInfo; }, ERROR_BUFFER_OVERFLOW, RunFindInterface, 1},
};

void PrintTo(const Query& query, std::ostream* out)
{
    *out << query.name;
}

class EachQuery : public testing::TestWithParam<Query> {
protected:
    FakeIpHelper fake;
    void SetUp() override { ScriptNetwork(fake); }
};

std::string QueryName(const testing::TestParamInfo<Query>& info)
{
    return info.param.name;
}

// The control for every case below: with a working platform the query
// replaces the data, so "unchanged" there means something.
TEST_P(EachQuery, WorkingPlatformChangesTheDataWithOneBlockOfTheProbedSize)
{
    bool unchanged = true;
    EXPECT_EQ(S_OK, GetParam().run(unchanged));
    EXPECT_FALSE(unchanged);
    EXPECT_EQ(2, GetParam().platformCalls(fake.calls()));
    ASSERT_EQ(GetParam().blocksOnSuccess, fake.allocations().size());
    for (const FakeAllocation& block : fake.allocations())
        EXPECT_EQ(static_cast<UINT>(LPTR), block.flags);
    EXPECT_EQ(0u, fake.liveAllocations());
    EXPECT_EQ(0, fake.foreignFrees());
}

TEST_P(EachQuery, GrantedBlockIsExactlyTheProbedSize)
{
    GetParam().call(fake).probeSize = 4096; // more than the data needs
    bool unchanged = true;
    EXPECT_EQ(S_OK, GetParam().run(unchanged));
    ASSERT_FALSE(fake.allocations().empty());
    EXPECT_EQ(4096u, fake.allocations()[0].bytes);
}

TEST_P(EachQuery, WrongProbeAnswerIsUnexpectedAndAllocatesNothing)
{
    for (DWORD answer : {static_cast<DWORD>(NO_ERROR), static_cast<DWORD>(ERROR_NOT_SUPPORTED),
                         static_cast<DWORD>(ERROR_NO_DATA), GetParam().otherOverflowAnswer,
                         static_cast<DWORD>(ERROR_INVALID_PARAMETER)}) {
        SCOPED_TRACE(testing::Message() << "probe answer " << answer);
        fake.ResetCounts();
        GetParam().call(fake).probeAnswer = answer;
        GetParam().call(fake).probeSize = 512; // a size does not make a wrong answer right
        bool unchanged = false;
        EXPECT_EQ(E_UNEXPECTED, GetParam().run(unchanged));
        EXPECT_TRUE(unchanged);
        EXPECT_EQ(1, GetParam().platformCalls(fake.calls()));
        EXPECT_TRUE(fake.allocations().empty());
    }
}

TEST_P(EachQuery, FailedAllocationIsOutOfMemoryAndMakesNoSecondCall)
{
    GetParam().call(fake).probeSize = 0xFFFFFFFFu;
    bool unchanged = false;
    EXPECT_EQ(E_OUTOFMEMORY, GetParam().run(unchanged));
    EXPECT_TRUE(unchanged);
    EXPECT_EQ(1, GetParam().platformCalls(fake.calls()));
    ASSERT_EQ(1u, fake.allocations().size());
    EXPECT_EQ(0xFFFFFFFFu, fake.allocations()[0].bytes);
    EXPECT_FALSE(fake.allocations()[0].granted);
    EXPECT_EQ(0, fake.frees());
}

TEST_P(EachQuery, FailedSecondCallIsFailAndFreesTheBlock)
{
    GetParam().call(fake).fillAnswer = ERROR_INVALID_DATA;
    bool unchanged = false;
    EXPECT_EQ(E_FAIL, GetParam().run(unchanged));
    EXPECT_TRUE(unchanged);
    EXPECT_EQ(2, GetParam().platformCalls(fake.calls()));
    EXPECT_EQ(1u, fake.allocations().size());
    EXPECT_EQ(1, fake.frees());
    EXPECT_EQ(0u, fake.liveAllocations());
}

// Data that grew between probe and fill makes the second call overflow;
// there is no second probe and no retry.
TEST_P(EachQuery, DataThatGrewAfterTheProbeIsFailWithoutRetry)
{
    GetParam().call(fake).probeSize = 8;
    bool unchanged = false;
    EXPECT_EQ(E_FAIL, GetParam().run(unchanged));
    EXPECT_TRUE(unchanged);
    EXPECT_EQ(2, GetParam().platformCalls(fake.calls()));
    EXPECT_EQ(1u, fake.allocations().size());
    EXPECT_EQ(0u, fake.liveAllocations());
}

INSTANTIATE_TEST_SUITE_P(SizingProtocol, EachQuery, testing::ValuesIn(kQueries), QueryName);

} // namespace
